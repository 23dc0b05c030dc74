#pragma once

#include "recordstore.h"

class QSqlDatabase;

namespace vx {

// The record store on SQLite files through QtSql.
//
// Each call takes a connection of its own, under a name no other call uses,
// and removes it before returning. Reads open the file read-only and writes
// read-write, and neither may create it (SQLite would otherwise turn a
// mistyped path into a fresh, empty database); only create() makes a file,
// and it builds it under a temporary name first, so a failure leaves no half
// made file behind. Values always travel as bound parameters.
class SqliteRecordStore : public RecordStore
{
public:
    // How long a call waits for another program that holds the file locked
    // (the database shell, a second copy of the tool) before it fails.
    void setBusyTimeoutMs(int ms) { m_busyTimeoutMs = ms; }
    int busyTimeoutMs() const { return m_busyTimeoutMs; }

    bool exists(const QString &file) const override;
    bool create(const QString &file, const QList<Table> &tables, QString *error) override;
    bool readFirst(const QString &file, const QString &table, const QStringList &fields,
                   QVariantMap *row, QString *error) override;
    bool readLast(const QString &file, const QString &table, const QString &orderColumn,
                  const QStringList &fields, QVariantMap *row, bool *found,
                  QString *error) override;
    bool updateFirst(const QString &file, const QString &table, const Values &values,
                     QString *error) override;
    bool append(const QString &file, const QString &table, const Values &values,
                QString *error) override;
    bool ensureTable(const QString &file, const Table &table, QString *error) override;
    bool appendNumbered(const QString &file, const QString &table, const Values &values,
                        qlonglong *order, QString *error) override;

private:
    bool readOne(const QString &file, const QString &table, const QString &orderBy,
                 const QStringList &fields, QVariantMap *row, bool *found, QString *error);

    int m_busyTimeoutMs = 2000;
};

} // namespace vx
