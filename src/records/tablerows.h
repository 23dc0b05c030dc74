#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace vx {

class RecordsDatabase;

// Tables read and edited by column name, as the settings file keeps its
// one-row tables, on either engine of RecordsDatabase.
//
// A column's kind is the one its table declares in the database, so a file
// made by another tool reads as it always did: a column declared with "INT"
// in its type gives whole numbers (qlonglong), any other gives text. A value
// going in is converted to its column's kind and refused (the whole call
// fails, nothing is written) when it cannot be. Every failure leaves a
// sentence in *error that names the database.
class TableRows
{
public:
    enum class Kind
    {
        Text,
        Integer
    };

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
        // Rows the table is created with.
        QList<Values> rows;
    };

    explicit TableRows(RecordsDatabase &db) : m_db(db) {}

    // Makes every table with its rows, all or nothing.
    bool create(const QList<Table> &tables, QString *error);

    // Reads the named fields of the first row of a table; a table without
    // rows is a failure.
    bool readFirst(const QString &table, const QStringList &fields, QVariantMap *row,
                   QString *error);

    // Edits the first row in place: every value is stored or none is.
    bool updateFirst(const QString &table, const Values &values, QString *error);

private:
    // The table's columns by lower-case name; fails when there is no such table.
    bool kinds(const QString &table, QHash<QString, Kind> *out, QString *error);
    // The statement's text for "the first row" of the table.
    QString firstRow(const QString &table) const;

    RecordsDatabase &m_db;
};

} // namespace vx
