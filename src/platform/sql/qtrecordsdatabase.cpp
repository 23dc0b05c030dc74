#include "qtrecordsdatabase.h"

#include "driverwarningfilter.h"
#include "platformtexts.h"
#include "statementcolumns.h"
#include "storabletext.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTime>
#include <QUrl>

namespace vx {

namespace {

// The one advisory lock all benches take to allocate numbers or change the
// schema; any number, as long as every bench uses the same one.
constexpr qlonglong kWriteLock = 3080308;

// How long a bench waits for a server that does not answer; an attempt that
// took this long (or most of it) was a time-out, and the server is left alone
// for a quiet minute.
constexpr int kConnectSeconds = 5;
constexpr qint64 kSlowConnectMs = 1500;
constexpr qint64 kQuietMs = 60000;

void setError(QString *error, const QString &text)
{
    if (error) *error = text;
}

// The database's own words, on one line: libpq's come in several lines, and
// Qt adds its own ("QPSQL: Unable to connect") that say nothing more.
QString driverText(const QSqlError &e)
{
    QString t = e.databaseText().simplified();
    if (t.isEmpty()) t = e.driverText().simplified();
    return t.isEmpty() ? textOf(kRecordsDatabaseTexts, "unknownError") : t;
}

// SQLite keeps dates and times as ISO text; PostgreSQL takes them as they are.
QVariant bindable(const QVariant &v, RecordsDatabase::Engine engine)
{
    if (engine != RecordsDatabase::Engine::Sqlite || v.isNull()) return v;
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString(Qt::ISODate);
    if (v.typeId() == QMetaType::QTime) return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    return v;
}

// The first bound text no database can store, as a sentence naming where it
// was to go; empty when every text can be stored.
QString unstorableText(const QString &sql, const QVariantList &binds, bool server,
                       const QString &where)
{
    for (qsizetype i = 0; i < binds.size(); ++i) {
        if (binds.at(i).typeId() != QMetaType::QString) continue;
        const QString text = binds.at(i).toString();
        const qsizetype at = StorableText::firstUnstorable(text);
        if (at < 0) continue;
        const StatementColumns::Place place = StatementColumns::ofPlaceholders(sql).value(i);
        const QString column = place.column.isEmpty()
                                   ? textOf(kRecordsDatabaseTexts, "boundValue").arg(i + 1)
                                   : place.column;
        return textOf(kRecordsDatabaseTexts, server ? "unstorableServer" : "unstorable")
            .arg(where, StorableText::shown(text), column, place.table,
                 StorableText::describe(text, at));
    }
    return {};
}

} // namespace

QtRecordsDatabase::QtRecordsDatabase(const DatabasePlace &place, Mode mode)
    : m_place(place), m_mode(mode)
{
    static quint64 serial = 0;
    m_name = QStringLiteral("vx-unit-records-%1").arg(++serial);
}

QtRecordsDatabase::~QtRecordsDatabase()
{
    if (!m_db.isValid()) return;
    const DriverWarningFilter quiet;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

RecordsDatabase::Engine QtRecordsDatabase::engine() const
{
    return m_place.kind == DatabasePlace::Kind::Postgres ? Engine::Postgres : Engine::Sqlite;
}

QString QtRecordsDatabase::where() const
{
    return m_place.display();
}

bool QtRecordsDatabase::connect(QString *error)
{
    if (m_db.isValid() && m_db.isOpen() && !m_broken) return true;
    const DriverWarningFilter quiet;
    // A server that let the last attempt run into the time-out is not asked
    // again for a while: every read of the window keeps a visit, and each
    // would otherwise stand still for the whole time-out.
    if (m_unanswered.isValid() && !m_unanswered.hasExpired(kQuietMs)) {
        setError(error, m_unansweredError);
        return false;
    }
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    if (!configure(error)) return false;
    QElapsedTimer attempt;
    attempt.start();
    const bool postgres = engine() == Engine::Postgres;
    if (!m_db.open()) {
        setError(error, textOf(kRecordsDatabaseTexts, postgres ? "noServer" : "noFile")
                            .arg(where(), driverText(m_db.lastError())));
        if (postgres && attempt.elapsed() >= kSlowConnectMs) {
            m_unanswered.start();
            m_unansweredError = (error ? *error : QString()) +
                                textOf(kRecordsDatabaseTexts, "retry").arg(kQuietMs / 1000);
        }
        return false;
    }
    m_unanswered.invalidate();
    m_broken = false;
    // "already exists, skipping" at every start says nothing to a technician.
    if (postgres) QSqlQuery(m_db).exec(QStringLiteral("SET client_min_messages = warning"));
    return true;
}

bool QtRecordsDatabase::configure(QString *error)
{
    const bool postgres = engine() == Engine::Postgres;
    const QString driver = postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        setError(error,
                 textOf(kRecordsDatabaseTexts, postgres ? "noPostgresDriver" : "noSqliteDriver"));
        return false;
    }
    if (!postgres && m_mode != Mode::CreateIfMissing && !QFileInfo::exists(m_place.file)) {
        setError(error, textOf(kRecordsDatabaseTexts, "fileMissing").arg(where()));
        return false;
    }
    m_db = QSqlDatabase::addDatabase(driver, m_name);
    if (postgres) {
        m_db.setHostName(m_place.host);
        if (m_place.port > 0) m_db.setPort(m_place.port);
        m_db.setUserName(m_place.user);
        m_db.setPassword(m_place.password);
        m_db.setDatabaseName(m_place.database);
        m_db.setConnectOptions(
            (QStringList{QStringLiteral("connect_timeout=%1").arg(kConnectSeconds)} +
             m_place.options)
                .join(QLatin1Char(';')));
        return true;
    }
    // SQLite's own open modes: without "c" a missing file is an error instead
    // of a new, empty database.
    const char *uriMode = m_mode == Mode::MustExist       ? "ro"
                          : m_mode == Mode::WriteExisting ? "rw"
                                                          : "rwc";
    m_db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(m_place.file).absoluteFilePath())
                             .toString(QUrl::FullyEncoded) +
                         QStringLiteral("?mode=") + QLatin1String(uriMode));
    m_db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyMs));
    return true;
}

void QtRecordsDatabase::checkConnection()
{
    if (engine() != Engine::Postgres) return;
    const DriverWarningFilter quiet;
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("SELECT 1"))) m_broken = true;
}

bool QtRecordsDatabase::run(const QString &sql, const QVariantList &binds, QList<Row> *rows,
                            QString *error)
{
    // Refused before anything is sent: a statement PostgreSQL's driver cut at
    // a NUL would fail halfway, and abort the transaction it is part of.
    const QString refused = unstorableText(sql, binds, engine() == Engine::Postgres, where());
    if (!refused.isEmpty()) {
        setError(error, refused);
        return false;
    }
    if (runOnce(sql, binds, rows, error)) return true;
    // A server that dropped the connection since the last call (restarted,
    // or the network was away) is tried once more on a new one; inside a
    // transaction the work is lost with the connection, so it only fails.
    if (!m_broken || m_inTransaction) return false;
    return runOnce(sql, binds, rows, error);
}

bool QtRecordsDatabase::runOnce(const QString &sql, const QVariantList &binds, QList<Row> *rows,
                                QString *error)
{
    if (m_inTransaction && m_broken) {
        setError(error, textOf(kRecordsDatabaseTexts, "connectionLost").arg(where()));
        return false;
    }
    if (!connect(error)) return false;
    // Before the query: its end frees the statement, and speaks when it cannot.
    const DriverWarningFilter quiet;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    // PostgreSQL prepares only queries and changes of rows; BEGIN and COMMIT
    // go as they are.
    bool ok = false;
    if (binds.isEmpty()) {
        ok = q.exec(sql);
    } else if (q.prepare(sql)) {
        for (const QVariant &v : binds)
            q.addBindValue(bindable(v, engine()));
        ok = q.exec();
    }
    if (!ok) {
        setError(error, textOf(kRecordsDatabaseTexts, engine() == Engine::Postgres
                                                          ? "unexpectedServerAnswer"
                                                          : "unexpectedAnswer")
                            .arg(where(), driverText(q.lastError())));
        // Inside a transaction PostgreSQL refuses everything after an error,
        // the probe too: the transaction's end looks instead.
        if (!m_inTransaction) checkConnection();
        return false;
    }
    // The record describes the columns anew at each call: once is enough.
    const int n = rows ? q.record().count() : 0;
    while (rows && q.next()) {
        Row r;
        r.reserve(n);
        for (int i = 0; i < n; ++i)
            r.append(q.value(i));
        rows->append(r);
    }
    return true;
}

bool QtRecordsDatabase::columns(const QString &table, QList<Column> *out, QString *error)
{
    out->clear();
    QList<Row> rows;
    if (engine() == Engine::Postgres) {
        if (!run(QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                                "WHERE table_schema = current_schema() AND table_name = ? "
                                "ORDER BY ordinal_position"),
                 {table}, &rows, error))
            return false;
        for (const Row &r : rows)
            out->append({r.value(0).toString(), r.value(1).toString()});
        return true;
    }
    // A pragma takes no bound values: the name goes in quoted, its quotes
    // doubled.
    QString quoted = table;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    if (!run(QStringLiteral("PRAGMA table_info(\"%1\")").arg(quoted), {}, &rows, error))
        return false;
    for (const Row &r : rows)
        out->append({r.value(1).toString(), r.value(2).toString()});
    return true;
}

bool QtRecordsDatabase::writeTransaction(const std::function<bool(QString *)> &work, QString *error)
{
    return runTransaction(true, work, error);
}

bool QtRecordsDatabase::transaction(const std::function<bool(QString *)> &work, QString *error)
{
    return runTransaction(false, work, error);
}

bool QtRecordsDatabase::runTransaction(bool recordsLock, const std::function<bool(QString *)> &work,
                                       QString *error)
{
    const bool postgres = engine() == Engine::Postgres;
    if (!run(postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"), {}, nullptr,
             error))
        return false;
    m_inTransaction = true;
    QString failure;
    bool ok = !postgres || !recordsLock ||
              run(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {QVariant(kWriteLock)},
                  nullptr, &failure);
    ok = ok && work(&failure);
    ok = ok && run(QStringLiteral("COMMIT"), {}, nullptr, &failure);
    m_inTransaction = false;
    // A rollback that fails finds a dropped connection (runOnce probes it).
    QString ignored;
    if (!ok) runOnce(QStringLiteral("ROLLBACK"), {}, nullptr, &ignored);
    if (!ok) setError(error, failure);
    return ok;
}

} // namespace vx
