#pragma once

#include "recordstore.h"

#include <QHash>
#include <QSet>

namespace vx {

// A record store in memory, for tests that need a store to fail on demand:
// a file can be made "locked" (every call on it fails, as when another
// program holds it) or "foreign" (it exists but is not a database). Calls
// counts every call that reached a file, so a test can tell that a refused
// operation never touched the store.
class MemoryRecordStore : public RecordStore
{
public:
    void setLocked(const QString &file, bool locked);
    void addForeignFile(const QString &file);
    void removeFile(const QString &file);
    int calls() const { return m_calls; }

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
    struct StoredTable
    {
        Table table;
        QList<QVariantMap> rows;
        qlonglong nextOrder = 1;
    };
    struct File
    {
        bool foreign = false;
        QHash<QString, StoredTable> tables; // by lower-case name
    };

    StoredTable *reach(const QString &file, const QString &table, QString *error);
    bool convert(const StoredTable &t, const Values &values, QVariantMap *out, QString *error);
    bool pick(const StoredTable &t, const QVariantMap &stored, const QStringList &fields,
              QVariantMap *row, QString *error) const;

    QHash<QString, File> m_files;
    QSet<QString> m_locked;
    int m_calls = 0;
};

} // namespace vx
