#include "linkstats.h"

#include <QLocale>

namespace vx {

QString painelContadores(const LinkStats &s)
{
    return QStringLiteral("N TRAMAS = %1 BF ERRORS = %2 TO ERRORS = %3")
        .arg(QString::number(static_cast<qint64>(s.n_tramas)))
        .arg(s.bf_erros)
        .arg(s.to_erros);
}

QString painelFabricante(const QDate &hoje)
{
    return QStringLiteral("HALVOREN     ") + QLocale::system().toString(hoje, QLocale::ShortFormat);
}

QString painelHora(const QTime &agora)
{
    return QLocale::system().toString(agora, QLocale::ShortFormat);
}

} // namespace vx
