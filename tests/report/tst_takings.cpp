// Guards the takings by unit: across a Clear the takings must still add up
// (what the bands counted up to the erase plus what they counted since), a
// total that went down, a counter reset that was no Clear and a jump in the
// power downs must show on the row, a restore must not pass for takings,
// money must stay exact to the cent, and only the visits of the period count.
#include "../records/recordsplace.h"
#include "clock.h"
#include "csvline.h"
#include "fixedclock.h"
#include "servicehistory.h"
#include "takingsdocument.h"
#include "takingsreport.h"
#include "testsuite.h"

#include <QTest>

using namespace vx;

namespace {

// "2026-03-01 10:00 read acc=100,00 t00=10,00 games=5 power=1 unit=A24127/4711":
// the fields not named are left out of the snapshot.
Snapshot takingsVisit(const QString &line, qlonglong id)
{
    static const QMap<QString, QString> fields{
        {"acc", "Text_acumulado"},   {"t00", "Text_total00"}, {"t08", "Text_total08"},
        {"t12", "Text_total12"},     {"t15", "Text_total15"}, {"t20", "Text_total20"},
        {"games", "Text_aberturas"}, {"power", "Text_power"}};
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    Snapshot s;
    s.id = id;
    s.taken = QDateTime::fromString(words[0] + QLatin1Char(' ') + words[1],
                                    QStringLiteral("yyyy-MM-dd HH:mm"));
    Snapshot::reasonNamed(words[2], &s.reason);
    s.manufacturingNumber = QStringLiteral("A24127");
    s.applicationSerial = QStringLiteral("4711");
    for (const QString &w : words.mid(3)) {
        const QString key = w.section(QLatin1Char('='), 0, 0);
        const QString value = w.section(QLatin1Char('='), 1);
        if (key == QLatin1String("unit")) {
            s.manufacturingNumber = value.section(QLatin1Char('/'), 0, 0);
            s.applicationSerial = value.section(QLatin1Char('/'), 1);
        } else {
            s.values.insert(fields.value(key), value);
        }
    }
    return s;
}

QList<Snapshot> takingsVisits(const QStringList &lines)
{
    QList<Snapshot> out;
    for (const QString &l : lines)
        out << takingsVisit(l, out.size() + 1);
    return out;
}

QString bandsOf(const UnitTakings &r)
{
    QStringList out;
    for (const qint64 b : r.bands)
        out << TakingsReport::money(b);
    return out.join(QLatin1Char(' '));
}

QString signsOf(const UnitTakings &r)
{
    QStringList out;
    if (r.shows(TakingsSign::Kind::TotalDown)) out << QStringLiteral("down");
    if (r.shows(TakingsSign::Kind::CounterReset)) out << QStringLiteral("reset");
    if (r.shows(TakingsSign::Kind::PowerDownJump)) out << QStringLiteral("power");
    return out.join(QLatin1Char(' '));
}

const QDate kMarch(2026, 3, 1);
const QDate kEndOfYear(2026, 12, 31);

} // namespace

class TstTakings : public QObject
{
    Q_OBJECT

private slots:
    void oneUnit_data()
    {
        QTest::addColumn<QStringList>("visits");
        QTest::addColumn<QString>("accumulated"); // first and last
        QTest::addColumn<QString>("takings");
        QTest::addColumn<QString>("bands");
        QTest::addColumn<int>("games");
        QTest::addColumn<int>("clears");
        QTest::addColumn<QString>("signs");
        const QString rest = QStringLiteral(" t08=0,00 t12=0,00 t15=0,00 t20=0,00");
        QTest::newRow("two reads")
            << QStringList{"2026-03-02 10:00 read acc=100,00 t00=10,00 games=5 power=0" + rest,
                           "2026-04-02 10:00 read acc=150,25 t00=30,00 t08=20,25 t12=0,00 "
                           "t15=0,00 t20=0,00 games=12 power=1"}
            << "100,00 150,25"
            << "50,25"
            << "20,00 20,25 0,00 0,00 0,00" << 7 << 0 << "";
        // The read after the erase shows zeros; the bands count on from there.
        QTest::newRow("clear in the middle")
            << QStringList{"2026-03-02 10:00 read acc=100,00 t00=10,00 games=5 power=1" + rest,
                           "2026-04-02 10:00 clear acc=130,00 t00=40,00 games=9 power=2" + rest,
                           "2026-04-02 10:01 read acc=130,00 t00=0,00 games=0 power=-1" + rest,
                           "2026-05-02 10:00 read acc=160,00 t00=30,00 games=4 power=0" + rest}
            << "100,00 160,00"
            << "60,00"
            << "60,00 0,00 0,00 0,00 0,00" << 8 << 1 << "";
        QTest::newRow("clear, no read after it")
            << QStringList{"2026-03-02 10:00 read acc=100,00 t00=10,00 games=5" + rest,
                           "2026-04-02 10:00 clear acc=130,00 t00=40,00 games=9" + rest,
                           "2026-05-02 10:00 read acc=160,00 t00=30,00 games=4" + rest}
            << "100,00 160,00"
            << "60,00"
            << "60,00 0,00 0,00 0,00 0,00" << 8 << 1 << "";
        QTest::newRow("total down")
            << QStringList{"2026-03-02 10:00 read acc=500,00", "2026-04-02 10:00 read acc=400,00",
                           "2026-05-02 10:00 read acc=450,00"}
            << "500,00 450,00"
            << "50,00"
            << "0,00 0,00 0,00 0,00 0,00" << 0 << 0 << "down";
        QTest::newRow("reset that was not a clear")
            << QStringList{"2026-03-02 10:00 read t00=50,00 games=20",
                           "2026-04-02 10:00 read t00=10,00 games=3"}
            << "0,00 0,00"
            << "0,00"
            << "10,00 0,00 0,00 0,00 0,00" << 3 << 0 << "reset";
        QTest::newRow("power down jump")
            << QStringList{"2026-03-02 10:00 read power=1", "2026-04-02 10:00 read power=6"}
            << "0,00 0,00"
            << "0,00"
            << "0,00 0,00 0,00 0,00 0,00" << 0 << 0 << "power";
        QTest::newRow("three power downs are no jump")
            << QStringList{"2026-03-02 10:00 read power=1", "2026-04-02 10:00 read power=4"}
            << "0,00 0,00"
            << "0,00"
            << "0,00 0,00 0,00 0,00 0,00" << 0 << 0 << "";
        QTest::newRow("one visit only")
            << QStringList{"2026-03-02 10:00 read acc=1523,00 t00=7,00 games=3 power=2"}
            << "1523,00 1523,00"
            << "0,00"
            << "0,00 0,00 0,00 0,00 0,00" << 0 << 0 << "";
        // 0,10 + 0,20 is not 0,30 in binary floating point.
        QTest::newRow("cents exact")
            << QStringList{"2026-03-02 10:00 read acc=0,10 t20=0,10",
                           "2026-03-03 10:00 read acc=0,30 t20=0,30",
                           "2026-03-04 10:00 read acc=167772,15 t20=167772,15"}
            << "0,10 167772,15"
            << "167772,05"
            << "0,00 0,00 0,00 0,00 167772,05" << 0 << 0 << "";
        QTest::newRow("restore is not takings")
            << QStringList{"2026-03-02 10:00 read acc=100,00 t00=10,00",
                           "2026-03-02 10:05 restore acc=900,00 t00=90,00",
                           "2026-04-02 10:00 read acc=950,00 t00=95,00"}
            << "100,00 950,00"
            << "50,00"
            << "5,00 0,00 0,00 0,00 0,00" << 0 << 0 << "";
        QTest::newRow("restore that lowers")
            << QStringList{"2026-03-02 10:00 read acc=500,00 t00=50,00",
                           "2026-03-02 10:05 paste acc=100,00 t00=10,00"}
            << "500,00 100,00"
            << "0,00"
            << "0,00 0,00 0,00 0,00 0,00" << 0 << 0 << "down reset";
    }

    void oneUnit()
    {
        QFETCH(QStringList, visits);
        QFETCH(QString, accumulated);
        QFETCH(QString, takings);
        QFETCH(QString, bands);
        QFETCH(int, games);
        QFETCH(int, clears);
        QFETCH(QString, signs);
        const QList<UnitTakings> rows =
            TakingsReport::compute(takingsVisits(visits), kMarch, kEndOfYear);
        QCOMPARE(rows.size(), 1);
        const UnitTakings &r = rows.first();
        QCOMPARE(TakingsReport::money(r.accumulatedFirst) + QLatin1Char(' ') +
                     TakingsReport::money(r.accumulatedLast),
                 accumulated);
        QCOMPARE(TakingsReport::money(r.takings), takings);
        QCOMPARE(bandsOf(r), bands);
        QCOMPARE(r.games, games);
        QCOMPARE(r.visits, visits.size());
        QCOMPARE(r.clears, clears);
        QCOMPARE(signsOf(r), signs);
    }

    // Whole days at both ends; a visit just outside is not the first or last.
    void periodBoundaries()
    {
        const QList<Snapshot> visits =
            takingsVisits({"2026-02-28 23:59 read acc=10,00", "2026-03-01 00:00 read acc=20,00",
                           "2026-03-31 23:59 read acc=50,00", "2026-04-01 00:00 read acc=90,00"});
        const QList<UnitTakings> rows =
            TakingsReport::compute(visits, QDate(2026, 3, 1), QDate(2026, 3, 31));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].visits, 2);
        QCOMPARE(rows[0].firstVisit, QDateTime(QDate(2026, 3, 1), QTime(0, 0)));
        QCOMPARE(TakingsReport::money(rows[0].takings), QStringLiteral("30,00"));
        QVERIFY(TakingsReport::compute(visits, QDate(2026, 5, 1), QDate(2026, 5, 31)).isEmpty());
    }

    // Units apart whatever order the snapshots come in, by number then
    // serial; a sign says when and what.
    void unitsApart()
    {
        const QList<Snapshot> visits =
            takingsVisits({"2026-04-01 10:00 read acc=70,00 unit=B00001/1",
                           "2026-04-01 11:00 read acc=5,00 unit=A24127/4711",
                           "2026-03-05 10:00 read acc=40,00 unit=A24127/4711",
                           "2026-03-01 10:00 read acc=60,00 unit=B00001/1",
                           "2026-03-02 10:00 read acc=1,00 unit=A24127/9"});
        const QList<UnitTakings> rows = TakingsReport::compute(visits, kMarch, kEndOfYear);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].applicationSerial, QStringLiteral("4711"));
        QCOMPARE(rows[1].applicationSerial, QStringLiteral("9"));
        QCOMPARE(rows[2].manufacturingNumber, QStringLiteral("B00001"));
        QCOMPARE(TakingsReport::money(rows[2].takings), QStringLiteral("10,00"));
        QCOMPARE(rows[0].signs.size(), 1);
        QCOMPARE(
            TakingsDocument::signText(rows[0].signs[0], 1),
            QStringLiteral("01-04-2026: the accumulated takings went down from 40,00 to 5,00"));
        QCOMPARE(TakingsDocument::signText(rows[0].signs[0], 0),
                 QStringLiteral("01-04-2026: o acumulado desceu de 40,00 para 5,00"));
        const UnitTakings sum = TakingsReport::total(rows);
        QCOMPARE(sum.visits, 5);
        QCOMPARE(TakingsReport::money(sum.takings), QStringLiteral("10,00"));
    }

    // The records pick the report's values out of each snapshot themselves,
    // each engine in its own words: the same values as the whole snapshot.
    void readFromEitherEngine_data()
    {
        QTest::addColumn<RecordsEngine>("engine");
        QTest::newRow("sqlite") << RecordsEngine::Sqlite;
        QTest::newRow("postgresql") << RecordsEngine::Postgres;
    }

    void readFromEitherEngine()
    {
        QFETCH(RecordsEngine, engine);
        VX_RECORDS_PLACE(place, engine);
        const auto db = place.open();
        QString error;
        QVERIFY2(UnitRecords(*db).prepare(&error), qPrintable(error));
        const FixedClock clock;
        ServiceHistory history(*db, clock, QStringLiteral("bancada-1"));
        for (const Snapshot &s :
             takingsVisits({"2026-03-02 10:00 read acc=100,00 t00=10,00 t20=1,00 games=5 power=0",
                            "2026-04-02 10:00 clear acc=130,00 t00=40,00 t20=2,00 games=9",
                            "2026-05-02 10:00 read acc=160,00 t00=30,00 t20=3,00 games=4",
                            "2027-01-02 10:00 read acc=999,00"}))
            QVERIFY2(history.store(s, nullptr, &error), qPrintable(error));
        QList<Snapshot> whole;
        QList<Snapshot> picked;
        QVERIFY2(history.visitsBetween(kMarch, kEndOfYear, &whole, &error), qPrintable(error));
        QVERIFY2(
            history.visitsBetween(kMarch, kEndOfYear, &picked, &error, TakingsReport::fields()),
            qPrintable(error));
        QCOMPARE(picked.size(), 3);
        for (qsizetype i = 0; i < picked.size(); ++i) {
            QCOMPARE(picked[i].values, whole[i].values);
            QCOMPARE(picked[i].taken, whole[i].taken);
            QCOMPARE(picked[i].reason, whole[i].reason);
        }
        QList<UnitTakings> rows;
        QVERIFY2(TakingsReport::read(history, kMarch, kEndOfYear, &rows, &error),
                 qPrintable(error));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(TakingsReport::money(rows[0].takings), QStringLiteral("60,00"));
        QCOMPARE(TakingsReport::money(rows[0].bands[4]), QStringLiteral("4,00"));
    }

    void moneyText_data()
    {
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("text");
        QTest::newRow("cents") << qint64(5) << "0,05";
        QTest::newRow("window") << qint64(152300) << "1523,00";
        QTest::newRow("beyond 32 bits") << qint64(500000000007) << "5000000000,07";
    }

    void moneyText()
    {
        QFETCH(qint64, cents);
        QFETCH(QString, text);
        QCOMPARE(TakingsReport::money(cents), text);
    }

    // A spreadsheet gets the money with its decimal comma in one cell.
    void csvLines()
    {
        const QList<UnitTakings> rows = TakingsReport::compute(
            takingsVisits({"2026-03-02 10:00 read acc=500,00", "2026-04-02 10:00 read acc=400,00"}),
            kMarch, kEndOfYear);
        const QStringList lines = TakingsDocument::csv(rows).split(QLatin1Char('\n'));
        QVERIFY(lines[0].startsWith(QLatin1String("manufacturing_number,application_serial,")));
        QCOMPARE(lines.size(), 3); // the header, the unit, the end of the last line
        QVERIFY2(lines[1].startsWith(QLatin1String("A24127,4711,2026-03-02T10:00:00,"
                                                   "2026-04-02T10:00:00,2,0,\"500,00\",\"400,00\","
                                                   "\"0,00\"")),
                 qPrintable(lines[1]));
        QVERIFY2(lines[1].contains(QLatin1String(",1,0,0,\"02-04-2026: the accumulated")),
                 qPrintable(lines[1]));
    }

    // A text from the records reaches a listing as a terminal can show it:
    // never a raw control character, never a tab or line end that splits a
    // column or a line; CSV keeps its quoting of line ends.
    void linesOfOutsideText_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("csv");
        QTest::newRow("plain") << "A24127"
                               << "A24127\tx\n"
                               << "A24127,x\n";
        QTest::newRow("NUL") << QString(QChar(0)) + "0000"
                             << "\\x000000\tx\n"
                             << "\\x000000,x\n";
        QTest::newRow("escape") << "\x1b[2J"
                                << "\\x1b[2J\tx\n"
                                << "\\x1b[2J,x\n";
        QTest::newRow("tab") << "a\tb"
                             << "a\\x09b\tx\n"
                             << "a\\x09b,x\n";
        QTest::newRow("line end") << "a\nb"
                                  << "a\\x0ab\tx\n"
                                  << "\"a\nb\",x\n";
        QTest::newRow("backslash") << "a\\b"
                                   << "a\\\\b\tx\n"
                                   << "a\\\\b,x\n";
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "x"
                                        << "\\ud800x\tx\n"
                                        << "\\ud800x,x\n";
        QTest::newRow("pair kept")
            << QString::fromUtf8("\U0001F600") << QString::fromUtf8("\U0001F600\tx\n")
            << QString::fromUtf8("\U0001F600,x\n");
        QTest::newRow("format") << QString::fromUtf8("a\u202Eb") << "a\\u202eb\tx\n"
                                << "a\\u202eb,x\n";
    }
    void linesOfOutsideText()
    {
        QFETCH(QString, cell);
        QFETCH(QString, tab);
        QFETCH(QString, csv);
        QCOMPARE(tabLine({cell, QStringLiteral("x")}), tab);
        QCOMPARE(csvLine({cell, QStringLiteral("x")}), csv);
    }
};

VX_TEST_CLASS(TstTakings, Core)
#include "tst_takings.moc"
