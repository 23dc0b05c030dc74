// vx308-maint: the VX308 maintenance tool. See --help.

#include "aplicacao.h"
#include "clock.h"
#include "eventwait.h"
#include "leituraautomatica.h"
#include "messages.h"
#include "opcoes.h"
#include "programend.h"
#include "qtreportprinter.h"
#include "qtserialport.h"
#include "sqliterecordstore.h"

#ifdef VX_HAVE_EMULATOR
#include "ptyserver.h"
#endif

#include <QApplication>
#include <QStyleFactory>
#include <cstdio>
#include <memory>

namespace {

void dizer(const QString &texto)
{
    std::fprintf(stderr, "vx308-maint: %s\n", texto.toLocal8Bit().constData());
    std::fflush(stderr);
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

    vx::PortMap mapa;
    for (const QString &c : opcoes->com)
        mapa.parse(c);
#ifdef VX_HAVE_EMULATOR
    std::unique_ptr<vx::emu::PtyServer> demo;
    if (opcoes->demo) {
        demo = std::make_unique<vx::emu::PtyServer>();
        if (!demo->start()) {
            dizer(QStringLiteral("the demo device cannot start: %1").arg(demo->errorText()));
            return 1;
        }
        for (int n = 1; n <= 4; ++n)
            mapa.set(n, demo->slavePath());
        dizer(QStringLiteral("demo device on %1").arg(demo->slavePath()));
    }
#else
    if (opcoes->demo) {
        dizer(QStringLiteral("this build has no demo device"));
        return 2;
    }
#endif

    vx::QtSerialPort porta(mapa);
    vx::SqliteRecordStore store;
    vx::DialogMessages mensagens;
    vx::StderrMessages mensagensConsola;
    vx::ProcessExit fim;
    vx::SystemClock relogio;
    vx::QtReportPrinter impressora;
    // Unattended, a message box would wait for a click that never comes.
    vx::MessageSink &sink =
        opcoes->autotestLer ? static_cast<vx::MessageSink &>(mensagensConsola) : mensagens;

    vx::Aplicacao aplicacao(*opcoes, {porta, store, sink, fim, relogio, impressora});
    std::unique_ptr<vx::LeituraAutomatica> auto_;
    if (opcoes->autotestLer)
        auto_ = std::make_unique<vx::LeituraAutomatica>(aplicacao.splash(), aplicacao.janela(),
                                                        aplicacao.edit(), aplicacao.engine(),
                                                        aplicacao.saida());
    if (auto_ && !opcoes->captura.isEmpty()) auto_->setCaptura(opcoes->captura);
    if (!aplicacao.iniciar()) return 1;
    return app.exec();
}
