// vx308ctl: the maintenance engine from the command line, for benches and
// scripts.
#include "clock.h"
#include "configcommands.h"
#include "ctlrunner.h"
#include "portlisting.h"
#include "qtportinfosource.h"
#include "qtserialport.h"
#include "tracefile.h"
#include "traffictrace.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

constexpr int kUsage = CtlRunner::kUsage;

const char *const kUsageText =
    "usage: vx308ctl read  (--port N | --device PATH) [--json] [--timeout S]\n"
    "       vx308ctl set FIELD=TEXT... (--port N | --device PATH) [--timeout S]\n"
    "       vx308ctl clear (--port N | --device PATH) [--yes] [--data DIR] [--json] [--timeout S]\n"
    "       vx308ctl ports [--probe] [--json] [--device PATH]\n"
    "       vx308ctl save FILE (--port N | --device PATH) [--timeout S]\n"
    "       vx308ctl diff [--all] FILE (--port N | --device PATH) [--timeout S]\n"
    "       vx308ctl restore [--all] FILE (--port N | --device PATH) [--timeout S]\n"
    "\n"
    "read   reads every value of the timer and prints it (JSON with --json)\n"
    "set    reads, confirms each FIELD=TEXT as Enter does in the window, writes\n"
    "       them (Check_ibut=1, Check_contador=0 for the tick boxes)\n"
    "clear  reads, shows the sub-totals and counters that will be zeroed and asks\n"
    "       (yes/sim), stores every value read in DIR/Snapshots.db (table\n"
    "       ClearSnapshots; the file and row are printed), then presses Clear and\n"
    "       waits for the erase and the new read. Not on a terminal it needs --yes.\n"
    "ports  lists the system's serial ports (path, description, maker, serial),\n"
    "       and --device PATH besides;\n"
    "       --probe asks each once, changing nothing, whether a VX308 answers\n"
    "save   reads and writes the timer's values to the configuration file FILE\n"
    "diff   reads and lists each field restore would change, one a line: field,\n"
    "       caption, in the file, in the timer (separated by tabs); exit status 0\n"
    "       when none differ, 1 when some do\n"
    "restore reads, then writes FILE's settings into the timer: tariffs, passwords,\n"
    "       tick boxes, fraction and key serial; a value the timer cannot store is\n"
    "       named and not written, the others are (exit status 1)\n"
    "--all  diff and restore: also counters, takings, Power Down, games, programs\n"
    "       and the unit's identity (the 31 values of \"PC -> Pic\")\n"
    "\n"
    "--port N       serial port N (/dev/ttyS<N-1>)\n"
    "--device PATH  any serial device: a USB adapter, a pseudo-terminal\n"
    "--timeout S    give up after S seconds (default 30)\n"
    "--yes          clear without asking\n"
    "--data DIR     where Snapshots.db is kept (default: the current folder)\n"
    "--probe        with ports: ask each port for a timer (1 s each)\n"
    "--trace FILE   write every frame sent and received to FILE, one a line: time,\n"
    "               characters, command, address, field, value; rejected replies\n"
    "               with the reason, time-outs\n"
    "--version      the program's version; -h, --help this text\n"
    "A read or write shows its progress on standard error when that is a terminal.\n"
    "Messages are in Portuguese when the system's language is, in English otherwise.\n"
    "\n"
    "Exit status:\n"
    "  0  done (diff: no field differs)\n"
    "  1  a value was refused (not storable in the timer) (diff: some fields differ)\n"
    "  2  not finished in time: the timer answers, but too slowly or on a bad line\n"
    "  3  the port does not exist (or cannot be opened for another reason)\n"
    "  4  no permission to open the port (Linux: the dialout group)\n"
    "  5  the port is held by another program\n"
    "  6  the timer does not answer (cable, power, port)\n"
    "  7  only rejected replies (wrong device or line speed)\n"
    "  8  clear not confirmed: nothing was zeroed\n"
    "  9  the values could not be stored before clear: nothing was zeroed\n"
    " 64  bad arguments, or a trace file that cannot be written\n"
    " 65  the configuration file cannot be read, is damaged or of an unknown version\n"
    "     (nothing is written to the timer), or cannot be written\n";

int usage(const QString &why)
{
    std::fprintf(stderr, "vx308ctl: %s\n%s", qPrintable(why), kUsageText);
    return kUsage;
}

std::optional<CtlRunner::Action> actionNamed(const QString &name)
{
    if (name == QLatin1String("read")) return CtlRunner::Action::Read;
    if (name == QLatin1String("set")) return CtlRunner::Action::Set;
    if (name == QLatin1String("clear")) return CtlRunner::Action::Clear;
    if (ConfigCommands::commandNamed(name)) return CtlRunner::Action::Config;
    return std::nullopt;
}

// The values of `set`: FIELD=TEXT for a field the tool can write.
bool takeValues(CtlRunner::Job &job, const QStringList &words, QString *error)
{
    for (const QString &w : words) {
        const QString field = w.section(QLatin1Char('='), 0, 0);
        if (job.action != CtlRunner::Action::Set || !w.contains(QLatin1Char('='))) {
            *error = QStringLiteral("unexpected argument %1").arg(w);
            return false;
        }
        if (!CtlRunner::isKnownField(field)) {
            *error = QStringLiteral("unknown field %1").arg(field);
            return false;
        }
        job.values.append({field, w.section(QLatin1Char('='), 1)});
    }
    if (job.action == CtlRunner::Action::Set && job.values.isEmpty()) {
        *error = QStringLiteral("set needs at least one FIELD=TEXT");
        return false;
    }
    return true;
}

// save, diff and restore: the one FILE, and --all where it means something.
bool takeConfigFile(CtlRunner::Job &job, const QString &command, QStringList &words,
                    const QCommandLineParser &p, QString *error)
{
    const auto which = ConfigCommands::commandNamed(command);
    const bool all = p.isSet(QStringLiteral("all"));
    if (!which) {
        if (all) *error = QStringLiteral("--all is for diff and restore");
        return !all;
    }
    if (words.size() != 1) {
        *error = QStringLiteral("%1 needs exactly one FILE").arg(command);
        return false;
    }
    if (all && *which == ConfigCommands::Command::Save) {
        *error = QStringLiteral("save always writes every value; --all is for diff and restore");
        return false;
    }
    job.config = std::make_shared<ConfigCommands>(*which, words.takeFirst(), all);
    return true;
}

// Which serial device: --port N (/dev/ttyS<N-1>) or --device PATH.
bool takePort(CtlRunner::Job &job, const QCommandLineParser &p, QString *error)
{
    vx::PortMap portMap;
    int port = 0;
    if (p.isSet(QStringLiteral("device"))) {
        port = 1;
        portMap.set(1, p.value(QStringLiteral("device")));
    } else if (p.isSet(QStringLiteral("port"))) {
        bool ok = false;
        port = p.value(QStringLiteral("port")).toInt(&ok);
        if (!ok || port < 1 || port > 255) {
            *error = QStringLiteral("--port takes a number from 1 to 255");
            return false;
        }
    } else {
        *error = QStringLiteral("--port or --device is needed");
        return false;
    }
    auto serial = std::make_unique<vx::QtSerialPort>(portMap);
    serial->setPortNumber(port);
    job.portDescription = portMap.pathFor(port);
    job.port = std::move(serial);
    return true;
}

bool takeTimeout(CtlRunner::Job &job, const QCommandLineParser &p, QString *error)
{
    if (!p.isSet(QStringLiteral("timeout"))) return true;
    bool ok = false;
    job.timeoutSeconds = p.value(QStringLiteral("timeout")).toInt(&ok);
    // Kept well below what would overflow as milliseconds.
    if (ok && job.timeoutSeconds >= 1 && job.timeoutSeconds <= 86400) return true;
    *error = QStringLiteral("--timeout takes a whole number of seconds from 1 to 86400");
    return false;
}

// --trace FILE: every frame on the line, written to FILE as it goes. The file
// is opened before the port is, so a wrong path costs the timer nothing.
bool takeTrace(CtlRunner::Job &job, const QCommandLineParser &p, QString *error)
{
    if (!p.isSet(QStringLiteral("trace"))) return true;
    static vx::SystemClock clock;
    static vx::TraceFile file;
    static vx::TrafficTrace trace(clock);
    if (!file.open(p.value(QStringLiteral("trace")), error)) return false;
    QObject::connect(&trace, &vx::TrafficTrace::lineAdded,
                     [](const QString &line) { file.write(line); });
    job.observer = &trace;
    return true;
}

// `ports`: lists, and with --probe asks, the system's serial ports.
int listPorts(const QCommandLineParser &p, const QStringList &words)
{
    if (!words.isEmpty()) return usage(QStringLiteral("unexpected argument %1").arg(words.first()));
    const bool probe = p.isSet(QStringLiteral("probe"));
    // --device adds a port the system does not list (a pseudo-terminal).
    QList<vx::PortInfo> ports = vx::QtPortInfoSource().ports();
    const QString extra = p.value(QStringLiteral("device"));
    if (!extra.isEmpty() && std::none_of(ports.cbegin(), ports.cend(),
                                         [&](const vx::PortInfo &i) { return i.path == extra; }))
        ports.append({extra, {}, {}, {}});
    const auto entries = PortListing::collect(vx::FixedPortInfoSource(ports), probe, 1000);
    const QString out = p.isSet(QStringLiteral("json")) ? PortListing::json(entries, probe)
                                                        : PortListing::text(entries, probe);
    std::fputs(out.toLocal8Bit().constData(), stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vx308ctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VX_VERSION));
    QCommandLineParser p;
    p.addOptions({{QStringLiteral("json"), {}},
                  {QStringLiteral("port"), {}, QStringLiteral("N")},
                  {QStringLiteral("device"), {}, QStringLiteral("PATH")},
                  {QStringLiteral("timeout"), {}, QStringLiteral("S")},
                  {QStringLiteral("probe"), {}},
                  {QStringLiteral("yes"), {}},
                  {QStringLiteral("data"), {}, QStringLiteral("DIR")},
                  {QStringLiteral("trace"), {}, QStringLiteral("FILE")},
                  {{QStringLiteral("h"), QStringLiteral("help")}, {}},
                  {QStringLiteral("version"), {}},
                  {QStringLiteral("all"), {}}});
    if (!p.parse(QCoreApplication::arguments())) return usage(p.errorText());
    if (p.isSet(QStringLiteral("help"))) {
        std::fputs(kUsageText, stdout);
        return 0;
    }
    if (p.isSet(QStringLiteral("version"))) {
        std::printf("vx308ctl %s\n", VX_VERSION);
        return 0;
    }
    QStringList words = p.positionalArguments();
    if (words.isEmpty())
        return usage(
            QStringLiteral("a command is needed: read, set, clear, save, diff, restore or ports"));
    if (words.first() == QLatin1String("ports")) return listPorts(p, words.mid(1));
    const QString command = words.first();
    const auto action = actionNamed(words.takeFirst());
    if (!action)
        return usage(
            QStringLiteral("unknown command; use read, set, clear, save, diff, restore or ports"));

    CtlRunner::Job job;
    job.action = *action;
    job.json = p.isSet(QStringLiteral("json"));
    QString error;
    if (!takeConfigFile(job, command, words, p, &error)) return usage(error);
    if (!takeValues(job, words, &error) || !takeTimeout(job, p, &error) ||
        !takeTrace(job, p, &error) || !takePort(job, p, &error))
        return usage(error);
    if (job.config && !job.config->loadFile()) return ConfigCommands::kFileProblem;
    job.idioma = QLocale::system().language() == QLocale::Portuguese ? 0 : 1;
    job.dataFolder = p.value(QStringLiteral("data"));
    job.confirmed = p.isSet(QStringLiteral("yes"));
    // Nobody to ask: zeroing a unit's takings takes an explicit --yes.
    if (job.action == CtlRunner::Action::Clear && !job.confirmed && !::isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "vx308ctl: %s\n",
                     job.idioma == 1
                         ? "clear zeroes the unit's sub-totals and counters; standard input is "
                           "not a terminal, so nobody can confirm it: add --yes to go ahead. "
                           "Nothing was sent."
                         : "clear põe a zero os totais e contadores da unidade; a entrada não é "
                           "um terminal, ninguém pode confirmar: junte --yes para continuar. "
                           "Nada foi enviado.");
        return CtlRunner::kClearNotConfirmed;
    }
    CtlRunner runner(std::move(job));
    runner.start();
    return app.exec();
}
