#include "linkstats.h"

#include <QLocale>

namespace vx {

QString countersPanel(const LinkStats &s)
{
    return QStringLiteral("N TRAMAS = %1 BF ERRORS = %2 TO ERRORS = %3")
        .arg(QString::number(static_cast<qint64>(s.n_tramas)))
        .arg(s.bf_erros)
        .arg(s.to_erros);
}

QString makerPanel(const QDate &today)
{
    return QStringLiteral("HALVOREN     ") +
           QLocale::system().toString(today, QLocale::ShortFormat);
}

QString clockPanel(const QTime &now)
{
    return QLocale::system().toString(now, QLocale::ShortFormat);
}

} // namespace vx
