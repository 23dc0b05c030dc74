// vx308ctl: the maintenance engine from the command line, for benches and
// scripts.
#include "ctlrunner.h"
#include "qtserialport.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

constexpr int kUsage = 64;

int usage(const char *why)
{
    if (why) std::fprintf(stderr, "vx308ctl: %s\n", why);
    std::fprintf(stderr,
                 "usage: vx308ctl read  (--port N | --device PATH) [--json] [--timeout S]\n"
                 "       vx308ctl set FIELD=TEXT... (--port N | --device PATH) [--timeout S]\n"
                 "       vx308ctl clear (--port N | --device PATH) [--json] [--timeout S]\n"
                 "\n"
                 "read   reads every value of the timer and prints it (JSON with --json)\n"
                 "set    reads, confirms each FIELD=TEXT as Enter does in the window, writes\n"
                 "       them (Check_ibut=1, Check_contador=0 for the tick boxes)\n"
                 "clear  reads, presses Clear, waits for the erase and the new read\n"
                 "\n"
                 "--port N       serial port N (/dev/ttyS<N-1>)\n"
                 "--device PATH  any serial device: a USB adapter, a pseudo-terminal\n"
                 "--timeout S    give up after S seconds (default 30): exit status 2\n"
                 "Exit status: 0 done, 1 a value was refused, 2 the timer did not answer, answered\n"
                 "only with bad replies, or did not finish in time (standard error says which),\n"
                 "64 bad arguments.\n");
    return kUsage;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.contains(QStringLiteral("--help"))) return usage(nullptr);

    CtlRunner::Job request;
    const QString action = args.takeFirst();
    if (action == QLatin1String("read"))
        request.action = CtlRunner::Action::Read;
    else if (action == QLatin1String("set"))
        request.action = CtlRunner::Action::Set;
    else if (action == QLatin1String("clear"))
        request.action = CtlRunner::Action::Clear;
    else
        return usage("unknown command");

    vx::PortMap portMap;
    int port = 0;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        bool ok = true;
        if (a == QLatin1String("--json")) {
            request.json = true;
        } else if (a == QLatin1String("--port") && !args.isEmpty()) {
            port = args.takeFirst().toInt(&ok);
            if (!ok || port < 1 || port > 255)
                return usage("--port takes a number from 1 to 255");
        } else if (a == QLatin1String("--device") && !args.isEmpty()) {
            port = 1;
            portMap.set(1, args.takeFirst());
        } else if (a == QLatin1String("--timeout") && !args.isEmpty()) {
            request.timeoutSeconds = args.takeFirst().toInt(&ok);
            if (!ok || request.timeoutSeconds < 1 || request.timeoutSeconds > 86400)
                return usage("--timeout takes a whole number of seconds from 1 to 86400");
        } else if (request.action == CtlRunner::Action::Set && a.contains(QLatin1Char('=')) &&
                   !a.startsWith(QLatin1Char('-'))) {
            const QString field = a.section(QLatin1Char('='), 0, 0);
            if (!CtlRunner::isKnownField(field))
                return usage(qPrintable(QStringLiteral("unknown field %1").arg(field)));
            request.values.append({field, a.section(QLatin1Char('='), 1)});
        } else {
            return usage(qPrintable(QStringLiteral("unexpected argument %1").arg(a)));
        }
    }
    if (port == 0) return usage("--port or --device is needed");
    if (request.action == CtlRunner::Action::Set && request.values.isEmpty())
        return usage("set needs at least one FIELD=TEXT");

    auto serial = std::make_unique<vx::QtSerialPort>(portMap);
    serial->setPortNumber(port);
    request.portDescription = portMap.pathFor(port);
    request.port = std::move(serial);
    CtlRunner runner(std::move(request));
    runner.start();
    return app.exec();
}
