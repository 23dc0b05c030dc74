#include "recordschoice.h"

#include "tables.h"
#include "usersettings.h"

#include <QDir>

namespace vx {

namespace {

const QString kUrlKey = QStringLiteral("records/url");

RecordsLocation localFile(const QString &dataFolder)
{
    const QDir folder(dataFolder.isEmpty() ? QDir::currentPath() : dataFolder);
    return RecordsLocation::sqliteFile(folder.filePath(toQString(kLogFile)));
}

} // namespace

RecordsChoice::RecordsChoice(QString file) : m_settings(std::move(file)) {}

QString RecordsChoice::localWord()
{
    return QStringLiteral("local");
}

bool RecordsChoice::isValid(const QString &text, QString *error)
{
    if (text == localWord()) return true;
    RecordsLocation ignored;
    return RecordsLocation::parse(text, &ignored, error);
}

QString RecordsChoice::rememberedUrl() const
{
    return m_settings.value(kUrlKey);
}

bool RecordsChoice::keep(const QString &url) const
{
    return m_settings.store({{kUrlKey, url}});
}

bool RecordsChoice::choose(const QString &option, const QString &dataFolder, bool remember,
                           RecordsLocation *out, QString *error, QString *note) const
{
    const auto say = [note](const QString &text) {
        if (note) *note = text;
    };
    const QString notKept =
        QStringLiteral("the choice of records could not be kept in %1 (check that it can be "
                       "written); it is used for this run only.")
            .arg(QDir::toNativeSeparators(m_settings.file()));
    if (option == localWord()) {
        if (remember && !rememberedUrl().isEmpty() && !keep({})) say(notKept);
        *out = localFile(dataFolder);
        return true;
    }
    if (!option.isEmpty()) {
        if (!RecordsLocation::parse(option, out, error)) return false;
        if (!remember) return true;
        // The password stays out of a file that other programs may read.
        if (!keep(out->display()))
            say(notKept);
        else if (!out->password.isEmpty())
            say(QStringLiteral("the password is not kept: for the next start put it in "
                               "~/.pgpass (or PGPASSWORD)."));
        return true;
    }
    const QString kept = rememberedUrl();
    if (kept.isEmpty()) {
        *out = localFile(dataFolder);
        return true;
    }
    QString why;
    if (RecordsLocation::parse(kept, out, &why)) return true;
    if (error)
        *error = QStringLiteral("the records kept in %1 cannot be used: %2 Give --records with a "
                                "postgresql:// URI, or --records local for this PC's own file.")
                     .arg(QDir::toNativeSeparators(m_settings.file()), why);
    return false;
}

} // namespace vx
