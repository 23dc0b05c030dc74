#pragma once

// The unit records of one test on either engine: a SQLite file in a folder of
// its own, or a fresh database on the test program's PostgreSQL server. The
// tests of the records' behaviour take the engine from their data table and
// run the same cases against both. Raw SQL (sql()) sets up what the tool
// cannot make itself, such as a log written by an older version, and looks at
// the rows behind the tool's back.

#include "datafolder.h"
#include "pgserver.h"
#include "qtrecordsdatabase.h"
#include "recordslocation.h"
#include "unitrecords.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

enum class RecordsEngine
{
    Sqlite,
    Postgres
};
Q_DECLARE_METATYPE(RecordsEngine)

struct RecordsPlace
{
    enum class Outcome
    {
        Ready,
        Skip, // no PostgreSQL on this machine
        Fail
    };

    RecordsEngine engine = RecordsEngine::Sqlite;
    QTemporaryDir dir;
    PgServer *server = nullptr;
    QString database; // on the server
    vx::RecordsLocation location;
    QString text; // what --records takes: the file or the URI

    Outcome make(RecordsEngine which, QString *why)
    {
        engine = which;
        if (which == RecordsEngine::Sqlite) {
            text = dir.filePath(QStringLiteral("Registo.db"));
            location = vx::RecordsLocation::sqliteFile(text);
            return Outcome::Ready;
        }
        if (!PgServer::installed(why)) return Outcome::Skip;
        server = PgServer::shared(why);
        if (!server || !server->createDatabase(&database, why)) return Outcome::Fail;
        text = server->uri(database);
        return vx::RecordsLocation::parse(text, &location, why) ? Outcome::Ready : Outcome::Fail;
    }

    std::unique_ptr<vx::QtRecordsDatabase>
    open(vx::QtRecordsDatabase::Mode mode = vx::QtRecordsDatabase::Mode::CreateIfMissing) const
    {
        return std::make_unique<vx::QtRecordsDatabase>(location, mode);
    }

    // Runs statements in order, outside the tool; the rows of the last one
    // come back, each as its values joined by "|".
    QStringList sql(const QStringList &statements, bool *ok = nullptr) const
    {
        QStringList rows;
        bool allOk = true;
        if (engine == RecordsEngine::Sqlite) {
            for (const QVariantList &row : DataFolder::sql(text, statements, &allOk)) {
                QStringList values;
                for (const QVariant &v : row)
                    values << v.toString();
                rows << values.join(QLatin1Char('|'));
            }
        } else {
            QString out, error;
            allOk = server->psql(database, statements.join(QStringLiteral(";\n")), &out, &error);
            if (!allOk) qWarning() << error;
            if (!out.isEmpty()) rows = out.split(QLatin1Char('\n'));
        }
        if (ok) *ok = allOk;
        return rows;
    }
};

// Declares `place`, made for `engine`; skips the test (the data row) without
// PostgreSQL, fails it when its database cannot be made.
#define VX_RECORDS_PLACE(place, engine)                                                            \
    RecordsPlace place;                                                                            \
    do {                                                                                           \
        QString placeWhy;                                                                          \
        const RecordsPlace::Outcome placeMade = place.make(engine, &placeWhy);                     \
        if (placeMade == RecordsPlace::Outcome::Skip) QSKIP(qPrintable(placeWhy));                 \
        QVERIFY2(placeMade == RecordsPlace::Outcome::Ready, qPrintable(placeWhy));                 \
    } while (false)

// A request for unit `number` of week 50 of 2026, as bench `host` makes it.
inline vx::UnitRequest benchRequest(int number, const QString &host, QTime time)
{
    vx::UnitRequest r;
    r.code = QStringLiteral("A2650");
    r.number = r.proposed = number;
    r.week = 50;
    r.date = QDate(2026, 12, 10);
    r.time = time;
    r.host = host;
    return r;
}
