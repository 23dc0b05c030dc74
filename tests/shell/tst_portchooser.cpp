// Guards the port menu and the port check at start-up: the exact messages, the
// tick and the stored number after a good and a failed choice, and that the
// port in use never drifts from the ticked one. A failed choice that left the
// tool on a port nobody ticked, a choice taken under a running connection, or
// a start-up that forgot the stored port are the faults.

#include "appbench.h"
#include "databases.h"
#include "editset.h"
#include "emulatedport.h"
#include "fixedclock.h"
#include "messages.h"
#include "portchooser.h"
#include "recordingmessages.h"
#include "sqlitewritelock.h"
#include "testsuite.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace vx;

namespace {

struct NewUnitFixture
{
    NewUnitFixture()
    {
        databases.setBusyTimeoutMs(50);
        ok = databases.provision(nullptr, nullptr);
        port.setMissing(3);
    }
    QTemporaryDir dir;
    Databases databases{dir.path()};
    RecordingMessages messages;
    EditSet edit{messages};
    FixedClock clock;
    emu::EmulatedPort port{clock};
    bool engine = false;
    PortChooser chooser{edit, port, databases, messages, clock, [this] { return engine; }};
    bool ok = false;

    int comm()
    {
        int c = 0;
        databases.readComm(&c, nullptr);
        return c;
    }
    int ticked() const
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
    void successfulChoice()
    {
        NewUnitFixture m;
        QVERIFY(m.ok);
        QCOMPARE(m.chooser.choose(2), PortChooser::Result::Chosen);
        QVERIFY(m.messages.messages.empty());
        QCOMPARE(m.ticked(), 2);
        QCOMPARE(m.comm(), 2);
        QCOMPARE(m.port.portNumber(), 2);
        QVERIFY(!m.port.isOpen());
        QCOMPARE(m.port.opens(), 1);
        QCOMPARE(m.port.closes(), 1);
    }

    void choosingTickedRepeatsSteps()
    {
        NewUnitFixture m;
        QCOMPARE(m.chooser.choose(1), PortChooser::Result::Chosen);
        QCOMPARE(m.chooser.choose(1), PortChooser::Result::Chosen);
        QCOMPARE(m.port.opens(), 2);
        QCOMPARE(m.ticked(), 1);
    }

    void missingPort_data()
    {
        QTest::addColumn<int>("before");
        QTest::newRow("de Com 1") << 1;
        QTest::newRow("de Com 4") << 4;
    }
    void missingPort()
    {
        QFETCH(int, before);
        NewUnitFixture m;
        QCOMPARE(m.chooser.choose(before), PortChooser::Result::Chosen);
        QCOMPARE(m.chooser.choose(3), PortChooser::Result::PortFailed);
        QCOMPARE(m.messages.messages.size(), size_t(1));
        const auto &msg = m.messages.messages.front();
        QCOMPARE(msg.text, QStringLiteral("A porta 3 não existe ou está a ser utilizada!"));
        QCOMPARE(msg.title, QStringLiteral("Mensagem de Erro!"));
        QCOMPARE(msg.icon, MessageSink::Icon::Critical);
        QCOMPARE(m.ticked(), before);
        QCOMPARE(m.comm(), before);
        // The port in use goes back to the ticked one.
        QCOMPARE(m.port.portNumber(), before);
        QVERIFY(!m.port.isOpen());
    }

    void saveFailed()
    {
        NewUnitFixture m;
        auto lock = std::make_unique<SqliteWriteLock>(m.databases.settingsFile());
        QVERIFY(lock->active);
        QCOMPARE(m.chooser.choose(2), PortChooser::Result::SaveFailed);
        QCOMPARE(m.messages.texts(),
                 QStringList{QStringLiteral("A porta 2 não existe ou está a ser utilizada!")});
        // The tick already moved; the stored number did not.
        QCOMPARE(m.ticked(), 2);
        lock.reset();
        QCOMPARE(m.comm(), 1);
    }

    void refusedWithEngineRunning()
    {
        NewUnitFixture m;
        m.engine = true;
        QVERIFY(!m.chooser.available());
        QCOMPARE(m.chooser.choose(2), PortChooser::Result::Refused);
        QCOMPARE(m.port.portNumber(), 1);
        QCOMPARE(m.port.opens(), 0);
        QCOMPARE(m.ticked(), 1);
        QVERIFY(m.messages.messages.empty());
    }

    void refusedWithPortOpen()
    {
        NewUnitFixture m;
        QVERIFY(m.port.open());
        QCOMPARE(m.chooser.choose(2), PortChooser::Result::Refused);
        QCOMPARE(m.port.portNumber(), 1);
        QVERIFY(m.port.isOpen());
    }

    void startUp_data()
    {
        QTest::addColumn<int>("comm");
        QTest::addColumn<int>("ticked");
        QTest::addColumn<QString>("message");
        QTest::newRow("Com 2") << 2 << 2 << QString();
        QTest::newRow("Com 3 inexistente")
            << 3 << 3 << "A porta 3 não existe ou está a ser utilizada! Selecione outra porta.";
        QTest::newRow("7 fora do menu")
            << 7 << 1 << "A porta 7 não existe ou está a ser utilizada! Selecione outra porta.";
        QTest::newRow("0 recusado")
            << 0 << 1 << "A porta 0 não existe ou está a ser utilizada! Selecione outra porta.";
    }
    void startUp()
    {
        QFETCH(int, comm);
        QFETCH(int, ticked);
        QFETCH(QString, message);
        NewUnitFixture m;
        m.port.setMissing(7);
        const bool ok = m.chooser.startUp(comm);
        QCOMPARE(ok, message.isEmpty());
        QCOMPARE(m.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(m.messages.messages.front().title, QStringLiteral("Mensagem de Erro!"));
        QCOMPARE(m.ticked(), ticked);
        QVERIFY(!m.port.isOpen());
    }

    // Through the window: the stored port on restart, and the menu closed
    // while the engine runs.
    void portStoredForNextRun()
    {
        PersistentData a;
        {
            AppBench o(a);
            QVERIFY(o.startUp());
            o.window().action(QStringLiteral("mnu_porta2"))->trigger();
            QVERIFY(o.messages.messages.empty());
        }
        AppBench o(a);
        QVERIFY(o.startUp());
        QCOMPARE(o.port.portNumber(), 2);
        QVERIFY(o.window().action(QStringLiteral("mnu_porta2"))->isChecked());
        QVERIFY(!o.window().action(QStringLiteral("mnu_porta1"))->isChecked());
        QVERIFY(!o.port.isOpen());
    }

    void failureInWindowKeepsTick()
    {
        PersistentData a;
        AppBench o(a);
        o.port.setMissing(4);
        QVERIFY(o.startUp());
        QAction *port4 = o.window().action(QStringLiteral("mnu_porta4"));
        port4->trigger();
        QCOMPARE(o.messages.texts(),
                 QStringList{QStringLiteral("A porta 4 não existe ou está a ser utilizada!")});
        QVERIFY(!port4->isChecked());
        QVERIFY(o.window().action(QStringLiteral("mnu_porta1"))->isChecked());
        QCOMPARE(o.port.portNumber(), 1);
    }

    void menuClosedWithEngine()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QMenu *menu = o.window().menu(QStringLiteral("mnu_comunicação"));
        QVERIFY(menu->isEnabled());
        QVERIFY(o.read());
        QVERIFY(!menu->isEnabled());
        o.click("Command_testar");
        QVERIFY(waitFor([&] { return !o.engine().active(); }));
        // After the first "Lêr" the menu stays closed for the rest of the run.
        QVERIFY(!menu->isEnabled());
        QVERIFY(!o.window().action(QStringLiteral("mnu_porta2"))->isEnabled());
    }

    void menuClosedWhenEngineStartsWithoutRead()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QMenu *menu = o.window().menu(QStringLiteral("mnu_comunicação"));
        bool tick = false;
        QObject::connect(&o.engine(), &Engine::tickFinished, [&] { tick = true; });
        // As accepting a new unit does: a session without "Lêr".
        o.edit().session.sessao_activa = true;
        o.engine().start();
        QVERIFY(waitFor([&] { return tick; }));
        QVERIFY(!menu->isEnabled());
        QCOMPARE(o.app->ports().choose(2), PortChooser::Result::Refused);
        o.engine().stop();
    }
};

VX_TEST_CLASS(TstPortChooser, Widgets)
#include "tst_portchooser.moc"
