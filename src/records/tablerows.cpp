#include "tablerows.h"

#include "recordsdatabase.h"
#include "recordstexts.h"

#include <QHash>
#include <QRegularExpression>

namespace vx {

namespace {

using Kind = TableRows::Kind;

void setRowsError(QString *error, const QString &text)
{
    if (error) *error = text;
}

// Names are put into the statement text, so only plain identifiers pass.
bool validName(const QString &name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch();
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString placeholders(qsizetype n)
{
    return QStringList(n, QStringLiteral("?")).join(QLatin1Char(','));
}

Kind kindOf(const QString &declared)
{
    return declared.contains(QLatin1String("INT"), Qt::CaseInsensitive) ? Kind::Integer
                                                                        : Kind::Text;
}

// A value as a column of kind k keeps it; false when it cannot be.
bool toStored(const QVariant &v, Kind k, QVariant *out)
{
    if (!v.isValid() || v.isNull()) {
        *out = QVariant();
        return true;
    }
    if (k == Kind::Text) {
        // QtSql binds a null string as NULL; an empty text must stay "".
        *out = v.toString().isNull() ? QStringLiteral("") : v.toString();
        return true;
    }
    bool ok = false;
    *out = v.toString().trimmed().toLongLong(&ok);
    return ok;
}

// A stored value as the caller sees it; false for an integer column holding
// something else (a file edited by hand).
bool fromStored(const QVariant &v, Kind k, QVariant *out)
{
    if (v.isNull()) {
        *out = QVariant();
        return true;
    }
    if (k == Kind::Text) {
        *out = v.toString();
        return true;
    }
    bool ok = false;
    *out = v.toString().trimmed().toLongLong(&ok);
    return ok;
}

QString declaredType(Kind k)
{
    return k == Kind::Integer ? QStringLiteral("INTEGER") : QStringLiteral("TEXT");
}

QString missingField(const QString &field, const QString &table, const QString &where)
{
    return textOf(kTableRowsTexts, "noField").arg(field, table, where);
}

bool createTable(RecordsDatabase &db, const TableRows::Table &t, QString *error)
{
    bool ok = validName(t.name);
    QStringList definitions;
    for (const TableRows::Column &c : t.columns) {
        ok = ok && validName(c.name);
        definitions << quoted(c.name) + QLatin1Char(' ') + declaredType(c.kind);
    }
    if (!ok) {
        setRowsError(error, textOf(kTableRowsTexts, "badName").arg(t.name));
        return false;
    }
    if (!db.run(QStringLiteral("CREATE TABLE %1 (%2)")
                    .arg(quoted(t.name), definitions.join(QStringLiteral(", "))),
                {}, nullptr, error))
        return false;
    QHash<QString, Kind> kinds;
    for (const TableRows::Column &c : t.columns)
        kinds.insert(c.name.toLower(), c.kind);
    for (const TableRows::Values &row : t.rows) {
        QStringList names;
        QVariantList stored;
        for (const auto &[name, value] : row) {
            QVariant out;
            if (!kinds.contains(name.toLower()) ||
                !toStored(value, kinds.value(name.toLower()), &out)) {
                setRowsError(error,
                             textOf(kTableRowsTexts, "refusedValue").arg(name, value.toString()));
                return false;
            }
            names << quoted(name);
            stored << out;
        }
        if (!db.run(
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(quoted(t.name), names.join(QLatin1Char(',')), placeholders(names.size())),
                stored, nullptr, error))
            return false;
    }
    return true;
}

} // namespace

bool TableRows::create(const QList<Table> &tables, QString *error)
{
    return m_db.transaction(
        [&](QString *failure) {
            for (const Table &t : tables)
                if (!createTable(m_db, t, failure)) return false;
            return true;
        },
        error);
}

bool TableRows::kinds(const QString &table, QHash<QString, Kind> *out, QString *error)
{
    if (!validName(table)) {
        setRowsError(error, textOf(kTableRowsTexts, "badTableName").arg(table));
        return false;
    }
    QList<RecordsDatabase::Column> columns;
    if (!m_db.columns(table, &columns, error)) return false;
    if (columns.isEmpty()) {
        setRowsError(error, textOf(kTableRowsTexts, "noTable").arg(table, m_db.where()));
        return false;
    }
    for (const RecordsDatabase::Column &c : columns)
        out->insert(c.name.toLower(), kindOf(c.type));
    return true;
}

QString TableRows::firstRow(const QString &table) const
{
    // SQLite numbers the rows as they were added; a PostgreSQL table has no
    // such order, and the tables kept here hold one row.
    return m_db.engine() == RecordsDatabase::Engine::Sqlite
               ? QStringLiteral("rowid = (SELECT min(rowid) FROM %1)").arg(quoted(table))
               : QStringLiteral("ctid = (SELECT ctid FROM %1 LIMIT 1)").arg(quoted(table));
}

bool TableRows::readFirst(const QString &table, const QStringList &fields, QVariantMap *row,
                          QString *error)
{
    row->clear();
    QHash<QString, Kind> columns;
    if (!kinds(table, &columns, error)) return false;
    QStringList names;
    for (const QString &f : fields) {
        if (!validName(f) || !columns.contains(f.toLower())) {
            setRowsError(error, missingField(f, table, m_db.where()));
            return false;
        }
        names << quoted(f);
    }
    QList<RecordsDatabase::Row> rows;
    if (!m_db.run(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                      .arg(names.isEmpty() ? QStringLiteral("1") : names.join(QLatin1Char(',')),
                           quoted(table), firstRow(table)),
                  {}, &rows, error))
        return false;
    if (rows.isEmpty()) {
        setRowsError(error, textOf(kTableRowsTexts, "noRows").arg(table, m_db.where()));
        return false;
    }
    for (int i = 0; i < fields.size(); ++i) {
        QVariant v;
        if (!fromStored(rows.first().value(i), columns.value(fields[i].toLower()), &v)) {
            setRowsError(error,
                         textOf(kTableRowsTexts, "badValue").arg(fields[i], table, m_db.where()));
            row->clear();
            return false;
        }
        row->insert(fields[i], v);
    }
    return true;
}

bool TableRows::updateFirst(const QString &table, const Values &values, QString *error)
{
    QHash<QString, Kind> columns;
    if (!kinds(table, &columns, error)) return false;
    QStringList sets;
    QVariantList stored;
    for (const auto &[name, value] : values) {
        if (!validName(name) || !columns.contains(name.toLower())) {
            setRowsError(error, missingField(name, table, m_db.where()));
            return false;
        }
        QVariant out;
        if (!toStored(value, columns.value(name.toLower()), &out)) {
            setRowsError(error,
                         textOf(kTableRowsTexts, "refusedValue").arg(name, value.toString()));
            return false;
        }
        sets << quoted(name) + QStringLiteral("=?");
        stored << out;
    }
    if (sets.isEmpty()) return true;
    QList<RecordsDatabase::Row> rows;
    if (!m_db.run(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(quoted(table)), {}, &rows, error))
        return false;
    if (rows.isEmpty()) {
        setRowsError(error, textOf(kTableRowsTexts, "noRows").arg(table, m_db.where()));
        return false;
    }
    // One statement: the database stores all of it or none of it.
    return m_db.run(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                        .arg(quoted(table), sets.join(QLatin1Char(',')), firstRow(table)),
                    stored, nullptr, error);
}

} // namespace vx
