#include "opcoes.h"

#include "qtserialport.h"

#include <QRegularExpression>

namespace vx {

QString Opcoes::textoAjuda()
{
    return QStringLiteral(
        "Usage: vx308-maint [options]\n"
        "  --factory        show the factory menu (new unit, copy, defaults)\n"
        "  --demo           run the vx308-emulator program and use it on every port\n"
        "  --com N=PATH     use device PATH for port N (repeatable)\n"
        "  --data DIR       folder of the database files (default: current folder)\n"
        "  --autotest-read  read the device, print the fields as JSON, exit\n"
        "  --screenshot P   with --autotest-read: save the window as P-pt.png, P-en.png\n"
        "  --screen WxH     fit the window to a screen of W x H pixels\n"
        "  --timescale X    multiply link and start-up intervals by X (0 < X <= 10)\n"
        "  --help           this text\n");
}

std::optional<Opcoes> Opcoes::analisar(const QStringList &argumentos, QString *erro)
{
    Opcoes o;
    const auto falhar = [&](const QString &m) {
        if (erro) *erro = m;
        return std::optional<Opcoes>{};
    };
    for (qsizetype i = 1; i < argumentos.size(); ++i) {
        const QString &a = argumentos.at(i);
        const auto valor = [&](QString *v) {
            if (i + 1 >= argumentos.size()) return false;
            *v = argumentos.at(++i);
            return true;
        };
        QString v;
        if (a == QLatin1String("--factory")) {
            o.fabrica = true;
        } else if (a == QLatin1String("--demo")) {
            o.demo = true;
        } else if (a == QLatin1String("--autotest-read")) {
            o.autotestLer = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.ajuda = true;
        } else if (a == QLatin1String("--com")) {
            PortMap teste;
            if (!valor(&v) || !teste.parse(v))
                return falhar(QStringLiteral("--com needs N=PATH, e.g. --com 1=/dev/ttyUSB0"));
            o.com << v;
        } else if (a == QLatin1String("--data")) {
            if (!valor(&v) || v.isEmpty()) return falhar(QStringLiteral("--data needs a folder"));
            o.dados = v;
        } else if (a == QLatin1String("--screenshot")) {
            if (!valor(&v) || v.isEmpty())
                return falhar(QStringLiteral("--screenshot needs a file name prefix"));
            o.captura = v;
        } else if (a == QLatin1String("--screen")) {
            static const QRegularExpression forma(
                QRegularExpression::anchoredPattern(QStringLiteral("(\\d{3,5})x(\\d{3,5})")));
            const auto m = valor(&v) ? forma.match(v) : QRegularExpressionMatch();
            if (!m.hasMatch())
                return falhar(QStringLiteral("--screen needs WxH, e.g. --screen 1024x768"));
            o.ecra = QSize(m.captured(1).toInt(), m.captured(2).toInt());
        } else if (a == QLatin1String("--timescale")) {
            bool ok = false;
            const double x = valor(&v) ? v.toDouble(&ok) : 0.0;
            if (!ok || !(x > 0.0) || x > 10.0)
                return falhar(QStringLiteral("--timescale needs a number above 0 and up to 10"));
            o.escalaTempo = x;
        } else {
            return falhar(QStringLiteral("unknown option %1").arg(a));
        }
    }
    if (!o.captura.isEmpty() && !o.autotestLer)
        return falhar(QStringLiteral("--screenshot works with --autotest-read only"));
    if (o.demo && !o.com.isEmpty())
        return falhar(QStringLiteral("--demo and --com cannot be used together"));
    return o;
}

} // namespace vx
