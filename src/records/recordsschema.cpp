#include "recordsschema.h"

#include "recordsdatabase.h"
#include "recordstexts.h"

#include <QStringList>
#include <array>
#include <string_view>

namespace vx {

namespace {

using Engine = RecordsDatabase::Engine;

// One step: the statements that take a database from the version before to
// this one. %KEY% is an automatically numbered key column, %DATE% and %TIME%
// the types of dates and times, each written as the engine wants them.
struct Step
{
    int version;
    const char *const *statements;
    int count;
};

constexpr const char *kLogTable[] = {
    R"(CREATE TABLE IF NOT EXISTS "TbRegisto" ("ordem" %KEY%, "NMec" INTEGER, "NFab" TEXT, )"
    R"("NAct" INTEGER, "SAct" INTEGER, "Data" %DATE%, "hora" %TIME%))",
    R"(CREATE INDEX IF NOT EXISTS "TbRegisto_NMec" ON "TbRegisto" ("NMec"))",
    R"(CREATE INDEX IF NOT EXISTS "TbRegisto_NFab" ON "TbRegisto" ("NFab"))",
    R"(CREATE INDEX IF NOT EXISTS "TbRegisto_week" ON "TbRegisto" ("SAct", "Data"))",
};

// Numbers given to a unit that the timer has not taken yet: held here so
// that no other bench gets them, until the unit's row is in TbRegisto.
constexpr const char *kReservations[] = {
    R"(CREATE TABLE IF NOT EXISTS "UnitReservations" ("reservation" %KEY%, )"
    R"("NMec" INTEGER NOT NULL UNIQUE, "NFab" TEXT NOT NULL UNIQUE, "NAct" INTEGER, )"
    R"("SAct" INTEGER, "Data" %DATE%, "hora" %TIME%, "host_name" TEXT))",
};

// The service history: every value of a unit at each visit, as JSON text
// keyed by field name.
constexpr const char *kSnapshots[] = {
    R"(CREATE TABLE IF NOT EXISTS "ServiceSnapshots" ("snapshot_id" %KEY%, )"
    R"("reason" TEXT NOT NULL, "manufacturing_number" TEXT, "application_serial" TEXT, )"
    R"("taken_date" %DATE%, "taken_time" %TIME%, "host_name" TEXT, "field_values" TEXT))",
    R"(CREATE INDEX IF NOT EXISTS "ServiceSnapshots_unit" ON "ServiceSnapshots" )"
    R"(("manufacturing_number", "application_serial"))",
};

// A row kept on a PC while the records could not be reached carries a key of
// its own, so that adding it again (a second try, another program on the same
// PC) adds nothing. A reservation keeps the key of the row it will become and
// the unit it was taken for (the manufacturing number and application serial
// the timer had), so that a unit whose writes were cut off is finished with
// the same numbers; "resumable" says that the program writing it gave up, so
// that a bench still writing its unit never has its numbers taken by another
// timer of the same identity. PostgreSQL's INTEGER is 32 bits: NMec becomes
// 64 bits, as SQLite's INTEGER already is.
constexpr const char *kRowKeys[] = {
    R"(ALTER TABLE "TbRegisto" ADD COLUMN "entry_key" TEXT)",
    R"(CREATE UNIQUE INDEX IF NOT EXISTS "TbRegisto_entry_key" ON "TbRegisto" ("entry_key"))",
    R"(ALTER TABLE "UnitReservations" ADD COLUMN "entry_key" TEXT)",
    R"(ALTER TABLE "UnitReservations" ADD COLUMN "for_unit" TEXT)",
    R"(ALTER TABLE "UnitReservations" ADD COLUMN "for_serial" TEXT)",
    R"(ALTER TABLE "UnitReservations" ADD COLUMN "resumable" INTEGER NOT NULL DEFAULT 0)",
    R"(%POSTGRES%ALTER TABLE "TbRegisto" ALTER COLUMN "NMec" TYPE BIGINT)",
    R"(%POSTGRES%ALTER TABLE "UnitReservations" ALTER COLUMN "NMec" TYPE BIGINT)",
};

// The log and the service history are what an owner reads back to know what
// happened to a unit: a row, once written, is never changed or deleted. The
// tool only ever adds to them (a row added twice is skipped by its key, with
// no update), so a trigger refuses any UPDATE or DELETE, whoever sends it, as
// a guard against a slip at a database prompt; the message names the
// operation, the table and, on PostgreSQL, the row. On PostgreSQL a TRUNCATE
// is refused too; SQLite has none. The reservations are left alone: benches
// claim, re-key and free them.
constexpr const char *kKeptRows[] = {
    R"(%POSTGRES%CREATE OR REPLACE FUNCTION "refuse_change_of_kept_row"() RETURNS trigger )"
    R"(LANGUAGE plpgsql AS $body$ )"
    R"(DECLARE what text := TG_TABLE_NAME; )"
    R"(BEGIN )"
    R"(IF TG_LEVEL = 'ROW' THEN )"
    R"(what := format('%s %s %s', TG_TABLE_NAME, TG_ARGV[0], to_jsonb(OLD) ->> TG_ARGV[0]); )"
    R"(END IF; )"
    R"(RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege', MESSAGE = format()"
    R"('%s de %s recusado: as linhas de %s nunca são alteradas nem apagadas. / )"
    R"(%s of %s refused: rows of %s are never changed or deleted.', )"
    R"(TG_OP, what, TG_TABLE_NAME, TG_OP, what, TG_TABLE_NAME); )"
    R"(END $body$)",
    R"(%POSTGRES%CREATE TRIGGER "TbRegisto_kept" BEFORE UPDATE OR DELETE ON "TbRegisto" )"
    R"(FOR EACH ROW EXECUTE FUNCTION "refuse_change_of_kept_row"('NMec'))",
    R"(%POSTGRES%CREATE TRIGGER "TbRegisto_kept_whole" BEFORE TRUNCATE ON "TbRegisto" )"
    R"(FOR EACH STATEMENT EXECUTE FUNCTION "refuse_change_of_kept_row"())",
    R"(%POSTGRES%CREATE TRIGGER "ServiceSnapshots_kept" BEFORE UPDATE OR DELETE ON )"
    R"("ServiceSnapshots" FOR EACH ROW EXECUTE FUNCTION "refuse_change_of_kept_row"('snapshot_id'))",
    R"(%POSTGRES%CREATE TRIGGER "ServiceSnapshots_kept_whole" BEFORE TRUNCATE ON )"
    R"("ServiceSnapshots" FOR EACH STATEMENT EXECUTE FUNCTION "refuse_change_of_kept_row"())",
    R"(%SQLITE%CREATE TRIGGER IF NOT EXISTS "TbRegisto_kept_on_update" BEFORE UPDATE ON )"
    R"("TbRegisto" BEGIN SELECT RAISE(ABORT, 'UPDATE de TbRegisto recusado: as linhas de )"
    R"(TbRegisto nunca são alteradas nem apagadas. / UPDATE of TbRegisto refused: rows of )"
    R"(TbRegisto are never changed or deleted.'); END)",
    R"(%SQLITE%CREATE TRIGGER IF NOT EXISTS "TbRegisto_kept_on_delete" BEFORE DELETE ON )"
    R"("TbRegisto" BEGIN SELECT RAISE(ABORT, 'DELETE de TbRegisto recusado: as linhas de )"
    R"(TbRegisto nunca são alteradas nem apagadas. / DELETE of TbRegisto refused: rows of )"
    R"(TbRegisto are never changed or deleted.'); END)",
    R"(%SQLITE%CREATE TRIGGER IF NOT EXISTS "ServiceSnapshots_kept_on_update" BEFORE UPDATE ON )"
    R"("ServiceSnapshots" BEGIN SELECT RAISE(ABORT, 'UPDATE de ServiceSnapshots recusado: as )"
    R"(linhas de ServiceSnapshots nunca são alteradas nem apagadas. / UPDATE of )"
    R"(ServiceSnapshots refused: rows of ServiceSnapshots are never changed or deleted.'); END)",
    R"(%SQLITE%CREATE TRIGGER IF NOT EXISTS "ServiceSnapshots_kept_on_delete" BEFORE DELETE ON )"
    R"("ServiceSnapshots" BEGIN SELECT RAISE(ABORT, 'DELETE de ServiceSnapshots recusado: as )"
    R"(linhas de ServiceSnapshots nunca são alteradas nem apagadas. / DELETE of )"
    R"(ServiceSnapshots refused: rows of ServiceSnapshots are never changed or deleted.'); END)",
};

// The journal: one row for every value a timer accepted, with the unit, the
// field, the value before and after, how it was changed, when, on which PC and
// by which user of it. A row made while the records could not be reached
// waits on its PC and comes with its key, which the records take once. Kept
// as written, as the log and the history are.
constexpr const char *kJournal[] = {
    R"(CREATE TABLE IF NOT EXISTS "ChangeJournal" ("change_id" %KEY%, )"
    R"("entry_key" TEXT NOT NULL, "manufacturing_number" TEXT, "application_serial" TEXT, )"
    R"("field_name" TEXT NOT NULL, "value_before" TEXT, "value_after" TEXT, )"
    R"("changed_by" TEXT NOT NULL, "changed_date" %DATE%, "changed_time" %TIME%, )"
    R"("host_name" TEXT, "os_user" TEXT))",
    R"(CREATE UNIQUE INDEX IF NOT EXISTS "ChangeJournal_entry_key" ON "ChangeJournal" )"
    R"(("entry_key"))",
    R"(CREATE INDEX IF NOT EXISTS "ChangeJournal_unit" ON "ChangeJournal" )"
    R"(("manufacturing_number", "application_serial"))",
    // A database taken back to an older version by hand keeps its triggers.
    R"(%POSTGRES%DROP TRIGGER IF EXISTS "ChangeJournal_kept" ON "ChangeJournal")",
    R"(%POSTGRES%DROP TRIGGER IF EXISTS "ChangeJournal_kept_whole" ON "ChangeJournal")",
    R"(%POSTGRES%CREATE TRIGGER "ChangeJournal_kept" BEFORE UPDATE OR DELETE ON )"
    R"("ChangeJournal" FOR EACH ROW EXECUTE FUNCTION "refuse_change_of_kept_row"('change_id'))",
    R"(%POSTGRES%CREATE TRIGGER "ChangeJournal_kept_whole" BEFORE TRUNCATE ON )"
    R"("ChangeJournal" FOR EACH STATEMENT EXECUTE FUNCTION "refuse_change_of_kept_row"())",
    R"(%SQLITE%CREATE TRIGGER IF NOT EXISTS "ChangeJournal_kept_on_update" BEFORE UPDATE ON )"
    R"("ChangeJournal" BEGIN SELECT RAISE(ABORT, 'UPDATE de ChangeJournal recusado: as )"
    R"(linhas de ChangeJournal nunca são alteradas nem apagadas. / UPDATE of )"
    R"(ChangeJournal refused: rows of ChangeJournal are never changed or deleted.'); END)",
    R"(%SQLITE%CREATE TRIGGER IF NOT EXISTS "ChangeJournal_kept_on_delete" BEFORE DELETE ON )"
    R"("ChangeJournal" BEGIN SELECT RAISE(ABORT, 'DELETE de ChangeJournal recusado: as )"
    R"(linhas de ChangeJournal nunca são alteradas nem apagadas. / DELETE of )"
    R"(ChangeJournal refused: rows of ChangeJournal are never changed or deleted.'); END)",
};

// A visit made while the records could not be reached waits on its PC, as a
// journal row does, and comes with a key that the records take once. Visits
// stored before there were keys keep none: the unique index lets several
// rows have no key, on both engines. Adding a column changes no row, so the
// triggers that keep the history as written do not stand in the way.
constexpr const char *kSnapshotKeys[] = {
    R"(ALTER TABLE "ServiceSnapshots" ADD COLUMN "entry_key" TEXT)",
    R"(CREATE UNIQUE INDEX IF NOT EXISTS "ServiceSnapshots_entry_key" ON "ServiceSnapshots" )"
    R"(("entry_key"))",
};

const std::array<Step, 7> kSteps{{
    {1, kLogTable, static_cast<int>(std::size(kLogTable))},
    {2, kReservations, static_cast<int>(std::size(kReservations))},
    {3, kSnapshots, static_cast<int>(std::size(kSnapshots))},
    {4, kRowKeys, static_cast<int>(std::size(kRowKeys))},
    {5, kKeptRows, static_cast<int>(std::size(kKeptRows))},
    {6, kJournal, static_cast<int>(std::size(kJournal))},
    {7, kSnapshotKeys, static_cast<int>(std::size(kSnapshotKeys))},
}};

// On a shared server the tables belong to the owner's role, which made them;
// the benches connect as members of the group role vx308_bench, when the
// database administrator made one. It may read everything and add rows to
// the log, the history and the journal, never change or delete them; the reservations it
// also changes and frees, as allocating numbers needs. Given again after every
// change of the schema (a new table gets its share with it), taking back
// anything more that was granted by hand; nothing happens without the role.
const QString kBenchGrants = QStringLiteral(
    R"(DO $grants$ BEGIN )"
    R"(IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'vx308_bench') THEN )"
    R"(REVOKE ALL ON "RecordsSchema", "TbRegisto", "UnitReservations", "ServiceSnapshots", )"
    R"("ChangeJournal" FROM vx308_bench; )"
    R"(GRANT SELECT ON "RecordsSchema" TO vx308_bench; )"
    R"(GRANT SELECT, INSERT ON "TbRegisto", "ServiceSnapshots", "ChangeJournal" TO )"
    R"(vx308_bench; )"
    R"(GRANT SELECT, INSERT, UPDATE, DELETE ON "UnitReservations" TO vx308_bench; )"
    R"(END IF; )"
    R"(END $grants$)");

// The statement as the engine wants it; empty when it is for the other engine
// only (%POSTGRES%: a change SQLite has no need of, %SQLITE% the other way).
QString forEngine(const char *statement, Engine engine)
{
    QString s = QString::fromUtf8(statement);
    const bool postgres = engine == Engine::Postgres;
    const QString postgresOnly = QStringLiteral("%POSTGRES%");
    const QString sqliteOnly = QStringLiteral("%SQLITE%");
    if (s.startsWith(postgresOnly)) {
        if (!postgres) return {};
        s.remove(0, postgresOnly.size());
    } else if (s.startsWith(sqliteOnly)) {
        if (postgres) return {};
        s.remove(0, sqliteOnly.size());
    }
    s.replace(QStringLiteral("%KEY%"), postgres
                                           ? QStringLiteral("BIGINT GENERATED BY DEFAULT AS "
                                                            "IDENTITY PRIMARY KEY")
                                           : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
    s.replace(QStringLiteral("%DATE%"), QStringLiteral("DATE"));
    s.replace(QStringLiteral("%TIME%"),
              postgres ? QStringLiteral("TIME(0)") : QStringLiteral("TIME"));
    return s;
}

const QString kVersionTable =
    QStringLiteral(R"(CREATE TABLE IF NOT EXISTS "RecordsSchema" ("version" INTEGER NOT NULL))");

QString schemaText(std::string_view key, int idioma)
{
    return textOf(kSchemaTexts, key, idioma);
}

bool readVersion(RecordsDatabase &db, int *version, QString *error)
{
    QList<RecordsDatabase::Row> rows;
    if (!db.run(QStringLiteral(R"(SELECT MAX("version") FROM "RecordsSchema")"), {}, &rows, error))
        return false;
    *version = rows.isEmpty() ? 0 : rows.first().value(0).toInt();
    return true;
}

bool tableExists(RecordsDatabase &db, const QString &table, bool *exists, QString *error)
{
    QList<RecordsDatabase::Row> rows;
    const QString sql =
        db.engine() == Engine::Postgres
            ? QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = "
                             "current_schema() AND table_name = ?")
            : QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    if (!db.run(sql, {table}, &rows, error)) return false;
    *exists = !rows.isEmpty();
    return true;
}

// Even CREATE TABLE IF NOT EXISTS needs the right to make tables, which a
// bench's role on a shared server does not have: the table is made only
// when it is missing.
bool versionTableReady(RecordsDatabase &db, QString *error)
{
    bool exists = false;
    if (!tableExists(db, QStringLiteral("RecordsSchema"), &exists, error)) return false;
    return exists || db.run(kVersionTable, {}, nullptr, error);
}

// Every step after `version`, then the benches' share of the tables.
bool applySteps(RecordsDatabase &db, int version, QString *error)
{
    for (const Step &step : kSteps) {
        if (step.version <= version) continue;
        for (int i = 0; i < step.count; ++i) {
            const QString statement = forEngine(step.statements[i], db.engine());
            if (!statement.isEmpty() && !db.run(statement, {}, nullptr, error)) return false;
        }
    }
    return db.engine() != Engine::Postgres || db.run(kBenchGrants, {}, nullptr, error);
}

} // namespace

int RecordsSchema::latestVersion()
{
    return kSteps.back().version;
}

bool RecordsSchema::storedVersion(RecordsDatabase &db, int *version, QString *error)
{
    bool exists = false;
    if (!tableExists(db, QStringLiteral("RecordsSchema"), &exists, error)) return false;
    *version = 0;
    return !exists || readVersion(db, version, error);
}

bool RecordsSchema::bringUpToDate(RecordsDatabase &db, bool *created, QString *error, int idioma)
{
    bool madeLog = false;
    const auto work = [&](QString *failure) {
        int version = 0;
        if (!versionTableReady(db, failure) || !readVersion(db, &version, failure)) return false;
        if (version > latestVersion()) {
            *failure =
                schemaText("newer", idioma).arg(db.where()).arg(version).arg(latestVersion());
            return false;
        }
        if (version == latestVersion()) return true;
        bool logExisted = false;
        if (!tableExists(db, QStringLiteral("TbRegisto"), &logExisted, failure)) return false;
        madeLog = !logExisted;
        if (!applySteps(db, version, failure)) {
            // A bench's role may read and add rows but not change tables.
            if (db.engine() == Engine::Postgres)
                *failure += QLatin1Char(' ') + schemaText("ownerOnly", idioma).arg(version);
            return false;
        }
        return db.run(QStringLiteral(R"(DELETE FROM "RecordsSchema")"), {}, nullptr, failure) &&
               db.run(QStringLiteral(R"(INSERT INTO "RecordsSchema" ("version") VALUES (?))"),
                      {latestVersion()}, nullptr, failure);
    };
    if (!db.writeTransaction(work, error)) return false;
    if (created) *created = madeLog;
    return true;
}

} // namespace vx
