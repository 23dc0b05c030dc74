// Guards what a technician sees and writes when the timer answers slowly,
// late now and then, or only after a while: every field of a full read must
// hold its own value (a late answer taken for the next request shifts takings
// between fields), a confirmed value must reach the timer, and a timer
// switched on after "Lêr" must not freeze the window for long after it starts
// answering.
#include "enginebench.h"
#include "fieldtable.h"
#include "testsuite.h"

#include <QElapsedTimer>
#include <QTest>

using namespace vx;

namespace {

// Every value the window shows after a read, bar the timer's running clock.
QMap<QString, QString> shown(EditSet &edit)
{
    QMap<QString, QString> out;
    for (const Field &c : kFields) {
        const QString name = QString::fromLatin1(c.name.data(), qsizetype(c.name.size()));
        out[name] = name.startsWith(QLatin1String("Check_"))
                        ? QString::number(edit.checked(name) ? 1 : 0)
                        : edit.text(name);
    }
    out[QStringLiteral("Text_master_ibut")] = edit.text(QStringLiteral("Text_master_ibut"));
    out[QStringLiteral("title")] = edit.title();
    return out;
}

QMap<QString, QString> readOfAGoodTimer()
{
    EngineBench b;
    if (!b.readAll()) return {};
    return shown(b.edit);
}

} // namespace

class TstSlowTimer : public QObject
{
    Q_OBJECT
private slots:
    void fullRead_data()
    {
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("delayEvery");
        QTest::newRow("every answer after 800 ms") << 800 << 1;
        QTest::newRow("every fifth answer 900 ms late") << 900 << 5;
    }

    void fullRead()
    {
        QFETCH(int, delayMs);
        QFETCH(int, delayEvery);
        const QMap<QString, QString> expected = readOfAGoodTimer();
        QVERIFY(!expected.isEmpty());

        EngineBench b;
        b.clock.setScale(0.1);
        b.port.faults().busy = true;
        b.port.faults().pace = true;
        b.port.faults().delayMs = delayMs;
        b.port.faults().delayEvery = delayEvery;
        QVERIFY(b.readAll());
        const QMap<QString, QString> got = shown(b.edit);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(got.value(it.key()), it.value());
        QVERIFY(b.link.stats.lateReplies >= 1);
    }

    // A value confirmed with Enter reaches a timer that answers every third
    // request late.
    void writeReachesALateTimer()
    {
        EngineBench b;
        b.clock.setScale(0.1);
        b.port.faults().busy = true;
        b.port.faults().pace = true;
        b.port.faults().delayMs = 900;
        b.port.faults().delayEvery = 3;
        QVERIFY(b.readAll());
        b.edit.gotFocus(QStringLiteral("Text_S00"));
        b.edit.setText(QStringLiteral("Text_S00"), QStringLiteral("2,25"));
        b.edit.confirmValue(QStringLiteral("Text_S00"));
        b.edit.setChecked(QStringLiteral("Check_ibut"), false);
        QVERIFY(EngineBench::waitFor([&] { return !b.edit.anyPending(); }));
        // Written once the tick that took the values has ended.
        QVERIFY(EngineBench::waitFor([&] {
            return b.device().byte(4) + 256 * b.device().byte(5) == 225 && b.device().byte(24) == 0;
        }));
    }

    // A timer switched on 20 s after "Lêr": the read is done well within 25 s
    // of the start (it took 60 s when every unanswered resend made the
    // engine wait once more afterwards).
    void timerSwitchedOnLate()
    {
        EngineBench b;
        b.clock.setScale(0.1);
        b.port.faults().pace = true;
        b.port.faults().silentForMs = 20000;
        QElapsedTimer t;
        t.start();
        QVERIFY(b.readAll());
        // The bar leaves room for a loaded machine; on the line it takes 23 s.
        QVERIFY2(t.elapsed() < b.clock.toReal(27000), qPrintable(QString::number(t.elapsed())));
        QCOMPARE(shown(b.edit), readOfAGoodTimer());
    }
};

VX_TEST_CLASS(TstSlowTimer, Core)
#include "tst_slowtimer.moc"
