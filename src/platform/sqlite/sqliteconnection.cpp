#include "sqliteconnection.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>
#include <QUrl>

namespace vx::sqlite {

void setError(QString *error, const QString &text)
{
    if (error) *error = text;
}

QString fileName(const QString &file)
{
    return QDir::toNativeSeparators(file);
}

bool validName(const QString &name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch();
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString declaredType(Kind k)
{
    switch (k) {
    case Kind::Integer:
        return QStringLiteral("INTEGER");
    case Kind::Date:
        return QStringLiteral("DATE");
    case Kind::Time:
        return QStringLiteral("TIME");
    case Kind::Text:
        break;
    }
    return QStringLiteral("TEXT");
}

Kind kindOf(const QString &declared)
{
    const QString t = declared.trimmed().toUpper();
    if (t == QLatin1String("DATE")) return Kind::Date;
    if (t == QLatin1String("TIME")) return Kind::Time;
    if (t.contains(QLatin1String("INT"))) return Kind::Integer;
    return Kind::Text;
}

bool toStored(const QVariant &v, Kind k, QVariant *out)
{
    if (!RecordStore::normalize(v, k, out)) return false;
    // Dates and times are kept as ISO text in the file.
    if (k == Kind::Date && !out->isNull())
        *out = out->toDate().toString(Qt::ISODate);
    else if (k == Kind::Time && !out->isNull())
        *out = out->toTime().toString(QStringLiteral("HH:mm:ss"));
    return true;
}

bool fromStored(const QVariant &v, Kind k, QVariant *out)
{
    if (v.isNull()) {
        *out = QVariant();
        return true;
    }
    switch (k) {
    case Kind::Text:
        *out = v.toString();
        return true;
    case Kind::Integer: {
        bool ok = false;
        *out = v.toString().trimmed().toLongLong(&ok);
        return ok;
    }
    case Kind::Date: {
        const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
        *out = d.isValid() ? QVariant(d) : QVariant();
        return true;
    }
    case Kind::Time: {
        const QTime t = QTime::fromString(v.toString(), Qt::ISODate);
        *out = t.isValid() ? QVariant(t) : QVariant();
        return true;
    }
    }
    return false;
}

Connection::Connection(const QString &file, Mode mode, int busyMs) : m_file(file)
{
    static quint64 serial = 0;
    m_name = QStringLiteral("vx-records-%1").arg(++serial);
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    // SQLite's own open modes: without "c" a missing file is an error
    // instead of a new, empty database.
    const char *uriMode = mode == Mode::Read ? "ro" : mode == Mode::Write ? "rw" : "rwc";
    const QString path = QFileInfo(file).absoluteFilePath();
    m_db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                         QStringLiteral("?mode=") + QLatin1String(uriMode));
    m_db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(qMax(0, busyMs)));
}

Connection::~Connection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

bool Connection::open(QString *error)
{
    if (!m_db.isValid()) {
        setError(error, QStringLiteral("O controlador SQLite não está disponível."));
        return false;
    }
    if (!m_db.open()) {
        fail(error, QStringLiteral("Não foi possível abrir %1"), m_db.lastError());
        return false;
    }
    return true;
}

bool Connection::columns(const QString &table, QList<QPair<QString, Kind>> *out, QString *error)
{
    if (!validName(table)) {
        setError(error, QStringLiteral("Nome de tabela inválido: %1").arg(table));
        return false;
    }
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)))) {
        fail(error, QStringLiteral("Não foi possível ler %1"), q.lastError());
        return false;
    }
    while (q.next())
        out->append({q.value(1).toString(), kindOf(q.value(2).toString())});
    if (out->isEmpty()) {
        setError(error,
                 QStringLiteral("A tabela %1 não existe em %2.").arg(table, fileName(m_file)));
        return false;
    }
    return true;
}

void Connection::fail(QString *error, const QString &what, const QSqlError &e) const
{
    setError(error, what.arg(fileName(m_file)) + QStringLiteral(": ") + e.text());
}

} // namespace vx::sqlite
