#include "recordslocation.h"

#include <QUrl>
#include <QUrlQuery>

namespace vx {

namespace {

bool refuse(QString *error, const QString &text, const QString &why)
{
    if (error)
        *error =
            QStringLiteral("--records %1: %2 For example: postgresql://technician@server/vx308")
                .arg(text, why);
    return false;
}

// Only what libpq takes as a setting name: letters, digits and "_".
bool settingName(const QString &name)
{
    if (name.isEmpty()) return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_'))) return false;
    return true;
}

} // namespace

RecordsLocation RecordsLocation::sqliteFile(const QString &path)
{
    RecordsLocation l;
    l.kind = Kind::SqliteFile;
    l.file = path;
    return l;
}

bool RecordsLocation::parse(const QString &text, RecordsLocation *out, QString *error)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() ||
        (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres")))
        // What was given is shown, unless it may hold a password.
        return refuse(error,
                      url.isValid()
                          ? url.toString(QUrl::RemovePassword)
                          : (text.contains(QLatin1Char('@')) ? QStringLiteral("(URI)") : text),
                      QStringLiteral("not a postgresql:// URI."));
    RecordsLocation l;
    l.kind = Kind::Postgres;
    l.host = url.host();
    l.port = url.port(0);
    l.user = url.userName();
    l.password = url.password();
    l.database = url.path().mid(1);
    if (l.database.isEmpty() || l.database.contains(QLatin1Char('/')))
        return refuse(error, l.display(), QStringLiteral("the database name is missing."));
    const QUrlQuery query(url);
    for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("host")) {
            l.host = value;
        } else if (key == QLatin1String("port")) {
            bool ok = false;
            l.port = value.toInt(&ok);
            if (!ok || l.port < 1 || l.port > 65535)
                return refuse(error, l.display(),
                              QStringLiteral("the port is not a number from 1 to 65535."));
        } else if (key == QLatin1String("password")) {
            l.password = value;
        } else if (key == QLatin1String("user")) {
            l.user = value;
        } else if (settingName(key) && !value.contains(QLatin1Char(';'))) {
            l.options << key + QLatin1Char('=') + value;
        } else {
            return refuse(error, l.display(), QStringLiteral("unknown setting %1.").arg(key));
        }
    }
    *out = l;
    return true;
}

} // namespace vx
