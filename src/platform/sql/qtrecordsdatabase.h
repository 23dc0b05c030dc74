#pragma once

#include "databaseplace.h"
#include "recordsdatabase.h"

#include <QElapsedTimer>
#include <QSqlDatabase>

namespace vx {

// A database through Qt's SQL drivers: QSQLITE for a PC's own files (the
// records, the settings), QPSQL for a shared PostgreSQL server.
class QtRecordsDatabase : public RecordsDatabase
{
public:
    enum class Mode
    {
        CreateIfMissing, // the PC's own records: made on first use
        MustExist,       // a file only read (one to import from): never created
        WriteExisting,   // a file read and written that only its maker creates
    };

    // The connection is opened on first use and opened again after the
    // server dropped it, so a bench that starts while the server is away
    // reaches it once it is back; nothing is tried here.
    QtRecordsDatabase(const DatabasePlace &place, Mode mode);
    ~QtRecordsDatabase() override;
    QtRecordsDatabase(const QtRecordsDatabase &) = delete;
    QtRecordsDatabase &operator=(const QtRecordsDatabase &) = delete;

    // Opens the connection now. False, with a sentence in *error that names
    // the place and what the technician can do, when it cannot be opened.
    bool connect(QString *error);
    // How long a write waits for another process that holds the PC's own
    // file (10 s unless told otherwise); for the next connection.
    void setBusyTimeoutMs(int ms) { m_busyMs = ms; }

    Engine engine() const override;
    QString where() const override;
    bool run(const QString &sql, const QVariantList &binds, QList<Row> *rows,
             QString *error) override;
    bool writeTransaction(const std::function<bool(QString *error)> &work, QString *error) override;
    bool transaction(const std::function<bool(QString *error)> &work, QString *error) override;
    bool columns(const QString &table, QList<Column> *out, QString *error) override;

private:
    // After a failure: whether the server is still there; if not, the next
    // call opens the connection again.
    void checkConnection();
    // The driver and its settings for the location; false when the driver or
    // the file to read is missing.
    bool configure(QString *error);
    bool runTransaction(bool recordsLock, const std::function<bool(QString *error)> &work,
                        QString *error);
    bool runOnce(const QString &sql, const QVariantList &binds, QList<Row> *rows, QString *error);

    DatabasePlace m_place;
    Mode m_mode;
    QString m_name;
    QSqlDatabase m_db;
    bool m_broken = false;
    bool m_inTransaction = false;
    int m_busyMs = 10000;
    // Since when the server has not answered, and what was said then.
    QElapsedTimer m_unanswered;
    QString m_unansweredError;
};

} // namespace vx
