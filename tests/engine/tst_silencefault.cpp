// Guards the notice that the timer stopped answering: it must not come for a
// short gap (a timer that answers late is not broken), must come once the
// silence lasts, with the cause that fits the line (nothing back, rejected
// replies only, no port), and must go as soon as a reply is accepted again
// or the connection is stopped. The silence is measured on the injected
// clock, at its pace, so no test waits for it.
#include "connectionwatcher.h"
#include "enginebench.h"
#include "testsuite.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace vx;

Q_DECLARE_METATYPE(vx::LinkFault)

class TstSilenceFault : public QObject
{
    Q_OBJECT

    // The engine sits in a nested wait while the timer fails: the test acts
    // from the link's own signal. After each failed attempt it notes what the
    // watch says, then runs the next step (if any).
    static void onEachFailure(EngineBench &b, QList<LinkFault> *seen,
                              const ConnectionWatcher &watch,
                              const QList<std::function<void()>> &steps)
    {
        auto last = std::make_shared<quint64>(0);
        QObject::connect(&b.link, &Link::statsChanged, &b.link, [&b, seen, &watch, steps, last] {
            const LinkStats &s = b.link.stats;
            const quint64 failures = s.timeoutsSinceAccepted + s.rejectedSinceAccepted;
            if (failures == 0 || failures == *last) return;
            *last = failures;
            seen->append(watch.fault());
            if (seen->size() <= steps.size()) steps.at(seen->size() - 1)();
        });
    }

private slots:
    void faultAfterSilence_data()
    {
        QTest::addColumn<unsigned>("fault");
        QTest::addColumn<vx::LinkFault>("expected");
        QTest::newRow("sem resposta") << emu::Fault::NoReply << LinkFault::NoReply;
        QTest::newRow("checksum errado") << emu::Fault::BadChecksum << LinkFault::RejectedReplies;
    }
    void faultAfterSilence()
    {
        QFETCH(unsigned, fault);
        QFETCH(vx::LinkFault, expected);
        EngineBench b;
        ConnectionWatcher watch(b.engine, b.link, b.clock);
        watch.setSilenceMs(5000);
        QVERIFY(b.readAll());
        QSignalSpy changes(&watch, &ConnectionWatcher::faultChanged);
        const QDateTime start = b.clock.now();
        const int limit = b.clock.toReal(5000);
        QList<LinkFault> seen;
        onEachFailure(b, &seen, watch,
                      {[&] { b.clock.set(start.addMSecs(limit - 1)); },
                       [&] { b.clock.set(start.addMSecs(limit)); },
                       [&] { b.port.faults().faults = emu::Fault::None; }});
        b.port.faults().faults = fault;
        QVERIFY(EngineBench::waitFor(
            [&] { return seen.size() >= 3 && watch.fault() == LinkFault::None; }));
        // Right away and just short of the limit: nothing; at the limit: the cause.
        QCOMPARE(seen.mid(0, 3), (QList<LinkFault>{LinkFault::None, LinkFault::None, expected}));
        QCOMPARE(changes.count(), 2);
    }

    // An adapter pulled out: nothing can be sent, and the notice says so
    // rather than blaming the timer; a stopped engine has nothing to report.
    void portGoneThenStopped()
    {
        EngineBench b;
        ConnectionWatcher watch(b.engine, b.link, b.clock);
        watch.setSilenceMs(3000);
        QVERIFY(b.readAll());
        QList<LinkFault> seen;
        onEachFailure(b, &seen, watch,
                      {[&] { b.clock.set(b.clock.now().addMSecs(b.clock.toReal(3000))); },
                       [&] {
                           b.engine.Command_testar_Click();
                           b.port.setGone(0);
                       }});
        b.port.setGone(-1);
        QVERIFY(EngineBench::waitFor([&] { return !b.engine.active(); }));
        QCOMPARE(seen.value(1), LinkFault::PortUnavailable);
        watch.update();
        QCOMPARE(watch.fault(), LinkFault::None);
    }
};

VX_TEST_CLASS(TstSilenceFault, Core)
#include "tst_silencefault.moc"
