#include "sqliterecordstore.h"

#include "sqliteconnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>

namespace vx {

using namespace sqlite;

namespace {

QString missing(const QString &file)
{
    return QStringLiteral("O ficheiro %1 não existe.").arg(fileName(file));
}

// Prepares and runs one writing statement with its values bound in order.
bool runWrite(QSqlQuery &q, Connection &c, const QString &sql, const QVariantList &bound,
              QString *error)
{
    const bool ok = q.prepare(sql) && [&] {
        for (const QVariant &v : bound)
            q.addBindValue(v);
        return q.exec();
    }();
    if (!ok) c.fail(error, QStringLiteral("Não foi possível gravar em %1"), q.lastError());
    return ok;
}

// Looks every field up in the table and converts its value for storing.
bool prepareValues(Connection &c, const QString &table, const RecordStore::Values &values,
                   QStringList *names, QVariantList *stored, QString *error)
{
    QList<QPair<QString, Kind>> cols;
    if (!c.columns(table, &cols, error)) return false;
    QHash<QString, Kind> kinds;
    for (const auto &col : cols)
        kinds.insert(col.first.toLower(), col.second);
    for (const auto &[name, value] : values) {
        const auto it = kinds.constFind(name.toLower());
        if (!validName(name) || it == kinds.constEnd()) {
            setError(error, QStringLiteral("O campo %1 não existe na tabela %2 de %3.")
                                .arg(name, table, fileName(c.file())));
            return false;
        }
        QVariant out;
        if (!toStored(value, *it, &out)) {
            setError(error, QStringLiteral("Valor inválido para o campo %1: \"%2\".")
                                .arg(name, value.toString()));
            return false;
        }
        names->append(quoted(name));
        stored->append(out);
    }
    return true;
}

// What every write to an existing file starts with: the file must be there,
// open for writing, and every value must fit its column of the table.
bool startWrite(Connection &c, const QString &table, const RecordStore::Values &values,
                QStringList *names, QVariantList *stored, QString *error)
{
    if (!QFileInfo(c.file()).isFile()) {
        setError(error, missing(c.file()));
        return false;
    }
    return c.open(error) && prepareValues(c, table, values, names, stored, error);
}

// The column definitions of a CREATE TABLE; false when a name in the table
// cannot be used.
bool columnDefinitions(const RecordStore::Table &t, QStringList *definitions)
{
    bool ok = validName(t.name) && (t.orderColumn.isEmpty() || validName(t.orderColumn));
    if (!t.orderColumn.isEmpty())
        *definitions << quoted(t.orderColumn) +
                            QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
    for (const RecordStore::Column &col : t.columns) {
        ok = ok && validName(col.name);
        *definitions << quoted(col.name) + QLatin1Char(' ') + declaredType(col.kind);
    }
    return ok;
}

// A failed prepare leaves no message: it can only come from a name that
// validName has already let through.
bool insertRow(Connection &c, const QString &table, const RecordStore::Values &row, QString *error)
{
    QStringList names;
    QVariantList stored;
    if (!prepareValues(c, table, row, &names, &stored, error)) return false;
    QSqlQuery ins(c.db());
    if (!ins.prepare(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(quoted(table), names.join(QLatin1Char(',')),
                     QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')))))
        return false;
    for (const QVariant &v : stored)
        ins.addBindValue(v);
    if (!ins.exec()) {
        c.fail(error, QStringLiteral("Não foi possível criar %1"), ins.lastError());
        return false;
    }
    return true;
}

// The index of a table's look-up columns, named after the table.
bool createIndex(Connection &c, const RecordStore::Table &t, QString *error)
{
    if (t.indexColumns.isEmpty()) return true;
    QStringList columns;
    for (const QString &name : t.indexColumns) {
        if (!validName(name)) {
            setError(error, QStringLiteral("Nome inválido na tabela %1.").arg(t.name));
            return false;
        }
        columns << quoted(name);
    }
    QSqlQuery q(c.db());
    if (!q.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                    .arg(quoted(t.name + QStringLiteral("_lookup")), quoted(t.name),
                         columns.join(QLatin1Char(','))))) {
        c.fail(error, QStringLiteral("Não foi possível criar %1"), q.lastError());
        return false;
    }
    return true;
}

bool createTable(Connection &c, const RecordStore::Table &t, QString *error)
{
    QStringList definitions;
    if (!columnDefinitions(t, &definitions)) {
        setError(error, QStringLiteral("Nome inválido na tabela %1.").arg(t.name));
        return false;
    }
    QSqlQuery q(c.db());
    if (!q.exec(QStringLiteral("CREATE TABLE %1 (%2)")
                    .arg(quoted(t.name), definitions.join(QStringLiteral(", "))))) {
        c.fail(error, QStringLiteral("Não foi possível criar %1"), q.lastError());
        return false;
    }
    for (const RecordStore::Values &row : t.rows)
        if (!insertRow(c, t.name, row, error)) return false;
    return createIndex(c, t, error);
}

// Every table with its rows in one transaction, in a file of its own; the
// connection is closed on return, so the file can be renamed or removed.
bool buildFile(const QString &file, const QList<RecordStore::Table> &tables, int busyTimeoutMs,
               QString *error)
{
    Connection c(file, Connection::Mode::Create, busyTimeoutMs);
    if (!c.open(error) || !c.db().transaction()) return false;
    for (const RecordStore::Table &t : tables)
        if (!createTable(c, t, error)) return false;
    if (!c.db().commit()) {
        c.fail(error, QStringLiteral("Não foi possível criar %1"), c.db().lastError());
        return false;
    }
    return true;
}

} // namespace

bool SqliteRecordStore::exists(const QString &file) const
{
    return QFileInfo(file).isFile();
}

bool SqliteRecordStore::create(const QString &file, const QList<Table> &tables, QString *error)
{
    if (QFileInfo::exists(file)) {
        setError(error, QStringLiteral("O ficheiro %1 já existe.").arg(fileName(file)));
        return false;
    }
    const QFileInfo info(file);
    const QString temp = info.absoluteDir().filePath(
        QStringLiteral(".%1.%2.tmp")
            .arg(info.fileName(), QUuid::createUuid().toString(QUuid::WithoutBraces)));
    bool ok = buildFile(temp, tables, m_busyTimeoutMs, error);
    // QFile::rename never replaces an existing file, so a file that appeared
    // meanwhile is left as it is.
    if (ok && !QFile::rename(temp, file)) {
        setError(error, QStringLiteral("Não foi possível criar %1.").arg(fileName(file)));
        ok = false;
    }
    if (!ok) {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
    }
    return ok;
}

bool SqliteRecordStore::readOne(const QString &file, const QString &table, const QString &orderBy,
                                const QStringList &fields, QVariantMap *row, bool *found,
                                QString *error)
{
    row->clear();
    *found = false;
    if (!exists(file)) {
        setError(error, missing(file));
        return false;
    }
    Connection c(file, Connection::Mode::Read, m_busyTimeoutMs);
    if (!c.open(error)) return false;
    QList<QPair<QString, Kind>> cols;
    if (!c.columns(table, &cols, error)) return false;
    QStringList names;
    QList<Kind> kinds;
    for (const QString &f : fields) {
        auto it = std::find_if(cols.cbegin(), cols.cend(), [&](const auto &col) {
            return col.first.compare(f, Qt::CaseInsensitive) == 0;
        });
        if (!validName(f) || it == cols.cend()) {
            setError(error, QStringLiteral("O campo %1 não existe na tabela %2 de %3.")
                                .arg(f, table, fileName(file)));
            return false;
        }
        names << quoted(f);
        kinds << it->second;
    }
    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3 LIMIT 1")
                    .arg(names.isEmpty() ? QStringLiteral("1") : names.join(QLatin1Char(',')),
                         quoted(table), orderBy))) {
        c.fail(error, QStringLiteral("Não foi possível ler %1"), q.lastError());
        return false;
    }
    if (!q.next()) return true;
    for (int i = 0; i < fields.size(); ++i) {
        QVariant v;
        if (!fromStored(q.value(i), kinds[i], &v)) {
            setError(error, QStringLiteral("O campo %1 da tabela %2 de %3 tem um valor inválido.")
                                .arg(fields[i], table, fileName(file)));
            row->clear();
            return false;
        }
        row->insert(fields[i], v);
    }
    *found = true;
    return true;
}

bool SqliteRecordStore::readFirst(const QString &file, const QString &table,
                                  const QStringList &fields, QVariantMap *row, QString *error)
{
    bool found = false;
    if (!readOne(file, table, QStringLiteral("rowid"), fields, row, &found, error)) return false;
    if (!found) {
        setError(error,
                 QStringLiteral("A tabela %1 de %2 não tem linhas.").arg(table, fileName(file)));
        return false;
    }
    return true;
}

bool SqliteRecordStore::readLast(const QString &file, const QString &table,
                                 const QString &orderColumn, const QStringList &fields,
                                 QVariantMap *row, bool *found, QString *error)
{
    if (!validName(orderColumn)) {
        setError(error, QStringLiteral("Nome de campo inválido: %1").arg(orderColumn));
        return false;
    }
    return readOne(file, table, quoted(orderColumn) + QStringLiteral(" DESC"), fields, row, found,
                   error);
}

bool SqliteRecordStore::updateFirst(const QString &file, const QString &table, const Values &values,
                                    QString *error)
{
    Connection c(file, Connection::Mode::Write, m_busyTimeoutMs);
    QStringList names;
    QVariantList stored;
    if (!startWrite(c, table, values, &names, &stored, error)) return false;
    if (names.isEmpty()) return true;
    QStringList sets;
    for (const QString &n : names)
        sets << n + QStringLiteral("=?");
    // One statement: SQLite stores all of it or none of it.
    QSqlQuery q(c.db());
    if (!runWrite(q, c,
                  QStringLiteral("UPDATE %1 SET %2 WHERE rowid = (SELECT min(rowid) FROM %1)")
                      .arg(quoted(table), sets.join(QLatin1Char(','))),
                  stored, error))
        return false;
    if (q.numRowsAffected() != 1) {
        setError(error,
                 QStringLiteral("A tabela %1 de %2 não tem linhas.").arg(table, fileName(file)));
        return false;
    }
    return true;
}

bool SqliteRecordStore::append(const QString &file, const QString &table, const Values &values,
                               QString *error)
{
    qlonglong order = 0;
    return appendNumbered(file, table, values, &order, error);
}

bool SqliteRecordStore::ensureTable(const QString &file, const Table &table, QString *error)
{
    if (!exists(file)) return create(file, {table}, error);
    Connection c(file, Connection::Mode::Write, m_busyTimeoutMs);
    if (!c.open(error)) return false;
    // A table already there is kept as it is, rows and all.
    if (c.db().tables().contains(table.name, Qt::CaseInsensitive)) return true;
    if (!c.db().transaction()) {
        c.fail(error, QStringLiteral("Não foi possível gravar em %1"), c.db().lastError());
        return false;
    }
    if (!createTable(c, table, error)) {
        c.db().rollback();
        return false;
    }
    if (!c.db().commit()) {
        c.fail(error, QStringLiteral("Não foi possível gravar em %1"), c.db().lastError());
        return false;
    }
    return true;
}

bool SqliteRecordStore::appendNumbered(const QString &file, const QString &table,
                                       const Values &values, qlonglong *order, QString *error)
{
    Connection c(file, Connection::Mode::Write, m_busyTimeoutMs);
    QStringList names;
    QVariantList stored;
    if (!startWrite(c, table, values, &names, &stored, error)) return false;
    QSqlQuery q(c.db());
    const QString sql =
        names.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoted(table), names.join(QLatin1Char(',')),
                       QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    if (!runWrite(q, c, sql, stored, error)) return false;
    // The order column is the table's rowid alias, so the new row's id is it.
    *order = q.lastInsertId().toLongLong();
    return true;
}

} // namespace vx
