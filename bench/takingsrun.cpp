#include "takingsrun.h"

#include "clock.h"
#include "qtrecordsdatabase.h"
#include "servicehistory.h"
#include "takingsreport.h"
#include "unitrecords.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QDate kYear(2026, 1, 1);
const QDate kLastDay(2026, 12, 31);

// A visit's values as the window would show them: every value a snapshot
// keeps, so that the rows are as long as real ones.
QString valuesOf(int unit, int visit, int sinceClear)
{
    QJsonObject values;
    for (const QString &field : vx::ServiceHistory::valueFields())
        values.insert(field, field.startsWith(QLatin1String("Check_")) ? QStringLiteral("0")
                                                                       : QStringLiteral("7"));
    const qint64 cents = 1000 + qint64(visit) * (2500 + unit % 7 * 100);
    values.insert(QStringLiteral("Text_acumulado"), vx::TakingsReport::money(cents));
    for (const QString &band : vx::TakingsReport::bandFields())
        values.insert(band, vx::TakingsReport::money(qint64(sinceClear) * (400 + unit % 5 * 10)));
    values.insert(QStringLiteral("Text_aberturas"), QString::number(sinceClear * 31));
    values.insert(QStringLiteral("Text_power"), QString::number(sinceClear / 4));
    return QString::fromUtf8(QJsonDocument(values).toJson(QJsonDocument::Compact));
}

bool fill(vx::QtRecordsDatabase &db, int units, int visits, QString *error)
{
    return db.transaction(
        [&](QString *failure) {
            for (int u = 0; u < units; ++u) {
                const QString number = QStringLiteral("A26%1%2")
                                           .arg(u % 50 + 1, 2, 10, QLatin1Char('0'))
                                           .arg(u / 50 + 1);
                for (int v = 0; v < visits; ++v) {
                    const bool clear = v % 10 == 9;
                    const QDateTime taken(kYear.addDays(v * 365 / visits),
                                          QTime(8, 0).addSecs(u * 60));
                    if (!db.run(QStringLiteral(
                                    R"(INSERT INTO "ServiceSnapshots" ("reason", )"
                                    R"("manufacturing_number", "application_serial", )"
                                    R"("taken_date", "taken_time", "host_name", "field_values") )"
                                    R"(VALUES (?, ?, ?, ?, ?, ?, ?))"),
                                {clear ? QStringLiteral("clear") : QStringLiteral("read"), number,
                                 QString::number(100000 + u), taken.date(), taken.time(),
                                 QStringLiteral("bench"), valuesOf(u, v, v % 10 + 1)},
                                nullptr, failure))
                        return false;
                }
            }
            return true;
        },
        error);
}

} // namespace

TakingsRun takingsRun(const vx::RecordsLocation &where, int units, int visits)
{
    TakingsRun run;
    vx::QtRecordsDatabase db(where, vx::QtRecordsDatabase::Mode::CreateIfMissing);
    if (!vx::UnitRecords(db).prepare(&run.error)) return run;
    QElapsedTimer t;
    t.start();
    if (!fill(db, units, visits, &run.error)) return run;
    run.fillSeconds = double(t.nsecsElapsed()) / 1e9;
    const vx::SystemClock clock;
    vx::ServiceHistory history(db, clock, QStringLiteral("bench"));
    for (int i = 0; i < 5; ++i) {
        QList<vx::Snapshot> snapshots;
        t.start();
        // TakingsReport::read, in its two steps.
        if (!history.visitsBetween(kYear, kLastDay, &snapshots, &run.error,
                                   vx::TakingsReport::fields()))
            return run;
        run.readMs.push_back(double(t.nsecsElapsed()) / 1e6);
        const QList<vx::UnitTakings> rows = vx::TakingsReport::compute(snapshots, kYear, kLastDay);
        run.ms.push_back(double(t.nsecsElapsed()) / 1e6);
        run.rows = int(rows.size());
    }
    if (run.rows != units)
        run.error = QStringLiteral("the report has %1 units, not %2").arg(run.rows).arg(units);
    return run;
}
