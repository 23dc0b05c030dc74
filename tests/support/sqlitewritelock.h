#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// Holds a write lock on a SQLite file, as another program in the middle of a
// change would, until destroyed: the tool's reads and writes of the file
// then wait for their busy time-out and fail.
class SqliteWriteLock
{
public:
    explicit SqliteWriteLock(const QString &file)
        : m_name(QStringLiteral("tst-lock-%1").arg(reinterpret_cast<quintptr>(this)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(file);
        active = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    ~SqliteWriteLock()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    SqliteWriteLock(const SqliteWriteLock &) = delete;
    SqliteWriteLock &operator=(const SqliteWriteLock &) = delete;
    bool active = false;

private:
    QString m_name;
};
