#include "options.h"

#include "qtserialport.h"

#include <QRegularExpression>

namespace vx {

QString Options::helpText()
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

std::optional<Options> Options::parse(const QStringList &arguments, QString *error)
{
    Options o;
    const auto fail = [&](const QString &m) {
        if (error) *error = m;
        return std::optional<Options>{};
    };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        const auto valor = [&](QString *v) {
            if (i + 1 >= arguments.size()) return false;
            *v = arguments.at(++i);
            return true;
        };
        QString v;
        if (a == QLatin1String("--factory")) {
            o.factory = true;
        } else if (a == QLatin1String("--demo")) {
            o.demo = true;
        } else if (a == QLatin1String("--autotest-read")) {
            o.autotestRead = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--com")) {
            PortMap probe;
            if (!valor(&v) || !probe.parse(v))
                return fail(QStringLiteral("--com needs N=PATH, e.g. --com 1=/dev/ttyUSB0"));
            o.portPaths << v;
        } else if (a == QLatin1String("--data")) {
            if (!valor(&v) || v.isEmpty()) return fail(QStringLiteral("--data needs a folder"));
            o.dataFolder = v;
        } else if (a == QLatin1String("--screenshot")) {
            if (!valor(&v) || v.isEmpty())
                return fail(QStringLiteral("--screenshot needs a file name prefix"));
            o.screenshot = v;
        } else if (a == QLatin1String("--screen")) {
            static const QRegularExpression form(
                QRegularExpression::anchoredPattern(QStringLiteral("(\\d{3,5})x(\\d{3,5})")));
            const auto m = valor(&v) ? form.match(v) : QRegularExpressionMatch();
            if (!m.hasMatch())
                return fail(QStringLiteral("--screen needs WxH, e.g. --screen 1024x768"));
            o.screenSize = QSize(m.captured(1).toInt(), m.captured(2).toInt());
        } else if (a == QLatin1String("--timescale")) {
            bool ok = false;
            const double x = valor(&v) ? v.toDouble(&ok) : 0.0;
            if (!ok || !(x > 0.0) || x > 10.0)
                return fail(QStringLiteral("--timescale needs a number above 0 and up to 10"));
            o.timeScale = x;
        } else {
            return fail(QStringLiteral("unknown option %1").arg(a));
        }
    }
    if (!o.screenshot.isEmpty() && !o.autotestRead)
        return fail(QStringLiteral("--screenshot works with --autotest-read only"));
    if (o.demo && !o.portPaths.isEmpty())
        return fail(QStringLiteral("--demo and --com cannot be used together"));
    return o;
}

} // namespace vx
