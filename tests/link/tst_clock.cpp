// Guards the pace of nominal intervals, which every timer of the link, the
// emulated timer and the window takes from the clock: a shrunk interval must
// never become no wait at all (a zero-length time-out turns the link's
// retries into a storm), no interval must stay none, and a scale that makes
// no sense must not freeze or rush the program: it keeps the real pace.
#include "clock.h"
#include "fixedclock.h"
#include "testsuite.h"

#include <QTest>
#include <limits>

class TstClock : public QObject
{
    Q_OBJECT
private slots:
    void toReal_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("nominalMs");
        QTest::addColumn<int>("realMs");
        QTest::addColumn<double>("scaleKept");
        constexpr double nan = std::numeric_limits<double>::quiet_NaN();
        constexpr double infinity = std::numeric_limits<double>::infinity();
        QTest::newRow("real pace") << 1.0 << 500 << 500 << 1.0;
        QTest::newRow("2 %") << 0.02 << 500 << 10 << 0.02;
        QTest::newRow("half a millisecond rounds up") << 0.05 << 30 << 2 << 0.05;
        QTest::newRow("less than a millisecond is one") << 0.002 << 100 << 1 << 0.002;
        QTest::newRow("slower than real") << 10.0 << 500 << 5000 << 10.0;
        QTest::newRow("no interval") << 0.02 << 0 << 0 << 0.02;
        QTest::newRow("negative interval") << 1.0 << -5 << 0 << 1.0;
        QTest::newRow("zero scale") << 0.0 << 500 << 500 << 1.0;
        QTest::newRow("negative scale") << -0.5 << 500 << 500 << 1.0;
        QTest::newRow("scale not a number") << nan << 500 << 500 << 1.0;
        QTest::newRow("infinite scale") << infinity << 500 << 500 << 1.0;
    }
    void toReal()
    {
        QFETCH(double, scale);
        QFETCH(int, nominalMs);
        QFETCH(int, realMs);
        QFETCH(double, scaleKept);
        const vx::SystemClock made(scale);
        QCOMPARE(made.toReal(nominalMs), realMs);
        QCOMPARE(made.scale(), scaleKept);
        // Set on a clock already in use, as a test bench hurries its own.
        vx::FixedClock set(0.5);
        set.setScale(scale);
        QCOMPARE(set.toReal(nominalMs), realMs);
        QCOMPARE(set.scale(), scaleKept);
    }
};

VX_TEST_CLASS(TstClock, Core)
#include "tst_clock.moc"
