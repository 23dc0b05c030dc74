// vx308-maint: the VX308 maintenance tool. See --help.

#include "aplicacao.h"
#include "clock.h"
#include "dialogmessages.h"
#include "emulatorprocess.h"
#include "eventwait.h"
#include "leituraautomatica.h"
#include "messages.h"
#include "opcoes.h"
#include "programend.h"
#include "qtreportprinter.h"
#include "qtserialport.h"
#include "sqliterecordstore.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <cstdio>
#include <memory>

namespace {

void dizer(const QString &texto)
{
    std::fprintf(stderr, "vx308-maint: %s\n", texto.toLocal8Bit().constData());
    std::fflush(stderr);
}

// --demo: the emulator program on a pseudo-terminal, reached on every port as
// a timer on a USB adapter would be. False with the reason in *error.
bool startDemoDevice(vx::EmulatorProcess &emulator, vx::PortMap &map, QString *error)
{
    const QStringList searchPath =
        qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    // The in-window demo has always answered at once: no line pacing.
    if (!emulator.start(QApplication::applicationDirPath(), searchPath,
                        {QStringLiteral("--no-pace")})) {
        *error = emulator.errorText();
        return false;
    }
    for (int n = 1; n <= 4; ++n)
        map.set(n, emulator.terminalPath());
    dizer(QStringLiteral("demo device on %1: %2, process %3")
              .arg(emulator.terminalPath(), emulator.program())
              .arg(emulator.processId()));
    QObject::connect(&emulator, &vx::EmulatorProcess::endedUnexpectedly, &dizer);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vx308-maint"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QString erro;
    const auto opcoes = vx::Opcoes::analisar(QApplication::arguments(), &erro);
    if (!opcoes) {
        dizer(erro);
        dizer(QStringLiteral("try --help"));
        return 2;
    }
    if (opcoes->ajuda) {
        std::fputs(vx::Opcoes::textoAjuda().toLocal8Bit().constData(), stdout);
        return 0;
    }
    vx::Timebase::setScale(opcoes->escalaTempo);

    vx::DialogMessages mensagens;
    vx::StderrMessages mensagensConsola;
    // Unattended, a message box would wait for a click that never comes.
    vx::MessageSink &sink =
        opcoes->autotestLer ? static_cast<vx::MessageSink &>(mensagensConsola) : mensagens;

    vx::PortMap mapa;
    for (const QString &c : opcoes->com)
        mapa.parse(c);
    vx::EmulatorProcess demo;
    if (opcoes->demo && !startDemoDevice(demo, mapa, &erro)) {
        dizer(erro);
        if (!opcoes->autotestLer) sink.show(erro, {}, vx::MessageSink::Icon::Critical);
        return 1;
    }

    vx::QtSerialPort porta(mapa);
    vx::SqliteRecordStore store;
    vx::ProcessExit fim;
    // Leaving through the window ends the process where it stands, past every
    // destructor: the demo device is stopped on the way out instead.
    fim.setBeforeExit([&demo] { demo.stop(); });
    vx::SystemClock relogio;
    vx::QtReportPrinter impressora;

    const vx::Aplicacao::Setup setup{opcoes->dados, opcoes->fabrica, opcoes->ecra};
    vx::Aplicacao aplicacao(setup, {porta, store, sink, fim, relogio, impressora});
    std::unique_ptr<vx::LeituraAutomatica> auto_;
    if (opcoes->autotestLer)
        auto_ = std::make_unique<vx::LeituraAutomatica>(aplicacao.splash(), aplicacao.janela(),
                                                        aplicacao.edit(), aplicacao.engine(),
                                                        aplicacao.saida());
    if (auto_ && !opcoes->captura.isEmpty()) auto_->setCaptura(opcoes->captura);
    if (!aplicacao.iniciar()) return 1;
    return app.exec();
}
