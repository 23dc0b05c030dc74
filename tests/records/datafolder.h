#pragma once

// A data folder of its own for one test: the real SQLite files in a
// temporary directory, provisioned like a first start, plus direct SQL for
// setting up states the tool cannot make itself and for looking at rows.

#include "databases.h"
#include "qtrecordsdatabase.h"
#include "recordslocation.h"
#include "sqlitewritelock.h"
#include "unitrecords.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

struct DataFolder
{
    explicit DataFolder(bool provision = true)
    {
        databases.setBusyTimeoutMs(50);
        recordsDatabase.setBusyTimeoutMs(50);
        if (provision)
            provisioned = databases.provision(nullptr, &error) && records.prepare(&error);
    }

    QTemporaryDir dir;
    vx::Databases databases{dir.path()};
    vx::QtRecordsDatabase recordsDatabase{vx::RecordsLocation::sqliteFile(databases.logFile()),
                                          vx::QtRecordsDatabase::Mode::CreateIfMissing};
    vx::UnitRecords records{recordsDatabase};

    // A row in the log as an earlier unit left it.
    bool appendLogRow(const vx::LogRow &row, QString *why)
    {
        vx::ImportOutcome outcome;
        if (!records.importUnits({row}, &outcome, why)) return false;
        if (why && !outcome.refused.isEmpty()) *why = outcome.refused.join(QLatin1Char('\n'));
        return outcome.copied == 1;
    }
    bool provisioned = false;
    QString error;

    // Runs statements on a file; the rows of the last one come back.
    static QList<QVariantList> sql(const QString &file, const QStringList &statements,
                                   bool *ok = nullptr)
    {
        static int serial = 0;
        const QString name = QStringLiteral("tst-sql-%1").arg(++serial);
        QList<QVariantList> rows;
        bool allOk = true;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(file);
            allOk = db.open();
            for (const QString &i : statements) {
                if (!allOk) break;
                QSqlQuery q(db);
                allOk = q.exec(i);
                if (!allOk) qWarning() << i << q.lastError().text();
                rows.clear();
                while (q.next()) {
                    QVariantList l;
                    for (int c = 0; c < q.record().count(); ++c)
                        l << q.value(c);
                    rows << l;
                }
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        if (ok) *ok = allOk;
        return rows;
    }

    static int count(const QString &file, const QString &table)
    {
        const auto l = sql(file, {QStringLiteral("SELECT count(*) FROM %1").arg(table)});
        return l.isEmpty() ? -1 : l.first().value(0).toInt();
    }

    // Holds a write lock on a file, as another program in the middle of a
    // change would, until destroyed.
    using WriteLock = SqliteWriteLock;
};
