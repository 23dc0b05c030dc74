// The device calendar behind the manufacturing number. Guards against a week
// count that is off by one at the turn of a week or a year (Saturday
// 1 January is week 0, the week after every Saturday starts a new one, a
// Sunday-started leap year ends in week 53), and against a February that
// follows the PC's Gregorian rule instead of the device's "every fourth year".
#include "calendar.h"
#include "testsuite.h"

#include <QDate>
#include <QTest>

using namespace vx;

class TstCalendar : public QObject
{
    Q_OBJECT

private slots:
    void daysOfMonth_data();
    void daysOfMonth();
    void weekOfYear_data();
    void weekOfYear();
    void weekOfYearTurnsOnSaturday();
};

void TstCalendar::daysOfMonth_data()
{
    QTest::addColumn<int>("mes");
    QTest::addColumn<int>("aa");
    QTest::addColumn<int>("days");
    for (int m : {1, 3, 5, 7, 8, 10, 12})
        QTest::addRow("month-%d", m) << m << 7 << 31;
    for (int m : {4, 6, 9, 11})
        QTest::addRow("month-%d", m) << m << 7 << 30;
    QTest::newRow("feb-2007") << 2 << 7 << 28;
    QTest::newRow("feb-2008") << 2 << 8 << 29;
    QTest::newRow("feb-2000") << 2 << 0 << 29;
    QTest::newRow("feb-2100-no-century-rule") << 2 << 100 << 29;
    QTest::newRow("feb-2101") << 2 << 101 << 28;
    QTest::newRow("feb-2255") << 2 << 255 << 28;
    QTest::newRow("feb-2252") << 2 << 252 << 29;
    QTest::newRow("month-0") << 0 << 7 << 0;
    QTest::newRow("month-13") << 13 << 7 << 0;
}

void TstCalendar::daysOfMonth()
{
    QFETCH(int, mes);
    QFETCH(int, aa);
    QFETCH(int, days);
    QCOMPARE(int(dias_do_mes(mes, aa)), days);
}

void TstCalendar::weekOfYear_data()
{
    QTest::addColumn<QDate>("data");
    QTest::addColumn<int>("week");
    QTest::newRow("2007-02-01 (A0705)") << QDate(2007, 2, 1) << 5;
    QTest::newRow("2012-06-05 (A1223)") << QDate(2012, 6, 5) << 23;
    QTest::newRow("saturday-1-jan-2011") << QDate(2011, 1, 1) << 0;
    QTest::newRow("sunday-2-jan-2011") << QDate(2011, 1, 2) << 1;
    QTest::newRow("saturday-8-jan-2011") << QDate(2011, 1, 8) << 1;
    QTest::newRow("sunday-9-jan-2011") << QDate(2011, 1, 9) << 2;
    QTest::newRow("saturday-1-jan-2022") << QDate(2022, 1, 1) << 0;
    QTest::newRow("friday-1-jan-2021") << QDate(2021, 1, 1) << 1;
    QTest::newRow("saturday-2-jan-2021") << QDate(2021, 1, 2) << 1;
    QTest::newRow("sunday-3-jan-2021") << QDate(2021, 1, 3) << 2;
    QTest::newRow("sunday-1-jan-2012") << QDate(2012, 1, 1) << 1;
    QTest::newRow("31-dec-2012-leap-from-sunday") << QDate(2012, 12, 31) << 53;
    QTest::newRow("31-dec-2040-leap-from-sunday") << QDate(2040, 12, 31) << 53;
    QTest::newRow("31-dec-2022") << QDate(2022, 12, 31) << 52;
    QTest::newRow("1-jan-2023") << QDate(2023, 1, 1) << 1;
    QTest::newRow("saturday-3-feb-2007") << QDate(2007, 2, 3) << 5;
    QTest::newRow("sunday-4-feb-2007") << QDate(2007, 2, 4) << 6;
    QTest::newRow("29-feb-2008") << QDate(2008, 2, 29) << 9;
    // 2100 has a 29 February on the device, so from March on the device's
    // weekdays run one day ahead of the real ones: the real Saturday 6 March
    // is a Sunday, and already in the next week.
    QTest::newRow("2100-feb-28") << QDate(2100, 2, 28) << 10;
    QTest::newRow("2100-march-6") << QDate(2100, 3, 6) << 11;
}

void TstCalendar::weekOfYear()
{
    QFETCH(QDate, data);
    QFETCH(int, week);
    QCOMPARE(int(semana_do_ano(data.day(), data.month(), data.year())), week);
}

// Across every day of 2000..2099 (where the device's calendar and the real
// one agree) the week is 1, or 0 for a Saturday 1 January, plus the number of
// Saturdays before the day.
void TstCalendar::weekOfYearTurnsOnSaturday()
{
    int largest = 0;
    int expected = 0;
    for (QDate d(2000, 1, 1); d.year() < 2100; d = d.addDays(1)) {
        if (d.dayOfYear() == 1)
            expected = d.dayOfWeek() == Qt::Saturday ? 0 : 1;
        else if (d.addDays(-1).dayOfWeek() == Qt::Saturday)
            ++expected;
        const int w = semana_do_ano(d.day(), d.month(), d.year());
        if (w != expected)
            QFAIL(qPrintable(QStringLiteral("%1: %2, expected %3")
                                 .arg(d.toString(Qt::ISODate))
                                 .arg(w)
                                 .arg(expected)));
        largest = std::max(largest, w);
    }
    QCOMPARE(largest, 53);
    // The device's own 29 February of 2100, which QDate does not know.
    QCOMPARE(int(semana_do_ano(29, 2, 2100)), 10);
    QCOMPARE(int(semana_do_ano(30, 2, 2100)), 0);
    QCOMPARE(int(semana_do_ano(1, 13, 2100)), 0);
}

VX_TEST_CLASS(TstCalendar, Widgets)
#include "tst_calendar.moc"
