#include "databases.h"

#include "qtrecordsdatabase.h"
#include "recordstexts.h"
#include "sharedfiles.h"
#include "tables.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <climits>
#include <cstdio>

namespace vx {

namespace {

using Kind = TableRows::Kind;

void setError(QString *error, const QString &text)
{
    if (error) *error = text;
}

QList<TableRows::Table> settingsSchema()
{
    TableRows::Table values{toQString(kTbValoresPre1), {}, {}};
    TableRows::Values row;
    values.columns << TableRows::Column{toQString(kIdioma), Kind::Text}
                   << TableRows::Column{toQString(kComm), Kind::Integer};
    row << qMakePair(toQString(kIdioma), QVariant(QStringLiteral("PT")))
        << qMakePair(toQString(kComm), QVariant(1));
    for (const auto &c : kDefaults) {
        values.columns << TableRows::Column{toQString(c.field), Kind::Text};
        row << qMakePair(toQString(c.field), QVariant(toQString(c.initial)));
        if (c.field == "Parcial") {
            values.columns << TableRows::Column{toQString(kPagar), Kind::Text};
            row << qMakePair(toQString(kPagar), QVariant(toQString(kPagarInitial)));
        }
    }
    values.rows << row;

    TableRows::Table report{toQString(kTbReport), {}, {}};
    TableRows::Values empty;
    for (const auto &c : kReportFields) {
        report.columns << TableRows::Column{toQString(c.field), Kind::Text};
        empty << qMakePair(toQString(c.field), QVariant(QStringLiteral("-")));
    }
    report.rows << empty;
    return {values, report};
}

} // namespace

Databases::Databases(const QString &folder) : m_folder(folder) {}

// The file is built under a name of its own and renamed when it is whole, so
// a failure leaves no half made file behind, and a file that appeared
// meanwhile is left as it is (QFile::rename never replaces one).
bool Databases::createSettingsFile(QString *error)
{
    const QString file = settingsFile();
    if (QFileInfo::exists(file)) {
        setError(error, textOf(kDatabasesTexts, "exists").arg(QDir::toNativeSeparators(file)));
        return false;
    }
    const QFileInfo info(file);
    const QString temp = info.absoluteDir().filePath(
        QStringLiteral(".%1.%2.tmp")
            .arg(info.fileName(), QUuid::createUuid().toString(QUuid::WithoutBraces)));
    bool ok = false;
    {
        QtRecordsDatabase db(DatabasePlace::sqliteFile(temp),
                             QtRecordsDatabase::Mode::CreateIfMissing);
        db.setBusyTimeoutMs(m_busyMs);
        ok = TableRows(db).create(settingsSchema(), error);
    }
    if (!ok && error)
        error->replace(QDir::toNativeSeparators(temp), QDir::toNativeSeparators(file));
    if (ok && !QFile::rename(temp, file)) {
        setError(error, textOf(kDatabasesTexts, "notCreated").arg(QDir::toNativeSeparators(file)));
        ok = false;
    }
    if (!ok) {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
    }
    return ok;
}

bool Databases::read(const QString &table, const QStringList &fields, QVariantMap *row,
                     QString *error)
{
    QtRecordsDatabase db(DatabasePlace::sqliteFile(settingsFile()),
                         QtRecordsDatabase::Mode::MustExist);
    db.setBusyTimeoutMs(m_busyMs);
    return TableRows(db).readFirst(table, fields, row, error);
}

bool Databases::update(const QString &table, const TableRows::Values &values, QString *error)
{
    QtRecordsDatabase db(DatabasePlace::sqliteFile(settingsFile()),
                         QtRecordsDatabase::Mode::WriteExisting);
    db.setBusyTimeoutMs(m_busyMs);
    return TableRows(db).updateFirst(table, values, error);
}

QString Databases::settingsFile() const
{
    return QDir(m_folder).filePath(toQString(kSettingsFile));
}

QString Databases::logFile() const
{
    return QDir(m_folder).filePath(toQString(kLogFile));
}

QString Databases::templateFile() const
{
    return QDir(m_folder).filePath(toQString(kTemplateFile));
}

bool Databases::provision(QStringList *created, QString *error, QString *failedFile)
{
    const auto noteCreated = [&](const QString &f) {
        if (created) created->append(f);
        std::fprintf(
            stderr, "VX308: criado %s\n",
            QDir::toNativeSeparators(QFileInfo(f).absoluteFilePath()).toLocal8Bit().constData());
    };
    const auto failOn = [&](const QString &f) {
        if (failedFile) *failedFile = f;
        return false;
    };
    // Another program starting on the same folder may make a file between
    // the look and the making: then it is there, and that is all that counts.
    if (!QFileInfo(settingsFile()).isFile()) {
        if (createSettingsFile(error))
            noteCreated(settingsFile());
        else if (!QFileInfo(settingsFile()).isFile())
            return failOn(settingsFile());
    }
    const QString reportTemplate = templateFile();
    if (!QFileInfo::exists(reportTemplate)) {
        const QString shipped = SharedFiles::find(toQString(kTemplateFile), error);
        if (shipped.isEmpty()) return failOn(reportTemplate);
        // The technician edits the copy: writable by its owner, whatever the
        // mode of the file it was copied from.
        if (!SharedFiles::copyTo(shipped, reportTemplate, error)) return failOn(reportTemplate);
        if (!QFile::setPermissions(reportTemplate,
                                   QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ReadGroup | QFileDevice::ReadOther)) {
            setError(error, textOf(kDatabasesTexts, "notCreated")
                                .arg(QDir::toNativeSeparators(reportTemplate)));
            return failOn(reportTemplate);
        }
        noteCreated(reportTemplate);
    }
    return true;
}

bool Databases::readSettings(const QStringList &fields, QVariantMap *values, QString *error)
{
    return read(toQString(kTbValoresPre1), fields, values, error);
}

bool Databases::readLanguage(QString *idioma, QString *error)
{
    QVariantMap v;
    if (!readSettings({toQString(kIdioma)}, &v, error)) return false;
    *idioma = v.value(toQString(kIdioma)).toString();
    return true;
}

bool Databases::readComm(int *comm, QString *error)
{
    QVariantMap v;
    if (!readSettings({toQString(kComm)}, &v, error)) return false;
    const QVariant c = v.value(toQString(kComm));
    bool ok = false;
    const qlonglong n = c.toLongLong(&ok);
    if (c.isNull() || !ok || n < INT_MIN || n > INT_MAX) {
        setError(error,
                 textOf(kDatabasesTexts, "noPort").arg(QDir::toNativeSeparators(settingsFile())));
        return false;
    }
    *comm = static_cast<int>(n);
    return true;
}

bool Databases::writeSettings(const TableRows::Values &values, QString *error)
{
    return update(toQString(kTbValoresPre1), values, error);
}

bool Databases::writeLanguage(int idioma, QString *error)
{
    if (idioma != 0 && idioma != 1) {
        setError(error, textOf(kDatabasesTexts, "unknownLanguage").arg(idioma));
        return false;
    }
    return writeSettings(
        {qMakePair(toQString(kIdioma), QVariant(textOf(kDatabasesTexts, "languageCode", idioma)))},
        error);
}

bool Databases::writeComm(int comm, QString *error)
{
    return writeSettings({qMakePair(toQString(kComm), QVariant(comm))}, error);
}

bool Databases::writeReport(const TableRows::Values &row, QString *error)
{
    return update(toQString(kTbReport), row, error);
}

bool Databases::readReport(QVariantMap *row, QString *error)
{
    QStringList fields;
    for (const auto &c : kReportFields)
        fields << toQString(c.field);
    return read(toQString(kTbReport), fields, row, error);
}

} // namespace vx
