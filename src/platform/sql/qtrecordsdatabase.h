#pragma once

#include "recordsdatabase.h"
#include "recordslocation.h"

#include <QSqlDatabase>
#include <memory>

namespace vx {

// The records database through Qt's SQL drivers: QSQLITE for a PC's own
// file, QPSQL for a shared PostgreSQL server.
class QtRecordsDatabase : public RecordsDatabase
{
public:
    enum class Mode
    {
        CreateIfMissing, // the PC's own records: made on first use
        MustExist,       // a file to import from: never created
    };

    // Opens the connection. Null, with a sentence in *error that names the
    // place and what the technician can do, when it cannot be opened.
    static std::unique_ptr<QtRecordsDatabase> open(const RecordsLocation &location, Mode mode,
                                                   QString *error);
    ~QtRecordsDatabase() override;

    Engine engine() const override;
    QString where() const override;
    bool run(const QString &sql, const QVariantList &binds, QList<Row> *rows,
             QString *error) override;
    bool writeTransaction(const std::function<bool(QString *error)> &work,
                          QString *error) override;

private:
    QtRecordsDatabase(const RecordsLocation &location, Mode mode);
    bool connect(QString *error);
    // After a failure: whether the server is still there; if not, the next
    // call opens the connection again.
    void checkConnection();

    RecordsLocation m_location;
    Mode m_mode;
    QString m_name;
    QSqlDatabase m_db;
    bool m_broken = false;
};

} // namespace vx
