// Guards the connection state the status line and the command-line tool
// show: it must follow a read step by step to "connected", turn to "not
// answering" as soon as requests time out (and back once the timer answers),
// and go back to "no port" when the connection ends. A state stuck on
// "reading" or "connected" over a pulled cable is the fault.

#include "connectionwatcher.h"
#include "enginebench.h"
#include "testsuite.h"

#include <QTest>

using namespace vx;
using Phase = ConnectionState::Phase;

class TstConnection : public QObject
{
    Q_OBJECT

private slots:
    void readGoesStepByStepToConnected()
    {
        EngineBench b;
        ConnectionWatcher watcher(b.engine, b.link, b.clock);
        QCOMPARE(watcher.state().phase, Phase::NoPort);
        QList<ConnectionState> seen;
        connect(&watcher, &ConnectionWatcher::stateChanged, this,
                [&](const ConnectionState &s) { seen << s; });
        QVERIFY(b.readAll());
        QCOMPARE(watcher.state().phase, Phase::Connected);
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.first().phase, Phase::PortOpen);
        QList<int> steps;
        int total = 0;
        for (const ConnectionState &s : seen) {
            if (s.phase != Phase::Reading) continue;
            steps << s.step;
            total = s.steps;
        }
        QVERIFY(total > 2);
        QCOMPARE(steps.size(), total + 1);
        for (int i = 0; i < steps.size(); ++i)
            QCOMPARE(steps[i], i);

        b.engine.Command_testar_Click();
        QVERIFY(EngineBench::waitFor([&] { return !b.engine.active(); }));
        QCOMPARE(watcher.state().phase, Phase::NoPort);
    }

    void silenceShowsNotAnsweringUntilReplies()
    {
        EngineBench b;
        ConnectionWatcher watcher(b.engine, b.link, b.clock);
        QVERIFY(b.readAll());
        b.port.faults().failNext(2, emu::Fault::NoReply);
        bool silent = false;
        connect(&watcher, &ConnectionWatcher::stateChanged, this, [&](const ConnectionState &s) {
            silent = silent || s.phase == Phase::NotAnswering;
        });
        QVERIFY(EngineBench::waitFor([&] { return silent; }));
        QVERIFY(EngineBench::waitFor([&] { return watcher.state().phase == Phase::Connected; }));
    }
};

VX_TEST_CLASS(TstConnection, Core)
#include "tst_connection.moc"
