// The log's numbers at the top of their range, on both engines. Guards
// against NMec wrapping to a negative number past 32 bits (every later unit
// then given the same one), a log at its largest NMec given one more, and an
// import that copies a row with no numbers as NMec 0 or cuts a number short.
#include "recordsplace.h"
#include "testsuite.h"
#include "unitrecords.h"

#include <QTest>

using namespace vx;

namespace {

UnitRequest numbersRequest(int number)
{
    return benchRequest(number, QStringLiteral("bench-numbers"), QTime(9, 0, 0));
}

// A PC's own Registo.db of an earlier version holding these rows (SQL values).
bool writeRegisto(const QString &file, const QStringList &values)
{
    QStringList sql{QStringLiteral(
        R"(CREATE TABLE "TbRegisto" ("ordem" INTEGER PRIMARY KEY AUTOINCREMENT, "NMec" INTEGER, )"
        R"("NFab" TEXT, "NAct" INTEGER, "SAct" INTEGER, "Data" DATE, "hora" TIME))")};
    for (const QString &v : values)
        sql << QStringLiteral(R"(INSERT INTO "TbRegisto" ("NMec", "NFab", "NAct", "SAct", "Data", )"
                              R"("hora") VALUES (%1))")
                   .arg(v);
    bool ok = false;
    DataFolder::sql(file, sql, &ok);
    return ok;
}

} // namespace

class TstUnitNumbers : public QObject
{
    Q_OBJECT

private slots:
    void pastThirtyTwoBits_data();
    void pastThirtyTwoBits();
    void largestNMecRefused_data();
    void largestNMecRefused();
    void importRefusesRowsWithoutNumbers_data();
    void importRefusesRowsWithoutNumbers();
};

void TstUnitNumbers::pastThirtyTwoBits_data()
{
    QTest::addColumn<RecordsEngine>("engine");
    QTest::addColumn<qint64>("highest"); // the imported log's highest NMec
    for (const RecordsEngine e : {RecordsEngine::Sqlite, RecordsEngine::Postgres}) {
        const QByteArray name = e == RecordsEngine::Sqlite ? "sqlite" : "postgresql";
        QTest::newRow(name + ", 2^31 - 1") << e << qint64(2147483647);
        QTest::newRow(name + ", 2^31") << e << qint64(2147483648LL);
        QTest::newRow(name + ", 2^53 + 1") << e << qint64(9007199254740993LL);
    }
}

// The log's highest NMec comes from an import; three new units follow it.
void TstUnitNumbers::pastThirtyTwoBits()
{
    QFETCH(RecordsEngine, engine);
    QFETCH(qint64, highest);
    QTemporaryDir bench;
    const QString file = bench.filePath(QStringLiteral("Registo.db"));
    QVERIFY(writeRegisto(file, {QStringLiteral("%1, 'A2449001', 1, 49, '2026-12-01', "
                                               "'08:00:00'")
                                    .arg(highest)}));
    QList<LogRow> source;
    QStringList unusable;
    QString error;
    {
        QtRecordsDatabase benchLog(RecordsLocation::sqliteFile(file),
                                   QtRecordsDatabase::Mode::MustExist);
        QVERIFY2(UnitRecords::readLog(benchLog, &source, &error, &unusable), qPrintable(error));
    }
    QVERIFY2(unusable.isEmpty(), qPrintable(unusable.join('\n')));
    QCOMPARE(source.first().NMec, highest);

    VX_RECORDS_PLACE(place, engine);
    const auto db = place.open();
    UnitRecords records(*db);
    QVERIFY2(records.prepare(&error), qPrintable(error));
    ImportOutcome outcome;
    QVERIFY2(records.importUnits(source, &outcome, &error), qPrintable(error));
    QCOMPARE(outcome.copied, 1);
    for (int i = 1; i <= 3; ++i) {
        UnitNumbers n;
        QVERIFY2(records.allocate(numbersRequest(i), &n, &error), qPrintable(error));
        QCOMPARE(n.row.NMec, highest + i);
        QVERIFY2(records.log(n, &error), qPrintable(error));
    }
    QList<LogRow> log;
    QVERIFY2(records.listUnits(&log, &error), qPrintable(error));
    QCOMPARE(log.size(), 4);
    QCOMPARE(log.last().NMec, highest + 3);
    LastLogRow last;
    QVERIFY2(records.readLastLogRow(&last, &error), qPrintable(error));
    QCOMPARE(last.NMec, highest + 3);
}

void TstUnitNumbers::largestNMecRefused_data()
{
    QTest::addColumn<RecordsEngine>("engine");
    QTest::addColumn<int>("idioma");
    QTest::addColumn<QString>("says");
    QTest::newRow("sqlite") << RecordsEngine::Sqlite << 0 << "maior NMec";
    QTest::newRow("postgresql") << RecordsEngine::Postgres << 1 << "largest NMec";
}

void TstUnitNumbers::largestNMecRefused()
{
    QFETCH(RecordsEngine, engine);
    QFETCH(int, idioma);
    QFETCH(QString, says);
    VX_RECORDS_PLACE(place, engine);
    const auto db = place.open();
    UnitRecords records(*db);
    records.setLanguage(idioma);
    QString error;
    QVERIFY2(records.prepare(&error), qPrintable(error));
    ImportOutcome outcome;
    QVERIFY2(records.importUnits({{UnitRecords::kLargestNMec, QStringLiteral("A2449001"), 1, 49,
                                   QDate(2026, 12, 1), QTime(8, 0)}},
                                 &outcome, &error),
             qPrintable(error));
    QCOMPARE(outcome.copied, 1);
    UnitNumbers n;
    QVERIFY(!records.allocate(numbersRequest(1), &n, &error));
    QVERIFY2(error.contains(says) && error.contains(QString::number(UnitRecords::kLargestNMec)) &&
                 error.contains(db->where()),
             qPrintable(error));
    QCOMPARE(place.sql({QStringLiteral(R"(SELECT count(*) FROM "UnitReservations")")}),
             QStringList{QStringLiteral("0")});
}

void TstUnitNumbers::importRefusesRowsWithoutNumbers_data()
{
    QTest::addColumn<QString>("row"); // the second of three rows
    QTest::addColumn<QString>("says");
    QTest::newRow("nulls") << "NULL, NULL, NULL, NULL, NULL, NULL"
                           << "\"NULL\"";
    QTest::newRow("no NFab") << "5, NULL, 1, 49, '2026-12-01', '08:00:00'"
                             << "NFab";
    QTest::newRow("empty NFab") << "5, '', 1, 49, '2026-12-01', '08:00:00'"
                                << "NFab";
    QTest::newRow("zero") << "0, 'A2449002', 2, 49, '2026-12-01', '08:00:00'"
                          << "\"0\"";
    QTest::newRow("negative") << "-3, 'A2449002', 2, 49, '2026-12-01', '08:00:00'"
                              << "\"-3\"";
    QTest::newRow("fraction") << "2.5, 'A2449002', 2, 49, '2026-12-01', '08:00:00'"
                              << "\"2.5\"";
    QTest::newRow("past 64 bits")
        << "9223372036854775808, 'A2449002', 2, 49, '2026-12-01', '08:00:00'"
        << "NMec";
    QTest::newRow("text") << "'dois', 'A2449002', 2, 49, '2026-12-01', '08:00:00'"
                          << "dois";
}

// Nothing is copied, and the row is named by its place in the log.
void TstUnitNumbers::importRefusesRowsWithoutNumbers()
{
    QFETCH(QString, row);
    QFETCH(QString, says);
    QTemporaryDir bench;
    const QString file = bench.filePath(QStringLiteral("Registo.db"));
    QVERIFY(
        writeRegisto(file, {QStringLiteral("1, 'A2449001', 1, 49, '2026-12-01', '08:00:00'"), row,
                            QStringLiteral("3, 'A2449003', 3, 49, '2026-12-01', "
                                           "'09:00:00'")}));
    QtRecordsDatabase benchLog(RecordsLocation::sqliteFile(file),
                               QtRecordsDatabase::Mode::MustExist);
    QList<LogRow> rows;
    QStringList unusable;
    QString error;
    QVERIFY2(UnitRecords::readLog(benchLog, &rows, &error, &unusable, 1), qPrintable(error));
    QCOMPARE(unusable.size(), 1);
    QVERIFY2(unusable.first().startsWith("Row 2 ") && unusable.first().contains(says),
             qPrintable(unusable.first()));
    QCOMPARE(rows.size(), 2);

    // Given to the import anyway, as read without the check, it is refused.
    QList<LogRow> unchecked;
    QVERIFY2(UnitRecords::readLog(benchLog, &unchecked, &error), qPrintable(error));
    VX_RECORDS_PLACE(place, RecordsEngine::Sqlite);
    const auto db = place.open();
    UnitRecords records(*db);
    QVERIFY2(records.prepare(&error), qPrintable(error));
    ImportOutcome outcome;
    QVERIFY2(records.importUnits(unchecked, &outcome, &error), qPrintable(error));
    if (unchecked.at(1).NMec < 1 || unchecked.at(1).NFab.isEmpty()) {
        QCOMPARE(outcome.copied, 0);
        QVERIFY2(outcome.refused.size() == 1 && outcome.refused.first().contains("2 ("),
                 qPrintable(outcome.refused.join('\n')));
    }
}

VX_TEST_CLASS(TstUnitNumbers, Core)
#include "tst_unitnumbers.moc"
