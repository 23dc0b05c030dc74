// vx308-bench-records: how long a bench waits for a new unit's numbers when
// several benches share the unit records at once, how long the list of all
// units takes, and the takings by unit over a year of visits, on a PostgreSQL
// server and on the PC's own SQLite file.
//
// Each bench is a thread with a connection of its own that accepts units one
// after another (UnitRecords::allocate, then log), all benches starting at the
// same moment. See README.md.

#include "pgserver.h"
#include "qtrecordsdatabase.h"
#include "recordslocation.h"
#include "takingsrun.h"
#include "unitrecords.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <latch>
#include <thread>
#include <vector>

namespace {

constexpr double kP99GoalMs = 50;
constexpr double kListGoalMs = 200;
// The takings window comes up within a second with a year of the fleet.
constexpr double kTakingsGoalMs = 1000;

using vx::QtRecordsDatabase;
using vx::RecordsLocation;
using vx::UnitRecords;

struct Run
{
    std::vector<double> ms; // one per unit, every bench's
    double seconds = 0;
    QString error; // the first failure, empty when none
};

double percentile(std::vector<double> v, double share)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const auto rank = size_t(std::ceil(share * double(v.size())));
    return v[std::clamp<size_t>(rank, 1, v.size()) - 1];
}

// The numbers of 50 weeks are shared out so that no week runs out of its 256
// running numbers however many units the run accepts.
vx::UnitRequest request(int unit, const QString &host)
{
    vx::UnitRequest r;
    r.week = unit % 50 + 1;
    r.code = QStringLiteral("A26%1").arg(r.week, 2, 10, QLatin1Char('0'));
    r.number = r.proposed = 1;
    const QDateTime now = QDateTime::currentDateTime();
    r.date = now.date();
    r.time = now.time();
    r.host = host;
    return r;
}

// One bench: its own connection, `units` new units one after another.
void bench(const RecordsLocation &where, int number, int units, std::latch &go,
           std::vector<double> *ms, QString *error)
{
    QtRecordsDatabase db(where, QtRecordsDatabase::Mode::CreateIfMissing);
    UnitRecords records(db);
    const QString host = QStringLiteral("bench-%1").arg(number);
    QString why;
    const bool connected = db.connect(&why);
    go.arrive_and_wait();
    if (!connected) {
        *error = why;
        return;
    }
    QElapsedTimer t;
    for (int i = 0; i < units; ++i) {
        vx::UnitNumbers n;
        t.start();
        if (!records.allocate(request(i, host), &n, &why) || !records.log(n, &why)) {
            *error = why;
            return;
        }
        ms->push_back(double(t.nsecsElapsed()) / 1e6);
    }
}

Run allocations(const RecordsLocation &where, int benches, int units)
{
    Run run;
    {
        QtRecordsDatabase db(where, QtRecordsDatabase::Mode::CreateIfMissing);
        if (!UnitRecords(db).prepare(&run.error)) return run;
    }
    std::vector<std::vector<double>> ms(static_cast<size_t>(benches));
    std::vector<QString> errors(static_cast<size_t>(benches));
    std::latch go(benches + 1);
    std::vector<std::thread> threads;
    for (int b = 0; b < benches; ++b)
        threads.emplace_back(bench, std::cref(where), b + 1, units, std::ref(go), &ms[size_t(b)],
                             &errors[size_t(b)]);
    QElapsedTimer wall;
    go.arrive_and_wait();
    wall.start();
    for (std::thread &t : threads)
        t.join();
    run.seconds = double(wall.nsecsElapsed()) / 1e9;
    for (int b = 0; b < benches; ++b) {
        run.ms.insert(run.ms.end(), ms[size_t(b)].begin(), ms[size_t(b)].end());
        if (run.error.isEmpty()) run.error = errors[size_t(b)];
    }
    return run;
}

// The log filled with `rows` units (one import), then listed five times.
Run listing(const RecordsLocation &where, int rows)
{
    Run run;
    QtRecordsDatabase db(where, QtRecordsDatabase::Mode::CreateIfMissing);
    UnitRecords records(db);
    QList<vx::LogRow> log;
    const QDate day(2026, 1, 5);
    for (int i = 0; i < rows; ++i)
        log.append({i + 1, QStringLiteral("B%1").arg(i + 1, 6, 10, QLatin1Char('0')), i % 256,
                    i / 256 % 54, day.addDays(i / 256), QTime(8, 0).addSecs(i % 3600)});
    vx::ImportOutcome outcome;
    if (!records.prepare(&run.error) || !records.importUnits(log, &outcome, &run.error)) return run;
    QElapsedTimer t;
    for (int i = 0; i < 5; ++i) {
        QList<vx::LogRow> out;
        t.start();
        if (!records.listUnits(&out, &run.error)) return run;
        run.ms.push_back(double(t.nsecsElapsed()) / 1e6);
        if (out.size() != rows) {
            run.error = QStringLiteral("the list has %1 rows, not %2").arg(out.size()).arg(rows);
            return run;
        }
    }
    return run;
}

// A fresh database for each run, so that every run starts from an empty log.
class Places
{
public:
    explicit Places(const QString &folder) : m_dir(folder + QStringLiteral("/vx308-bench-XXXXXX"))
    {
    }

    bool startServer(QString *error) { return m_server.start(error); }
    bool sqlite(RecordsLocation *out, QString *error)
    {
        if (!m_dir.isValid()) {
            *error = QStringLiteral("cannot make a folder: %1").arg(m_dir.errorString());
            return false;
        }
        *out = RecordsLocation::sqliteFile(
            m_dir.filePath(QStringLiteral("Registo-%1.db").arg(++m_files)));
        return true;
    }
    bool postgres(RecordsLocation *out, QString *error)
    {
        QString name;
        return m_server.createDatabase(&name, error) &&
               RecordsLocation::parse(m_server.uri(name), out, error);
    }

private:
    QTemporaryDir m_dir;
    PgServer m_server{PgServer::Durability::Durable};
    int m_files = 0;
};

struct Options
{
    QList<int> benches{2, 8};
    int units = 100;
    int rows = 10000;
    int takingsUnits = 200;
    int takingsVisits = 50;
    bool takingsOnly = false;
    bool sqlite = true;
    bool postgres = true;
    QString folder;
};

bool parse(const QCoreApplication &app, Options *o)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("New-unit allocation and the unit list, on "
                                               "PostgreSQL and SQLite."));
    p.addHelpOption();
    const QCommandLineOption units(QStringLiteral("units"), QStringLiteral("units per bench (100)"),
                                   QStringLiteral("N"));
    const QCommandLineOption benches(QStringLiteral("benches"),
                                     QStringLiteral("benches at once, a list (2,8)"),
                                     QStringLiteral("LIST"));
    const QCommandLineOption rows(QStringLiteral("rows"), QStringLiteral("rows listed (10000)"),
                                  QStringLiteral("N"));
    const QCommandLineOption only(QStringLiteral("only"), QStringLiteral("sqlite or postgresql"),
                                  QStringLiteral("ENGINE"));
    const QCommandLineOption takingsOnly(QStringLiteral("takings-only"),
                                         QStringLiteral("only the takings by unit"));
    const QCommandLineOption folder(
        QStringLiteral("folder"), QStringLiteral("where the SQLite files go (the current folder)"),
        QStringLiteral("DIR"), QStringLiteral("."));
    const QCommandLineOption fleet(QStringLiteral("fleet"),
                                   QStringLiteral("takings: units and visits of each (200x50)"),
                                   QStringLiteral("UxV"));
    p.addOptions({units, benches, rows, only, folder, fleet, takingsOnly});
    p.process(app);
    bool ok = true;
    if (p.isSet(units)) o->units = p.value(units).toInt(&ok);
    if (ok && p.isSet(rows)) o->rows = p.value(rows).toInt(&ok);
    if (ok && p.isSet(benches)) {
        o->benches.clear();
        for (const QString &b : p.value(benches).split(QLatin1Char(',')))
            if (ok) o->benches << b.toInt(&ok);
    }
    if (ok && p.isSet(fleet)) {
        const QStringList uv = p.value(fleet).split(QLatin1Char('x'));
        o->takingsUnits = uv.value(0).toInt(&ok);
        if (ok) o->takingsVisits = uv.value(1).toInt(&ok);
        ok = ok && o->takingsUnits > 0 && o->takingsVisits > 0;
    }
    const QString engine = p.value(only);
    o->sqlite = engine.isEmpty() || engine == QLatin1String("sqlite");
    o->postgres = engine.isEmpty() || engine == QLatin1String("postgresql");
    o->folder = p.value(folder);
    o->takingsOnly = p.isSet(takingsOnly);
    return ok && o->units > 0 && o->rows > 0 && (o->sqlite || o->postgres) &&
           std::all_of(o->benches.begin(), o->benches.end(), [](int b) { return b > 0; });
}

using PlaceMaker = bool (Places::*)(RecordsLocation *, QString *);

// One engine's lines of the table; false when a goal was missed or a run failed.
bool measure(const char *engine, Places &places, PlaceMaker make, const Options &o, bool goals)
{
    bool met = true;
    RecordsLocation where;
    QString error;
    for (const int b : o.benches) {
        const Run run =
            (places.*make)(&where, &error) ? allocations(where, b, o.units) : Run{{}, 0, error};
        if (!run.error.isEmpty()) {
            std::printf("%-11s %7d  failed: %s\n", engine, b, qPrintable(run.error));
            met = false;
            continue;
        }
        const double p99 = percentile(run.ms, 0.99);
        const bool ok = !goals || p99 < kP99GoalMs;
        met = met && ok;
        std::printf("%-11s %7d %6zu %9.2f %8.2f %9.2f %8.0f  %s\n", engine, b, run.ms.size(),
                    percentile(run.ms, 0.5), p99, percentile(run.ms, 1),
                    double(run.ms.size()) / run.seconds, goals ? (ok ? "ok" : "OVER") : "");
        std::fflush(stdout);
    }
    const Run list = (places.*make)(&where, &error) ? listing(where, o.rows) : Run{{}, 0, error};
    if (!list.error.isEmpty()) {
        std::printf("%-11s listing %d rows failed: %s\n", engine, o.rows, qPrintable(list.error));
        return false;
    }
    const double median = percentile(list.ms, 0.5);
    const bool ok = !goals || median < kListGoalMs;
    std::printf("%-11s listing %d rows: median %.1f ms, worst %.1f ms  %s\n", engine, o.rows,
                median, percentile(list.ms, 1), goals ? (ok ? "ok" : "OVER") : "");
    std::fflush(stdout);
    return met && ok;
}

// The year's takings report on a fresh database; false when it missed its goal
// or failed.
bool measureTakings(const char *engine, Places &places, PlaceMaker make, const Options &o)
{
    RecordsLocation where;
    QString error;
    const TakingsRun run = (places.*make)(&where, &error)
                               ? takingsRun(where, o.takingsUnits, o.takingsVisits)
                               : TakingsRun{{}, {}, 0, 0, error};
    if (!run.error.isEmpty()) {
        std::printf("%-11s takings failed: %s\n", engine, qPrintable(run.error));
        return false;
    }
    const double median = percentile(run.ms, 0.5);
    const bool ok = median < kTakingsGoalMs;
    std::printf("%-11s takings of a year, %d units x %d visits: median %.1f ms (reading the "
                "snapshots %.1f ms), worst %.1f ms (filled in %.1f s)  %s\n",
                engine, o.takingsUnits, o.takingsVisits, median, percentile(run.readMs, 0.5),
                percentile(run.ms, 1), run.fillSeconds, ok ? "ok" : "OVER");
    std::fflush(stdout);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options o;
    if (!parse(app, &o)) {
        std::fprintf(stderr, "vx308-bench-records: bad arguments (--help)\n");
        return 2;
    }
    Places places(QDir(o.folder).absolutePath());
    QString error;
    if (o.postgres && (!PgServer::installed(&error) || !places.startServer(&error))) {
        std::fprintf(stderr, "vx308-bench-records: no PostgreSQL server: %s\n", qPrintable(error));
        return 2;
    }
    std::printf("goals (PostgreSQL): 99th percentile of allocate + log under %.0f ms, "
                "listing under %.0f ms; (both) takings of a year under %.0f ms\n\n",
                kP99GoalMs, kListGoalMs, kTakingsGoalMs);
    std::printf("%-11s %7s %6s %9s %8s %9s %8s\n", "records", "benches", "units", "median ms",
                "p99 ms", "worst ms", "units/s");
    bool met = true;
    if (o.postgres && !o.takingsOnly)
        met = measure("postgresql", places, &Places::postgres, o, true);
    if (o.sqlite && !o.takingsOnly) measure("sqlite", places, &Places::sqlite, o, false);
    if (o.postgres) met = measureTakings("postgresql", places, &Places::postgres, o) && met;
    if (o.sqlite) met = measureTakings("sqlite", places, &Places::sqlite, o) && met;
    return met ? 0 : 1;
}
