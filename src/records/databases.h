#pragma once

#include "tablerows.h"
#include "unitrecords.h"

#include <QDate>
#include <QDir>
#include <QString>
#include <QTime>

namespace vx {

// The PC's own settings file ValoresPre1.db (the stored defaults, the
// language and port, the report row) in one folder (the working directory
// unless told otherwise), and the access patterns the rest of the tool uses.
// The unit log lives in the records (UnitRecords); logFile() is where this
// PC keeps it when no shared database is chosen. Each call is one whole unit of work on
// one table; none keeps a file open, so another program may look at the
// file between two actions of the technician. Only provision() makes the
// file; a read opens it read-only, and a file that is not a database of
// ours is never written. Every call returns false with a sentence in *error
// that names the file when it could not do its work.
class Databases
{
public:
    explicit Databases(const QString &folder = QDir::currentPath());

    QString folder() const { return m_folder; }
    // How long a call waits for another program that holds the settings file
    // (the database shell, a second copy of the tool) before it fails.
    void setBusyTimeoutMs(int ms) { m_busyMs = ms; }
    QString settingsFile() const;
    QString logFile() const;
    QString templateFile() const; // the report template

    // Start-up: every missing file is created (the settings and report rows
    // with their first values, the report template) and named
    // in *created. A file that exists is never rewritten, whatever it holds.
    // On failure *failedFile names the file that could not be made (the
    // report template when the installed one is missing: *error then names
    // the folders looked in).
    bool provision(QStringList *created, QString *error, QString *failedFile = nullptr);

    // Reading the settings row of TbValoresPre1, by field name.
    bool readSettings(const QStringList &fields, QVariantMap *values, QString *error);
    // The stored language text, exactly as stored ("PT", "EN" or anything).
    bool readLanguage(QString *idioma, QString *error);
    bool readComm(int *comm, QString *error);

    // Editing the single row of TbValoresPre1: all the values or none.
    bool writeSettings(const TableRows::Values &values, QString *error);
    // 0 stores "PT", 1 stores "EN".
    bool writeLanguage(int idioma, QString *error);
    bool writeComm(int comm, QString *error);

    // The single row of TbReport: written whole or not at all, and read back.
    bool writeReport(const TableRows::Values &row, QString *error);
    bool readReport(QVariantMap *row, QString *error);

private:
    bool createSettingsFile(QString *error);
    bool read(const QString &table, const QStringList &fields, QVariantMap *row, QString *error);
    bool update(const QString &table, const TableRows::Values &values, QString *error);

    QString m_folder;
    int m_busyMs = 2000;
};

} // namespace vx
