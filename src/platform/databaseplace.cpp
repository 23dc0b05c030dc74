#include "databaseplace.h"

#include <QDir>
#include <QUrl>
#include <QUrlQuery>

namespace vx {

DatabasePlace DatabasePlace::sqliteFile(const QString &path)
{
    DatabasePlace p;
    p.kind = Kind::SqliteFile;
    p.file = path;
    return p;
}

QString DatabasePlace::display() const
{
    if (kind == Kind::SqliteFile) return QDir::toNativeSeparators(file);
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(user);
    const bool socketFolder = host.startsWith(QLatin1Char('/'));
    if (!socketFolder) url.setHost(host);
    if (port > 0 && !socketFolder) url.setPort(port);
    url.setPath(QLatin1Char('/') + database);
    QUrlQuery query;
    if (socketFolder) query.addQueryItem(QStringLiteral("host"), host);
    if (socketFolder && port > 0) query.addQueryItem(QStringLiteral("port"), QString::number(port));
    for (const QString &o : options)
        query.addQueryItem(o.section(QLatin1Char('='), 0, 0), o.section(QLatin1Char('='), 1));
    url.setQuery(query);
    // An empty host is left out of the authority, but the "//" must stay.
    QString shown = url.toString(QUrl::RemovePassword);
    if (!shown.startsWith(QLatin1String("postgresql://")))
        shown.replace(0, int(qstrlen("postgresql:")), QStringLiteral("postgresql://"));
    return shown;
}

} // namespace vx
