// The unit log, the service history and the journal are kept as written. Guards against: a
// bench's role on a shared server that may change or delete a logged unit or
// a visit; a bench that cannot allocate, log or keep a visit because its role
// lacks a right the tool needs (the reservations are changed and freed); a
// table owner or a local file whose rows an UPDATE or DELETE rewrites with no
// word; a refusal that does not say what was refused; a bench that tries to
// change the tables itself and fails with no hint of who can.
#include "changejournal.h"
#include "clock.h"
#include "fixedclock.h"
#include "recordsplace.h"
#include "servicehistory.h"
#include "testsuite.h"
#include "unitrecords.h"

#include <QTest>

using namespace vx;

namespace {

const QString kOwnerRole = QStringLiteral("vx308_owner");
const QString kBenchRole = QStringLiteral("bench_a"); // a member of vx308_bench

// The two roles a database administrator makes, as the README tells; the
// benches' group role before the owner first runs the tool.
bool makeOwnerAndBenchRoles(RecordsPlace &place)
{
    bool ok = false;
    place.sql(
        {QStringLiteral("DO $$ BEGIN "
                        "IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'vx308_owner') THEN "
                        "CREATE ROLE vx308_owner LOGIN; END IF; "
                        "IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'vx308_bench') THEN "
                        "CREATE ROLE vx308_bench NOLOGIN; END IF; "
                        "IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'bench_a') THEN "
                        "CREATE ROLE bench_a LOGIN IN ROLE vx308_bench; END IF; END $$"),
         QStringLiteral("ALTER DATABASE %1 OWNER TO vx308_owner").arg(place.database)},
        &ok);
    return ok;
}

// The same database, reached as another role.
RecordsLocation reachedAs(const RecordsPlace &place, const QString &role)
{
    RecordsLocation l = place.location;
    l.user = role;
    return l;
}

UnitRequest firstUnitRequest()
{
    UnitRequest r;
    r.code = QStringLiteral("A2650");
    r.number = r.proposed = 1;
    r.week = 50;
    r.date = QDate(2026, 12, 9);
    r.time = QTime(10, 0, 0);
    r.host = QStringLiteral("bench-1");
    return r;
}

// A unit allocated, logged and visited once through the tool; false with
// the reason.
bool logAndVisitOneUnit(RecordsDatabase &db, QString *error)
{
    UnitRecords records(db);
    UnitNumbers n;
    if (!records.prepare(error) || !records.allocate(firstUnitRequest(), &n, error) ||
        !records.log(n, error))
        return false;
    FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(10, 5)));
    ServiceHistory history(db, clock, QStringLiteral("bench-1"));
    Snapshot s;
    s.manufacturingNumber = n.row.NFab;
    s.applicationSerial = QStringLiteral("7001");
    s.taken = clock.now();
    s.host = QStringLiteral("bench-1");
    s.values.insert(QStringLiteral("Text_Acumulado"), QStringLiteral("1523,00"));
    qlonglong id = 0;
    JournalEntry change;
    change.key = QStringLiteral("one-change");
    change.manufacturingNumber = n.row.NFab;
    change.applicationSerial = QStringLiteral("7001");
    change.field = QStringLiteral("Text_S00");
    change.before = QStringLiteral("1,00");
    change.after = QStringLiteral("1,50");
    change.how = QStringLiteral("window");
    change.when = clock.now();
    return history.store(s, &id, error) && ChangeJournal(db).add({change}, error);
}

void addRewrites()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("refused"); // what the refusal names
    QTest::newRow("log-update") << R"(UPDATE "TbRegisto" SET "NFab" = 'A265099')"
                                << "UPDATE de TbRegisto";
    QTest::newRow("log-delete") << R"(DELETE FROM "TbRegisto")"
                                << "DELETE de TbRegisto";
    QTest::newRow("history-update") << R"(UPDATE "ServiceSnapshots" SET "field_values" = '{}')"
                                    << "UPDATE de ServiceSnapshots";
    QTest::newRow("history-delete") << R"(DELETE FROM "ServiceSnapshots")"
                                    << "DELETE de ServiceSnapshots";
    QTest::newRow("journal-update") << R"(UPDATE "ChangeJournal" SET "value_after" = '9,99')"
                                    << "UPDATE de ChangeJournal";
    QTest::newRow("journal-delete") << R"(DELETE FROM "ChangeJournal")"
                                    << "DELETE de ChangeJournal";
}

int rowCountOf(RecordsDatabase &db, const QString &table)
{
    QList<RecordsDatabase::Row> rows;
    QString error;
    if (!db.run(QStringLiteral(R"(SELECT count(*) FROM "%1")").arg(table), {}, &rows, &error))
        return -1;
    return rows.value(0).value(0).toInt();
}

// The owner's run that makes the tables and brings them up to date.
bool ownerMakesTables(RecordsPlace &place, QString *error)
{
    QtRecordsDatabase owner(reachedAs(place, kOwnerRole), QtRecordsDatabase::Mode::CreateIfMissing);
    return UnitRecords(owner).prepare(error);
}

} // namespace

class TstAppendOnly : public QObject
{
    Q_OBJECT

private slots:
    void benchRoleNeverRewrites_data() { addRewrites(); }
    void benchRoleNeverRewrites();
    void ownerRefusedByTrigger_data() { addRewrites(); }
    void ownerRefusedByTrigger();
    void localFileRefuses_data() { addRewrites(); }
    void localFileRefuses();
    void benchLeavesUpgradeToOwner();
};

// The owner makes the tables; the bench, connected as its own role, logs a
// new unit and keeps a visit, and may neither change nor delete either.
void TstAppendOnly::benchRoleNeverRewrites()
{
    QFETCH(QString, statement);
    VX_RECORDS_PLACE(place, RecordsEngine::Postgres);
    QVERIFY(makeOwnerAndBenchRoles(place));
    QString error;
    QVERIFY2(ownerMakesTables(place, &error), qPrintable(error));
    QtRecordsDatabase bench(reachedAs(place, kBenchRole), QtRecordsDatabase::Mode::CreateIfMissing);
    QVERIFY2(logAndVisitOneUnit(bench, &error), qPrintable(error));

    QVERIFY(!bench.run(statement, {}, nullptr, &error));
    QVERIFY2(error.contains(QStringLiteral("permission denied")), qPrintable(error));
    QCOMPARE(rowCountOf(bench, QStringLiteral("TbRegisto")), 1);
    QCOMPARE(rowCountOf(bench, QStringLiteral("ServiceSnapshots")), 1);
    QCOMPARE(rowCountOf(bench, QStringLiteral("ChangeJournal")), 1);
    QCOMPARE(place.sql({QStringLiteral(R"(SELECT "NFab" FROM "TbRegisto")")}),
             QStringList{QStringLiteral("A26501")});
}

// Not even the owner rewrites a row by accident; the refusal names the
// operation, the table and the row.
void TstAppendOnly::ownerRefusedByTrigger()
{
    QFETCH(QString, statement);
    QFETCH(QString, refused);
    VX_RECORDS_PLACE(place, RecordsEngine::Postgres);
    QVERIFY(makeOwnerAndBenchRoles(place));
    QtRecordsDatabase owner(reachedAs(place, kOwnerRole), QtRecordsDatabase::Mode::CreateIfMissing);
    QString error;
    QVERIFY2(logAndVisitOneUnit(owner, &error), qPrintable(error));

    QVERIFY(!owner.run(statement, {}, nullptr, &error));
    QVERIFY2(error.contains(refused), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral(" refused: rows of ")), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("NMec 1")) ||
                 error.contains(QStringLiteral("snapshot_id 1")) ||
                 error.contains(QStringLiteral("change_id 1")),
             qPrintable(error));
    QVERIFY(
        !owner.run(QStringLiteral(R"(TRUNCATE "TbRegisto", "ServiceSnapshots", "ChangeJournal")"),
                   {}, nullptr, &error));
    QCOMPARE(rowCountOf(owner, QStringLiteral("TbRegisto")), 1);
    QCOMPARE(rowCountOf(owner, QStringLiteral("ServiceSnapshots")), 1);
    QCOMPARE(rowCountOf(owner, QStringLiteral("ChangeJournal")), 1);
}

// The PC's own file, made new or brought up from an older version, refuses
// the same.
void TstAppendOnly::localFileRefuses()
{
    QFETCH(QString, statement);
    QFETCH(QString, refused);
    VX_RECORDS_PLACE(place, RecordsEngine::Sqlite);
    auto db = place.open();
    QString error;
    QVERIFY2(UnitRecords(*db).prepare(&error), qPrintable(error));
    // Taken back to the version before, which had no guard (nor the keys of
    // visits, which came later).
    bool ok = false;
    place.sql({QStringLiteral(R"(DROP TRIGGER "TbRegisto_kept_on_update")"),
               QStringLiteral(R"(DROP TRIGGER "TbRegisto_kept_on_delete")"),
               QStringLiteral(R"(DROP TRIGGER "ServiceSnapshots_kept_on_update")"),
               QStringLiteral(R"(DROP TRIGGER "ServiceSnapshots_kept_on_delete")"),
               QStringLiteral(R"(DROP INDEX "ServiceSnapshots_entry_key")"),
               QStringLiteral(R"(ALTER TABLE "ServiceSnapshots" DROP COLUMN "entry_key")"),
               QStringLiteral(R"(UPDATE "RecordsSchema" SET "version" = 4)")},
              &ok);
    QVERIFY(ok);
    QVERIFY2(logAndVisitOneUnit(*db, &error), qPrintable(error));

    QVERIFY(!db->run(statement, {}, nullptr, &error));
    QVERIFY2(error.contains(refused), qPrintable(error));
    QCOMPARE(rowCountOf(*db, QStringLiteral("TbRegisto")), 1);
    QCOMPARE(rowCountOf(*db, QStringLiteral("ServiceSnapshots")), 1);
    QCOMPARE(rowCountOf(*db, QStringLiteral("ChangeJournal")), 1);
}

// Tables of an older version, met by a bench first: it cannot change them,
// says who can, and works once the owner ran the tool.
void TstAppendOnly::benchLeavesUpgradeToOwner()
{
    VX_RECORDS_PLACE(place, RecordsEngine::Postgres);
    QVERIFY(makeOwnerAndBenchRoles(place));
    QString error;
    QVERIFY2(ownerMakesTables(place, &error), qPrintable(error));
    // As a version without the guard (nor the keys of visits) left them.
    bool ok = false;
    place.sql(
        {QStringLiteral(R"(DROP TRIGGER "TbRegisto_kept" ON "TbRegisto")"),
         QStringLiteral(R"(DROP TRIGGER "TbRegisto_kept_whole" ON "TbRegisto")"),
         QStringLiteral(R"(DROP TRIGGER "ServiceSnapshots_kept" ON "ServiceSnapshots")"),
         QStringLiteral(R"(DROP TRIGGER "ServiceSnapshots_kept_whole" ON "ServiceSnapshots")"),
         QStringLiteral(R"(ALTER TABLE "ServiceSnapshots" DROP COLUMN "entry_key")"),
         QStringLiteral(R"(UPDATE "RecordsSchema" SET "version" = 4)")},
        &ok);
    QVERIFY(ok);

    QtRecordsDatabase bench(reachedAs(place, kBenchRole), QtRecordsDatabase::Mode::CreateIfMissing);
    UnitRecords english(bench);
    english.setLanguage(1);
    QVERIFY(!english.prepare(&error));
    QVERIFY2(error.contains(QStringLiteral("run the program once connected as that role")),
             qPrintable(error));
    int version = 0;
    QVERIFY(english.storedVersion(&version, &error));
    QCOMPARE(version, 4);

    QtRecordsDatabase owner(reachedAs(place, kOwnerRole), QtRecordsDatabase::Mode::CreateIfMissing);
    QVERIFY2(UnitRecords(owner).prepare(&error), qPrintable(error));
    QVERIFY2(logAndVisitOneUnit(bench, &error), qPrintable(error));
    QVERIFY(!bench.run(QStringLiteral(R"(DELETE FROM "TbRegisto")"), {}, nullptr, &error));
}

VX_TEST_CLASS(TstAppendOnly, Core)

#include "tst_appendonly.moc"
