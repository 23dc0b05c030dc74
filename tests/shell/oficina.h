#pragma once

// The whole maintenance tool on the bench, window included: the wiring of
// vx308-maint with an emulated timer inside the process, a record store in
// memory (shared between "runs" so a restart finds what the last run
// stored), recorded messages, a program end that only records, and a clock
// that stands still. Link and start-up intervals are shrunk to 2 %.

#include "aplicacao.h"
#include "bases.h"
#include "clock.h"
#include "editset.h"
#include "emulatedport.h"
#include "engine.h"
#include "eventwait.h"
#include "formmain.h"
#include "frame.h"
#include "frmsplash.h"
#include "link.h"
#include "memoryrecordstore.h"
#include "messages.h"
#include "programend.h"
#include "reportprinter.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

// Runs the event loop until cond() holds; false after `ms` of real time.
inline bool aguardar(const std::function<bool()> &cond, int ms = 20000)
{
    QElapsedTimer t;
    t.start();
    QTimer batida;
    batida.start(10);
    while (!cond()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// What stays between two runs: the data folder and the record store.
struct Arquivo
{
    QTemporaryDir dir;
    vx::MemoryRecordStore store;
};

struct Oficina
{
    explicit Oficina(Arquivo &arquivo, vx::Aplicacao::Setup setup = {},
                     vx::MessageSink *sink = nullptr)
    {
        vx::Timebase::setScale(0.02);
        porta.device().loadDefaultMemory();
        if (setup.dataFolder.isEmpty()) setup.dataFolder = arquivo.dir.path();
        if (!setup.screen.isValid()) setup.screen = QSize(1024, 768);
        app = std::make_unique<vx::Aplicacao>(
            setup, vx::Aplicacao::Plataforma{porta, arquivo.store, sink ? *sink : mensagens, fim,
                                             relogio, impressora});
    }

    vx::emu::EmulatedPort porta;
    vx::RecordingMessages mensagens;
    vx::RecordingEnd fim;
    vx::FixedClock relogio;
    vx::RecordingReportPrinter impressora;
    std::unique_ptr<vx::Aplicacao> app;

    vx::FormMain &janela() { return app->janela(); }
    vx::EditSet &edit() { return app->edit(); }
    vx::Engine &motor() { return app->engine(); }

    // Start-up through the splash until the main window is shown.
    bool arrancar()
    {
        bool pronto = false;
        QObject::connect(&app->splash(), &vx::FrmSplash::concluido, [&pronto] { pronto = true; });
        return app->iniciar() && aguardar([&] { return pronto; });
    }

    void clicar(const char *botao)
    {
        auto *b = qobject_cast<QAbstractButton *>(janela().controlo(QLatin1String(botao)));
        Q_ASSERT(b);
        b->click();
    }

    // "Lêr" on the window and wait for the read to end.
    bool ler()
    {
        bool lido = false;
        auto c = QObject::connect(&motor(), &vx::Engine::leituraTerminada, [&] { lido = true; });
        clicar("Command_ler");
        const bool ok = aguardar([&] { return lido; });
        QObject::disconnect(c);
        return ok;
    }
};

// Every request frame the link writes, by command byte.
struct Pedidos
{
    explicit Pedidos(vx::Link &link)
    {
        QObject::connect(&link, &vx::Link::pedidoEnviado, [this](const QByteArray &f) {
            comandos << (vx::hex_nibble(f.at(8)) + 16 * vx::hex_nibble(f.at(9)));
        });
    }
    int de(int comando) const { return static_cast<int>(comandos.count(comando)); }
    QList<int> comandos;
};
