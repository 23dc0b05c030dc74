// A text no database can store (a NUL, half of a surrogate pair), bound on
// the PC's own SQLite file or a PostgreSQL server. Guards against a statement
// PostgreSQL's driver cuts at the NUL ("unterminated quoted string"), a
// transaction left half run, a refusal that does not name the records, the
// table and the column, records that no longer work after it, and a waiting
// row holding such a text that holds up every row behind it.
#include "qtrecordsdatabase.h"
#include "recordsoutbox.h"
#include "recordsplace.h"
#include "servicehistory.h"
#include "statementcolumns.h"
#include "testsuite.h"
#include "text.h"
#include "unitrecords.h"

#include <QTest>

using namespace vx;

class TstUnstorableText : public QObject
{
    Q_OBJECT

private slots:
    void placeholdersNamed_data();
    void placeholdersNamed();
    void refusedBeforeSent_data();
    void refusedBeforeSent();
    void waitingRowLeftAndOthersAdded_data();
    void waitingRowLeftAndOthersAdded();
};

void TstUnstorableText::placeholdersNamed_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("places");

    QTest::newRow("insert") << R"(INSERT INTO "TbRegisto" ("NMec", "NFab", "entry_key") )"
                               R"(VALUES (?, ?, ?) ON CONFLICT ("entry_key") DO NOTHING)"
                            << QStringList{"TbRegisto.NMec", "TbRegisto.NFab",
                                           "TbRegisto.entry_key"};
    QTest::newRow("insert of a computed value")
        << R"(INSERT INTO "T" ("a", "b", "c") VALUES (?, coalesce(?, 'x, y'), ?))"
        << QStringList{"T.a", "T.b", "T.c"};
    QTest::newRow("update") << R"(UPDATE "UnitReservations" SET "entry_key" = ? )"
                               R"(WHERE "reservation" = ?)"
                            << QStringList{"UnitReservations.entry_key",
                                           "UnitReservations.reservation"};
    QTest::newRow("union") << R"(SELECT "NMec" FROM "TbRegisto" WHERE "NFab" = ? UNION ALL )"
                              R"(SELECT "NMec" FROM "UnitReservations" WHERE "NFab" >= ?)"
                           << QStringList{"TbRegisto.NFab", "UnitReservations.NFab"};
    QTest::newRow("no column, quotes in names and texts")
        << R"(SELECT 1 FROM "Odd ""?"" table" WHERE (? = '?' OR "x" = ?) LIMIT ?)"
        << QStringList{"Odd \"?\" table.", "Odd \"?\" table.x", "Odd \"?\" table."};
}

void TstUnstorableText::placeholdersNamed()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, places);
    QStringList got;
    for (const StatementColumns::Place &p : StatementColumns::ofPlaceholders(sql))
        got << p.table + QLatin1Char('.') + p.column;
    QCOMPARE(got, places);
}

void TstUnstorableText::refusedBeforeSent_data()
{
    QTest::addColumn<RecordsEngine>("engine");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal"); // empty: stored as it is

    const struct
    {
        const char *name;
        QString text;
        QString refusal;
    } texts[] = {
        {"nul in a code", QString(QChar(0)) + QStringLiteral("0000"),
         QStringLiteral("a NUL character (U+0000) at place 1")},
        {"nul at the end", QString(QStringLiteral("A2415")).append(QChar(0)),
         QStringLiteral("(U+0000) at place 6")},
        {"lone high surrogate", QStringLiteral("ab") + QChar(0xD83D),
         QStringLiteral("half of a UTF-16 surrogate pair (U+D83D) at place 3")},
        {"lone low surrogate", QString(QChar(0xDE00)) + QStringLiteral("z"),
         QStringLiteral("(U+DE00) at place 1")},
        {"a whole pair", QStringLiteral("ok \U0001F600"), QString()},
    };
    for (const auto &t : texts) {
        QTest::addRow("sqlite, %s", t.name) << RecordsEngine::Sqlite << t.text << t.refusal;
        QTest::addRow("postgresql, %s", t.name) << RecordsEngine::Postgres << t.text << t.refusal;
    }
}

void TstUnstorableText::refusedBeforeSent()
{
    QFETCH(RecordsEngine, engine);
    QFETCH(QString, text);
    QFETCH(QString, refusal);
    const int language = programLanguage();
    setProgramLanguage(1);
    const std::unique_ptr<void, std::function<void(void *)>> restore(
        this, [language](void *) { setProgramLanguage(language); });
    VX_RECORDS_PLACE(place, engine);
    const auto db = place.open();
    QString error;
    QVERIFY2(db->run(QStringLiteral(R"(CREATE TABLE "Probe" ("id" integer, "label" text))"), {},
                     nullptr, &error),
             qPrintable(error));
    const QString insert = QStringLiteral(R"(INSERT INTO "Probe" ("id", "label") VALUES (?, ?))");

    const bool stored = db->transaction(
        [&](QString *failure) {
            return db->run(insert, {1, QStringLiteral("before")}, nullptr, failure) &&
                   db->run(insert, {2, text}, nullptr, failure);
        },
        &error);
    if (refusal.isEmpty()) {
        QVERIFY2(stored, qPrintable(error));
    } else {
        QVERIFY(!stored);
        for (const QString &part : {db->where(), QStringLiteral("label"), QStringLiteral("Probe"),
                                    refusal, QStringLiteral("Nothing was sent")})
            QVERIFY2(error.contains(part), qPrintable(part + QStringLiteral(" not in: ") + error));
        const bool server = engine == RecordsEngine::Postgres;
        QCOMPARE(error.startsWith(QStringLiteral("The records at ")), server);
    }

    // Nothing of the transaction stays; the records take the next statement.
    QVERIFY2(db->run(insert, {3, QStringLiteral("after")}, nullptr, &error), qPrintable(error));
    QList<RecordsDatabase::Row> rows;
    QVERIFY2(db->run(QStringLiteral(R"(SELECT "id", "label" FROM "Probe" ORDER BY "id")"), {},
                     &rows, &error),
             qPrintable(error));
    QStringList got;
    for (const auto &r : rows)
        got << r.value(0).toString() + QLatin1Char('=') + r.value(1).toString();
    QStringList expected{QStringLiteral("3=after")};
    if (refusal.isEmpty())
        expected = QStringList{QStringLiteral("1=before"), QStringLiteral("2=") + text,
                               QStringLiteral("3=after")};
    QCOMPARE(got, expected);
}

void TstUnstorableText::waitingRowLeftAndOthersAdded_data()
{
    QTest::addColumn<RecordsEngine>("engine");
    QTest::newRow("sqlite") << RecordsEngine::Sqlite;
    QTest::newRow("postgresql") << RecordsEngine::Postgres;
}

// A visit kept by a version that stored the timer's code byte as it came
// waits ahead of a unit's log row: it is named and left, the row goes in.
void TstUnstorableText::waitingRowLeftAndOthersAdded()
{
    QFETCH(RecordsEngine, engine);
    VX_RECORDS_PLACE(place, engine);
    const auto db = place.open();
    UnitRecords records(*db);
    QString error;
    QVERIFY2(records.prepare(&error), qPrintable(error));
    QTemporaryDir data;
    RecordsOutbox outbox(data.path(), 1);

    Snapshot visit;
    visit.key = RecordsOutbox::newKey();
    visit.manufacturingNumber = QString(QChar(0)) + QStringLiteral("000");
    visit.applicationSerial = QStringLiteral("5434");
    visit.taken = QDateTime(QDate(2026, 12, 9), QTime(10, 0));
    visit.host = QStringLiteral("bench-1");
    visit.values = {{QStringLiteral("Text_contador"), QStringLiteral("0")}};
    OutboxRow waitingVisit = ServiceHistory::waitingRow(visit, RecordsOutbox::placeOf(*db));
    waitingVisit.queued = QDateTime::currentDateTimeUtc().addSecs(-60);
    QVERIFY2(outbox.keep(waitingVisit, &error), qPrintable(error));
    UnitNumbers numbers;
    QVERIFY2(records.allocate(benchRequest(4, QStringLiteral("bench-1"), QTime(10, 1)), &numbers,
                              &error),
             qPrintable(error));
    QVERIFY2(outbox.keep(UnitRecords::waitingRow(numbers, waitingVisit.records), &error),
             qPrintable(error));

    const RecordsOutbox::Delivery d = outbox.deliver(*db);
    QCOMPARE(d.added, 1);
    QCOMPARE(d.waiting, 1);
    QCOMPARE(d.problems.size(), 1);
    QVERIFY2(d.problems.first().contains(ServiceHistory::table()) &&
                 d.problems.first().contains(QStringLiteral("no database can store")),
             qPrintable(d.problems.first()));
    QCOMPARE(place.sql({QStringLiteral(R"(SELECT count(*) FROM "TbRegisto")")}),
             QStringList{QStringLiteral("1")});
    QCOMPARE(place.sql({QStringLiteral(R"(SELECT count(*) FROM "ServiceSnapshots")")}),
             QStringList{QStringLiteral("0")});
}

VX_TEST_CLASS(TstUnstorableText, Core)
#include "tst_unstorabletext.moc"
