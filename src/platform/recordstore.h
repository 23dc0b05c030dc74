#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace vx {

// The local database files, as the records layer sees them.
//
// Every call is one whole unit of work: it opens the file, opens one table,
// does its work and closes both before it returns, so nothing is held open
// between two actions of the technician and another program may look at the
// files in between. A call never creates a file except create(), and a file
// that is not a database of this store is only ever read, never written.
//
// Values come back converted to the column's kind: Text as QString, Integer
// as qlonglong, Date as QDate, Time as QTime; a column without a value comes
// back as a null QVariant. Values going in are converted to the column's kind
// and refused (the whole call fails) when they cannot be.
class RecordStore
{
public:
    enum class Kind
    {
        Text,
        Integer,
        Date,
        Time
    };

    // A value given for a column of this kind, as both stores keep it: text
    // (never null: an empty text stays ""), a whole number, a date, or a time
    // to the second. False when the value is not of that kind. Null stays null.
    static bool normalize(const QVariant &v, Kind k, QVariant *out);

    struct Column
    {
        QString name;
        Kind kind = Kind::Text;
    };

    // Field name and value, in the order of assignment.
    using Values = QList<QPair<QString, QVariant>>;

    struct Table
    {
        QString name;
        QList<Column> columns;
        // When set, an automatically increasing column that records the order
        // in which rows were appended; readLast() orders by it.
        QString orderColumn;
        // Rows the table is created with.
        QList<Values> rows;
        // Columns the rows are looked up by, in that order: one index over
        // them, so that a table that grows for years stays quick to search.
        QStringList indexColumns = {};
    };

    virtual ~RecordStore() = default;

    virtual bool exists(const QString &file) const = 0;

    // Creates a new file holding the given tables and rows, all or nothing.
    // Fails, touching nothing, when the file already exists.
    virtual bool create(const QString &file, const QList<Table> &tables, QString *error) = 0;

    // Reads the named fields of the first row of a table.
    virtual bool readFirst(const QString &file, const QString &table, const QStringList &fields,
                           QVariantMap *row, QString *error) = 0;

    // Reads the named fields of the row appended last, ordered by orderColumn.
    // An empty table is not a failure: *found is then false and *row empty.
    virtual bool readLast(const QString &file, const QString &table, const QString &orderColumn,
                          const QStringList &fields, QVariantMap *row, bool *found,
                          QString *error) = 0;

    // Edits the first row in place: every value is stored or none is.
    virtual bool updateFirst(const QString &file, const QString &table, const Values &values,
                             QString *error) = 0;

    // Appends one row; fields not given stay without a value.
    virtual bool append(const QString &file, const QString &table, const Values &values,
                        QString *error) = 0;

    // Makes sure the file holds the table, for tables made on first use: a
    // missing file is created with it, a file without it gets it (with its
    // index), and a table already there is left as it is. A file that is not
    // a database of this store is never touched.
    virtual bool ensureTable(const QString &file, const Table &table, QString *error) = 0;

    // Appends one row to a table that has an order column and gives that
    // column's value for the new row in *order, so the caller can name it.
    virtual bool appendNumbered(const QString &file, const QString &table, const Values &values,
                                qlonglong *order, QString *error) = 0;
};

} // namespace vx
