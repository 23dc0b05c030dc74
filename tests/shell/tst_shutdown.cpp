// Guards the two ways out of the program: each sends the device exactly one
// end-of-connection frame (Command::End) and closes the port, whether the unit
// answers, is missing, or is in the middle of a connection; the new-unit
// entry turns "Sair da Aplicação" into its cancel. A unit left in maintenance
// mode (no frame), a double frame, or a program that never ends is the fault.

#include "appbench.h"
#include "enginebench.h"
#include "shutdown.h"
#include "testsuite.h"

#include <QElapsedTimer>
#include <QTest>

using namespace vx;

// An engine with its shutdown and the commands it sent. Not in an anonymous
// namespace: the test class's lambdas capture it, and the folder's files
// compile as one.
struct ShutdownBench
{
    EngineBench b;
    SentCommands requests{b.link};
    int cancelled = 0;
    Shutdown shutdown{b.edit, b.link, b.engine, b.end, [this] { ++cancelled; }};
};

class TstShutdown : public QObject
{
    Q_OBJECT

private slots:
    void paths_data()
    {
        QTest::addColumn<bool>("closeWindow");
        QTest::addColumn<bool>("answers");
        QTest::addColumn<bool>("on");
        QTest::newRow("sair, parado") << false << true << false;
        QTest::newRow("sair, sem unidade") << false << false << false;
        QTest::newRow("sair, ligado") << false << true << true;
        QTest::newRow("fechar, parado") << true << true << false;
        QTest::newRow("fechar, sem unidade") << true << false << false;
        QTest::newRow("fechar, ligado") << true << true << true;
    }
    void paths()
    {
        QFETCH(bool, closeWindow);
        QFETCH(bool, answers);
        QFETCH(bool, on);
        ShutdownBench s;
        if (on) QVERIFY(s.b.readAll());
        if (!answers) s.b.port.faults().faults = emu::Fault::NoReply;
        s.requests.commands.clear();
        QElapsedTimer t;
        t.start();
        if (closeWindow)
            s.shutdown.closeWindow();
        else
            s.shutdown.exitApplication();
        QVERIFY(s.b.end.ended());
        QCOMPARE(s.b.end.calls, 1);
        QCOMPARE(s.requests.count(Command::End), 1);
        QVERIFY(!s.b.port.isOpen());
        QVERIFY(s.b.messages.messages.empty());
        // The pause: 1000 or 2000 nominal milliseconds, at 2 %. During a
        // connection a tick may reach its exit tail first and end it sooner.
        if (!on) QVERIFY(t.elapsed() >= (closeWindow ? 40 : 20) - 2);
        if (answers) QCOMPARE(s.b.device().count(Command::End), 1);
    }

    void exitRaisesRequestBeforePause()
    {
        ShutdownBench s;
        bool requestInPause = false;
        QTimer::singleShot(s.b.clock.toReal(500), [&] { requestInPause = s.b.link.sair_pedido; });
        s.shutdown.exitApplication();
        QVERIFY(requestInPause);
    }

    void closeStopsEngineBeforePause()
    {
        ShutdownBench s;
        QVERIFY(s.b.readAll());
        bool engineInPause = true, requestInPause = true;
        QTimer::singleShot(s.b.clock.toReal(1000), [&] {
            engineInPause = s.b.engine.active();
            requestInPause = s.b.link.sair_pedido;
        });
        s.requests.commands.clear();
        s.shutdown.closeWindow();
        QVERIFY(!engineInPause);
        QVERIFY(!requestInPause);
        QCOMPARE(s.requests.count(Command::End), 1);
        // No tick ran during the pause: nothing but the closing frame left.
        QCOMPARE(s.requests.commands, QList<Command>{Command::End});
    }

    void exitMidTransaction()
    {
        ShutdownBench s;
        QVERIFY(s.b.readAll());
        // The next request of the engine is left waiting for its answer, and
        // "Sair da Aplicação" is pressed while it waits.
        s.b.port.faults().delayMs = 400;
        s.requests.commands.clear();
        bool pressed = false;
        QObject::connect(&s.b.link, &Link::requestSent, [&] {
            if (!pressed) {
                pressed = true;
                QTimer::singleShot(0, [&] { s.shutdown.exitApplication(); });
            }
        });
        QVERIFY(waitFor([&] { return s.b.end.ended(); }));
        QCOMPARE(s.requests.count(Command::End), 1);
        QCOMPARE(s.b.end.calls, 1);
    }

    void secondRequestDuringPauseIgnored()
    {
        ShutdownBench s;
        QTimer::singleShot(s.b.clock.toReal(300), [&] {
            QVERIFY(s.shutdown.inProgress());
            s.shutdown.closeWindow();
        });
        s.shutdown.exitApplication();
        QCOMPARE(s.requests.count(Command::End), 1);
        QCOMPARE(s.b.end.calls, 1);
    }

    void portThatWillNotOpenEndsAtOnce()
    {
        ShutdownBench s;
        s.b.port.setMissing(1);
        QElapsedTimer t;
        t.start();
        s.shutdown.exitApplication();
        QVERIFY(s.b.end.ended());
        QCOMPARE(s.requests.commands.size(), 0);
        QVERIFY(s.b.messages.messages.empty());
        QVERIFY(t.elapsed() < s.b.clock.toReal(1000));
    }

    void duringNewUnitEntryIsCancel()
    {
        ShutdownBench s;
        s.b.edit.session.modo = 1;
        s.shutdown.exitApplication();
        QCOMPARE(s.cancelled, 1);
        QVERIFY(!s.b.end.ended());
        QCOMPARE(s.requests.commands.size(), 0);
        QVERIFY(!s.b.link.sair_pedido);
        // Closing the window ends the program even then.
        s.shutdown.closeWindow();
        QVERIFY(s.b.end.ended());
        QCOMPARE(s.requests.count(Command::End), 1);
    }

    // Through the window: the button and the close box.
    void throughWindow_data()
    {
        QTest::addColumn<bool>("closeWindow");
        QTest::newRow("Sair da Aplicação") << false;
        QTest::newRow("fechar a janela") << true;
    }
    void throughWindow()
    {
        QFETCH(bool, closeWindow);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        SentCommands p(o.app->link());
        if (closeWindow)
            o.window().close();
        else
            o.click("Command_sair");
        QVERIFY(o.end.ended());
        QCOMPARE(o.end.calls, 1);
        QCOMPARE(p.count(Command::End), 1);
        QVERIFY(!o.port.isOpen());
    }
};

VX_TEST_CLASS(TstShutdown, Widgets)
#include "tst_shutdown.moc"
