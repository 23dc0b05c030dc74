// Guards the two ways out of the program: each sends the device exactly one
// end-of-connection frame (command 0) and closes the port, whether the unit
// answers, is missing, or is in the middle of a connection; the new-unit
// entry turns "Sair da Aplicação" into its cancel. A unit left in maintenance
// mode (no frame), a double frame, or a program that never ends is the fault.

#include "bancada.h"
#include "oficina.h"
#include "shutdown.h"

#include <QElapsedTimer>
#include <QTest>

using namespace vx;

namespace {

struct Saida
{
    Bancada b;
    Pedidos pedidos{b.link};
    int cancelados = 0;
    Shutdown saida{b.edit, b.link, b.motor, b.fim, [this] { ++cancelados; }};
};

} // namespace

class TstShutdown : public QObject
{
    Q_OBJECT

private slots:
    void caminhos_data()
    {
        QTest::addColumn<bool>("fecharJanela");
        QTest::addColumn<bool>("responde");
        QTest::addColumn<bool>("ligado");
        QTest::newRow("sair, parado") << false << true << false;
        QTest::newRow("sair, sem unidade") << false << false << false;
        QTest::newRow("sair, ligado") << false << true << true;
        QTest::newRow("fechar, parado") << true << true << false;
        QTest::newRow("fechar, sem unidade") << true << false << false;
        QTest::newRow("fechar, ligado") << true << true << true;
    }
    void caminhos()
    {
        QFETCH(bool, fecharJanela);
        QFETCH(bool, responde);
        QFETCH(bool, ligado);
        Saida s;
        if (ligado) QVERIFY(s.b.lerTudo());
        if (!responde) s.b.porta.faults().faults = emu::Fault::NoReply;
        s.pedidos.comandos.clear();
        QElapsedTimer t;
        t.start();
        if (fecharJanela)
            s.saida.fecharJanela();
        else
            s.saida.sairAplicacao();
        QVERIFY(s.b.fim.ended());
        QCOMPARE(s.b.fim.calls, 1);
        QCOMPARE(s.pedidos.de(0), 1);
        QVERIFY(!s.b.porta.isOpen());
        QVERIFY(s.b.mensagens.messages.empty());
        // The pause: 1000 or 2000 nominal milliseconds, at 2 %. During a
        // connection a tick may reach its exit tail first and end it sooner.
        if (!ligado) QVERIFY(t.elapsed() >= (fecharJanela ? 40 : 20) - 2);
        if (responde) QCOMPARE(s.b.device().count(0), 1);
    }

    void sair_levanta_o_pedido_antes_da_pausa()
    {
        Saida s;
        bool pedidoNaPausa = false;
        QTimer::singleShot(Timebase::toReal(500), [&] { pedidoNaPausa = s.b.link.sair_pedido; });
        s.saida.sairAplicacao();
        QVERIFY(pedidoNaPausa);
    }

    void fechar_para_o_motor_antes_da_pausa()
    {
        Saida s;
        QVERIFY(s.b.lerTudo());
        bool motorNaPausa = true, pedidoNaPausa = true;
        QTimer::singleShot(Timebase::toReal(1000), [&] {
            motorNaPausa = s.b.motor.activo();
            pedidoNaPausa = s.b.link.sair_pedido;
        });
        s.pedidos.comandos.clear();
        s.saida.fecharJanela();
        QVERIFY(!motorNaPausa);
        QVERIFY(!pedidoNaPausa);
        QCOMPARE(s.pedidos.de(0), 1);
        // No tick ran during the pause: nothing but the closing frame left.
        QCOMPARE(s.pedidos.comandos, QList<int>{0});
    }

    void sair_a_meio_de_uma_transaccao()
    {
        Saida s;
        QVERIFY(s.b.lerTudo());
        // The next request of the engine is left waiting for its answer, and
        // "Sair da Aplicação" is pressed while it waits.
        s.b.porta.faults().delayMs = 400;
        s.pedidos.comandos.clear();
        bool premido = false;
        QObject::connect(&s.b.link, &Link::pedidoEnviado, [&] {
            if (!premido) {
                premido = true;
                QTimer::singleShot(0, [&] { s.saida.sairAplicacao(); });
            }
        });
        QVERIFY(aguardar([&] { return s.b.fim.ended(); }));
        QCOMPARE(s.pedidos.de(0), 1);
        QCOMPARE(s.b.fim.calls, 1);
    }

    void segundo_pedido_durante_a_pausa_e_ignorado()
    {
        Saida s;
        QTimer::singleShot(Timebase::toReal(300), [&] {
            QVERIFY(s.saida.emCurso());
            s.saida.fecharJanela();
        });
        s.saida.sairAplicacao();
        QCOMPARE(s.pedidos.de(0), 1);
        QCOMPARE(s.b.fim.calls, 1);
    }

    void porta_que_nao_abre_acaba_logo()
    {
        Saida s;
        s.b.porta.setMissing(1);
        QElapsedTimer t;
        t.start();
        s.saida.sairAplicacao();
        QVERIFY(s.b.fim.ended());
        QCOMPARE(s.pedidos.comandos.size(), 0);
        QVERIFY(s.b.mensagens.messages.empty());
        QVERIFY(t.elapsed() < Timebase::toReal(1000));
    }

    void na_entrada_de_unidade_nova_e_cancelar()
    {
        Saida s;
        s.b.edit.sessao.modo = 1;
        s.saida.sairAplicacao();
        QCOMPARE(s.cancelados, 1);
        QVERIFY(!s.b.fim.ended());
        QCOMPARE(s.pedidos.comandos.size(), 0);
        QVERIFY(!s.b.link.sair_pedido);
        // Closing the window ends the program even then.
        s.saida.fecharJanela();
        QVERIFY(s.b.fim.ended());
        QCOMPARE(s.pedidos.de(0), 1);
    }

    // Through the window: the button and the close box.
    void pela_janela_data()
    {
        QTest::addColumn<bool>("fecharJanela");
        QTest::newRow("Sair da Aplicação") << false;
        QTest::newRow("fechar a janela") << true;
    }
    void pela_janela()
    {
        QFETCH(bool, fecharJanela);
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        QVERIFY(o.ler());
        Pedidos p(o.app->link());
        if (fecharJanela)
            o.janela().close();
        else
            o.clicar("Command_sair");
        QVERIFY(o.fim.ended());
        QCOMPARE(o.fim.calls, 1);
        QCOMPARE(p.de(0), 1);
        QVERIFY(!o.porta.isOpen());
    }
};

QTEST_MAIN(TstShutdown)
#include "tst_shutdown.moc"
