#pragma once

#include "recordstore.h"

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>

class QSqlError;

// The pieces SqliteRecordStore is built from. Not for use elsewhere.
namespace vx::sqlite {

using Kind = RecordStore::Kind;

void setError(QString *error, const QString &text);
// The file as the technician would write it, for messages.
QString fileName(const QString &file);
// Names are put into the statement text, so only plain identifiers pass.
bool validName(const QString &name);
QString quoted(const QString &name);
QString declaredType(Kind k);
Kind kindOf(const QString &declared);
// Value as it is stored in a column of kind k; false when it cannot be.
bool toStored(const QVariant &v, Kind k, QVariant *out);
// Stored value as the caller sees it; false for an integer column holding
// something else (a file edited by hand).
bool fromStored(const QVariant &v, Kind k, QVariant *out);

// One connection, under a name of its own, for the length of one call.
class Connection
{
public:
    enum class Mode
    {
        Read,  // the file must exist; nothing can be written
        Write, // the file must exist
        Create // the file is made if missing
    };

    Connection(const QString &file, Mode mode, int busyMs);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool open(QString *error);
    // Column names and kinds of a table, in table order; fails when the
    // table does not exist.
    bool columns(const QString &table, QList<QPair<QString, Kind>> *out, QString *error);
    // "<what with %1 = file>: <driver's reason>"
    void fail(QString *error, const QString &what, const QSqlError &e) const;

    QSqlDatabase &db() { return m_db; }
    const QString &file() const { return m_file; }

private:
    QString m_file;
    QString m_name;
    QSqlDatabase m_db;
};

} // namespace vx::sqlite
