#include "memoryrecordstore.h"

#include <QDate>
#include <QFileInfo>
#include <QTime>

namespace vx {

namespace {

QString key(const QString &file)
{
    return QFileInfo(file).absoluteFilePath();
}

void setError(QString *error, const QString &text)
{
    if (error) *error = text;
}

const RecordStore::Column *findColumn(const RecordStore::Table &t, const QString &name)
{
    for (const auto &c : t.columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

} // namespace

void MemoryRecordStore::setLocked(const QString &file, bool locked)
{
    if (locked)
        m_locked.insert(key(file));
    else
        m_locked.remove(key(file));
}

void MemoryRecordStore::addForeignFile(const QString &file)
{
    m_files[key(file)] = File{true, {}};
}

void MemoryRecordStore::removeFile(const QString &file)
{
    m_files.remove(key(file));
}

bool MemoryRecordStore::exists(const QString &file) const
{
    return m_files.contains(key(file));
}

bool MemoryRecordStore::create(const QString &file, const QList<Table> &tables, QString *error)
{
    ++m_calls;
    if (exists(file)) {
        setError(error, QStringLiteral("O ficheiro %1 já existe.").arg(file));
        return false;
    }
    if (m_locked.contains(key(file))) {
        setError(error, QStringLiteral("Não foi possível criar %1: bloqueado").arg(file));
        return false;
    }
    File f;
    for (const Table &t : tables) {
        StoredTable st{t, {}, 1};
        for (const Values &row : t.rows) {
            QVariantMap stored;
            if (!convert(st, row, &stored, error)) return false;
            if (!t.orderColumn.isEmpty()) stored.insert(t.orderColumn, st.nextOrder++);
            st.rows.append(stored);
        }
        f.tables.insert(t.name.toLower(), st);
    }
    m_files.insert(key(file), f);
    return true;
}

MemoryRecordStore::StoredTable *MemoryRecordStore::reach(const QString &file, const QString &table,
                                                         QString *error)
{
    ++m_calls;
    const auto it = m_files.find(key(file));
    if (it == m_files.end()) {
        setError(error, QStringLiteral("O ficheiro %1 não existe.").arg(file));
        return nullptr;
    }
    if (m_locked.contains(key(file))) {
        setError(error, QStringLiteral("Não foi possível abrir %1: bloqueado").arg(file));
        return nullptr;
    }
    if (it->foreign) {
        setError(error,
                 QStringLiteral("Não foi possível ler %1: não é uma base de dados").arg(file));
        return nullptr;
    }
    const auto t = it->tables.find(table.toLower());
    if (t == it->tables.end()) {
        setError(error, QStringLiteral("A tabela %1 não existe em %2.").arg(table, file));
        return nullptr;
    }
    return &*t;
}

bool MemoryRecordStore::convert(const StoredTable &t, const Values &values, QVariantMap *out,
                                QString *error)
{
    for (const auto &[name, value] : values) {
        const Column *c = findColumn(t.table, name);
        if (!c) {
            setError(error,
                     QStringLiteral("O campo %1 não existe na tabela %2.").arg(name, t.table.name));
            return false;
        }
        QVariant v;
        if (!RecordStore::normalize(value, c->kind, &v)) {
            setError(error, QStringLiteral("Valor inválido para o campo %1: \"%2\".")
                                .arg(name, value.toString()));
            return false;
        }
        out->insert(c->name, v);
    }
    return true;
}

bool MemoryRecordStore::pick(const StoredTable &t, const QVariantMap &stored,
                             const QStringList &fields, QVariantMap *row, QString *error) const
{
    for (const QString &f : fields) {
        const Column *c = findColumn(t.table, f);
        if (!c) {
            setError(error,
                     QStringLiteral("O campo %1 não existe na tabela %2.").arg(f, t.table.name));
            row->clear();
            return false;
        }
        row->insert(f, stored.value(c->name));
    }
    return true;
}

bool MemoryRecordStore::readFirst(const QString &file, const QString &table,
                                  const QStringList &fields, QVariantMap *row, QString *error)
{
    row->clear();
    const StoredTable *t = reach(file, table, error);
    if (!t) return false;
    if (t->rows.isEmpty()) {
        setError(error, QStringLiteral("A tabela %1 de %2 não tem linhas.").arg(table, file));
        return false;
    }
    return pick(*t, t->rows.first(), fields, row, error);
}

bool MemoryRecordStore::readLast(const QString &file, const QString &table,
                                 const QString &orderColumn, const QStringList &fields,
                                 QVariantMap *row, bool *found, QString *error)
{
    row->clear();
    *found = false;
    const StoredTable *t = reach(file, table, error);
    if (!t) return false;
    if (t->table.orderColumn.compare(orderColumn, Qt::CaseInsensitive) != 0) {
        setError(error,
                 QStringLiteral("O campo %1 não existe na tabela %2.").arg(orderColumn, table));
        return false;
    }
    if (t->rows.isEmpty()) return true;
    // Rows are kept in the order they were appended.
    if (!pick(*t, t->rows.last(), fields, row, error)) return false;
    *found = true;
    return true;
}

bool MemoryRecordStore::updateFirst(const QString &file, const QString &table, const Values &values,
                                    QString *error)
{
    StoredTable *t = reach(file, table, error);
    if (!t) return false;
    QVariantMap changes;
    if (!convert(*t, values, &changes, error)) return false;
    if (t->rows.isEmpty()) {
        setError(error, QStringLiteral("A tabela %1 de %2 não tem linhas.").arg(table, file));
        return false;
    }
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        t->rows.first().insert(it.key(), it.value());
    return true;
}

bool MemoryRecordStore::append(const QString &file, const QString &table, const Values &values,
                               QString *error)
{
    qlonglong order = 0;
    return appendNumbered(file, table, values, &order, error);
}

bool MemoryRecordStore::appendNumbered(const QString &file, const QString &table,
                                       const Values &values, qlonglong *order, QString *error)
{
    StoredTable *t = reach(file, table, error);
    if (!t) return false;
    QVariantMap row;
    if (!convert(*t, values, &row, error)) return false;
    *order = t->nextOrder++;
    if (!t->table.orderColumn.isEmpty()) row.insert(t->table.orderColumn, *order);
    t->rows.append(row);
    return true;
}

bool MemoryRecordStore::ensureTable(const QString &file, const Table &table, QString *error)
{
    if (!exists(file)) return create(file, {table}, error);
    ++m_calls;
    File &f = m_files[key(file)];
    if (m_locked.contains(key(file))) {
        setError(error, QStringLiteral("Não foi possível abrir %1: bloqueado").arg(file));
        return false;
    }
    if (f.foreign) {
        setError(error,
                 QStringLiteral("Não foi possível ler %1: não é uma base de dados").arg(file));
        return false;
    }
    if (!f.tables.contains(table.name.toLower()))
        f.tables.insert(table.name.toLower(), StoredTable{table, {}, 1});
    return true;
}

} // namespace vx
