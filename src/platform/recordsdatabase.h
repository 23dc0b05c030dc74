#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

namespace vx {

// One open connection to a database: the unit records (the PC's own SQLite
// file or a shared PostgreSQL server) or the PC's settings file. The layers
// above speak SQL that both engines understand, with ? placeholders and
// double-quoted names; engine() tells them where the two differ (the types of
// a table's columns).
//
// Dates and times are bound as QDate and QTime and come back as QDate and
// QTime (or as ISO text that QVariant converts), whatever the engine.
class RecordsDatabase
{
public:
    enum class Engine
    {
        Sqlite,
        Postgres
    };
    using Row = QVariantList;
    struct Column
    {
        QString name;
        QString type; // as declared: "INTEGER", "TEXT", "integer", "bigint", ...
    };

    virtual ~RecordsDatabase() = default;

    // A text to bind in a column that holds no NULL: a null QString would be
    // bound as SQL NULL, which equals nothing.
    static QString boundText(const QString &s) { return s.isNull() ? QStringLiteral("") : s; }

    virtual Engine engine() const = 0;
    // The file, or the server's URI without its password.
    virtual QString where() const = 0;

    // Runs one statement; the rows of a query go to *rows when given. False,
    // with a sentence in *error naming the records' place, on any failure. A
    // connection the server dropped is opened again on the next call.
    virtual bool run(const QString &sql, const QVariantList &binds, QList<Row> *rows,
                     QString *error) = 0;

    // The columns of a table, in the table's order, with their declared types;
    // none when there is no such table. False, as run(), when the database
    // cannot be read (a file that is not a database among others).
    virtual bool columns(const QString &table, QList<Column> *out, QString *error) = 0;

    // Runs work in one transaction that holds the records' write lock from its
    // start to its end, so that only one bench at a time allocates numbers or
    // changes the schema: SQLite's BEGIN IMMEDIATE (other processes wait up to
    // the busy time-out), PostgreSQL's advisory transaction lock. Commits when
    // work returns true and rolls back otherwise; false when work or the
    // commit failed, with the reason in *error.
    virtual bool writeTransaction(const std::function<bool(QString *error)> &work,
                                  QString *error) = 0;

    // The same, without the records' write lock, for changes that cannot
    // clash with another bench's (a row of numbers this bench holds):
    // PostgreSQL then commits them beside other benches' work instead of in
    // turn. SQLite has one writer at a time whatever is asked.
    virtual bool transaction(const std::function<bool(QString *error)> &work, QString *error) = 0;
};

} // namespace vx
