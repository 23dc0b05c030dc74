// Guards the port menu and the port check at start-up: the exact messages, the
// tick and the stored number after a good and a failed choice, and that the
// port in use never drifts from the ticked one. A failed choice that left the
// tool on a port nobody ticked, a choice taken under a running connection, or
// a start-up that forgot the stored port are the faults.

#include "bases.h"
#include "editset.h"
#include "emulatedport.h"
#include "memoryrecordstore.h"
#include "messages.h"
#include "oficina.h"
#include "portchooser.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace vx;

namespace {

struct Mesa
{
    Mesa()
    {
        ok = bases.provisionar(nullptr, nullptr);
        porta.setMissing(3);
    }
    QTemporaryDir dir;
    MemoryRecordStore store;
    Bases bases{store, dir.path()};
    RecordingMessages mensagens;
    EditSet edit{mensagens};
    emu::EmulatedPort porta;
    bool motor = false;
    PortChooser escolha{edit, porta, bases, mensagens, [this] { return motor; }};
    bool ok = false;

    int comm()
    {
        int c = 0;
        bases.lerComm(&c, nullptr);
        return c;
    }
    int marcada() const
    {
        int n = 0;
        for (int k = 1; k <= 4; ++k)
            if (edit.checked(QStringLiteral("mnu_porta%1").arg(k)))
                n = n == 0 ? k : -1; // -1: more than one tick
        return n;
    }
};

} // namespace

class TstPortChooser : public QObject
{
    Q_OBJECT

private slots:
    void escolha_com_sucesso()
    {
        Mesa m;
        QVERIFY(m.ok);
        QCOMPARE(m.escolha.escolher(2), PortChooser::Resultado::Escolhida);
        QVERIFY(m.mensagens.messages.empty());
        QCOMPARE(m.marcada(), 2);
        QCOMPARE(m.comm(), 2);
        QCOMPARE(m.porta.portNumber(), 2);
        QVERIFY(!m.porta.isOpen());
        QCOMPARE(m.porta.opens(), 1);
        QCOMPARE(m.porta.closes(), 1);
    }

    void escolher_a_marcada_repete_os_passos()
    {
        Mesa m;
        QCOMPARE(m.escolha.escolher(1), PortChooser::Resultado::Escolhida);
        QCOMPARE(m.escolha.escolher(1), PortChooser::Resultado::Escolhida);
        QCOMPARE(m.porta.opens(), 2);
        QCOMPARE(m.marcada(), 1);
    }

    void porta_inexistente_data()
    {
        QTest::addColumn<int>("antes");
        QTest::newRow("de Com 1") << 1;
        QTest::newRow("de Com 4") << 4;
    }
    void porta_inexistente()
    {
        QFETCH(int, antes);
        Mesa m;
        QCOMPARE(m.escolha.escolher(antes), PortChooser::Resultado::Escolhida);
        QCOMPARE(m.escolha.escolher(3), PortChooser::Resultado::PortaFalhou);
        QCOMPARE(m.mensagens.messages.size(), size_t(1));
        const auto &msg = m.mensagens.messages.front();
        QCOMPARE(msg.text, QStringLiteral("A porta 3 não existe ou está a ser utilizada!"));
        QCOMPARE(msg.title, QStringLiteral("Mensagem de Erro!"));
        QCOMPARE(msg.icon, MessageSink::Icon::Critical);
        QCOMPARE(m.marcada(), antes);
        QCOMPARE(m.comm(), antes);
        // The port in use goes back to the ticked one.
        QCOMPARE(m.porta.portNumber(), antes);
        QVERIFY(!m.porta.isOpen());
    }

    void gravacao_falhada()
    {
        Mesa m;
        m.store.setLocked(m.bases.ficheiroValores(), true);
        QCOMPARE(m.escolha.escolher(2), PortChooser::Resultado::GravacaoFalhou);
        QCOMPARE(m.mensagens.texts(),
                 QStringList{QStringLiteral("A porta 2 não existe ou está a ser utilizada!")});
        // The tick already moved; the stored number did not.
        QCOMPARE(m.marcada(), 2);
        m.store.setLocked(m.bases.ficheiroValores(), false);
        QCOMPARE(m.comm(), 1);
    }

    void recusada_com_o_motor_a_correr()
    {
        Mesa m;
        m.motor = true;
        QVERIFY(!m.escolha.disponivel());
        QCOMPARE(m.escolha.escolher(2), PortChooser::Resultado::Recusada);
        QCOMPARE(m.porta.portNumber(), 1);
        QCOMPARE(m.porta.opens(), 0);
        QCOMPARE(m.marcada(), 1);
        QVERIFY(m.mensagens.messages.empty());
    }

    void recusada_com_a_porta_aberta()
    {
        Mesa m;
        QVERIFY(m.porta.open());
        QCOMPARE(m.escolha.escolher(2), PortChooser::Resultado::Recusada);
        QCOMPARE(m.porta.portNumber(), 1);
        QVERIFY(m.porta.isOpen());
    }

    void arranque_data()
    {
        QTest::addColumn<int>("comm");
        QTest::addColumn<int>("marcada");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("Com 2") << 2 << 2 << QString();
        QTest::newRow("Com 3 inexistente")
            << 3 << 3 << "A porta 3 não existe ou está a ser utilizada! Selecione outra porta.";
        QTest::newRow("7 fora do menu")
            << 7 << 1 << "A porta 7 não existe ou está a ser utilizada! Selecione outra porta.";
        QTest::newRow("0 recusado")
            << 0 << 1 << "A porta 0 não existe ou está a ser utilizada! Selecione outra porta.";
    }
    void arranque()
    {
        QFETCH(int, comm);
        QFETCH(int, marcada);
        QFETCH(QString, mensagem);
        Mesa m;
        m.porta.setMissing(7);
        const bool ok = m.escolha.arranque(comm);
        QCOMPARE(ok, mensagem.isEmpty());
        QCOMPARE(m.mensagens.texts(), mensagem.isEmpty() ? QStringList() : QStringList{mensagem});
        if (!mensagem.isEmpty())
            QCOMPARE(m.mensagens.messages.front().title, QStringLiteral("Mensagem de Erro!"));
        QCOMPARE(m.marcada(), marcada);
        QVERIFY(!m.porta.isOpen());
    }

    // Through the window: the stored port on restart, and the menu closed
    // while the engine runs.
    void porta_guardada_na_proxima_execucao()
    {
        Arquivo a;
        {
            Oficina o(a);
            QVERIFY(o.arrancar());
            o.janela().accao(QStringLiteral("mnu_porta2"))->trigger();
            QVERIFY(o.mensagens.messages.empty());
        }
        Oficina o(a);
        QVERIFY(o.arrancar());
        QCOMPARE(o.porta.portNumber(), 2);
        QVERIFY(o.janela().accao(QStringLiteral("mnu_porta2"))->isChecked());
        QVERIFY(!o.janela().accao(QStringLiteral("mnu_porta1"))->isChecked());
        QVERIFY(!o.porta.isOpen());
    }

    void falha_na_janela_deixa_a_marca()
    {
        Arquivo a;
        Oficina o(a);
        o.porta.setMissing(4);
        QVERIFY(o.arrancar());
        QAction *com4 = o.janela().accao(QStringLiteral("mnu_porta4"));
        com4->trigger();
        QCOMPARE(o.mensagens.texts(),
                 QStringList{QStringLiteral("A porta 4 não existe ou está a ser utilizada!")});
        QVERIFY(!com4->isChecked());
        QVERIFY(o.janela().accao(QStringLiteral("mnu_porta1"))->isChecked());
        QCOMPARE(o.porta.portNumber(), 1);
    }

    void menu_fechado_com_o_motor()
    {
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        QMenu *menu = o.janela().menu(QStringLiteral("mnu_comunicação"));
        QVERIFY(menu->isEnabled());
        QVERIFY(o.ler());
        QVERIFY(!menu->isEnabled());
        o.clicar("Command_testar");
        QVERIFY(aguardar([&] { return !o.motor().activo(); }));
        // After the first "Lêr" the menu stays closed for the rest of the run.
        QVERIFY(!menu->isEnabled());
        QVERIFY(!o.janela().accao(QStringLiteral("mnu_porta2"))->isEnabled());
    }

    void menu_fechado_quando_o_motor_arranca_sem_ler()
    {
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        QMenu *menu = o.janela().menu(QStringLiteral("mnu_comunicação"));
        bool tick = false;
        QObject::connect(&o.motor(), &Engine::tickTerminado, [&] { tick = true; });
        // As accepting a new unit does: a session without "Lêr".
        o.edit().sessao.sessao_activa = true;
        o.motor().iniciar();
        QVERIFY(aguardar([&] { return tick; }));
        QVERIFY(!menu->isEnabled());
        QCOMPARE(o.app->portas().escolher(2), PortChooser::Resultado::Recusada);
        o.motor().parar();
    }
};

QTEST_MAIN(TstPortChooser)
#include "tst_portchooser.moc"
