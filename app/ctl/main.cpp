// vx308ctl: the maintenance engine from the command line, for benches and
// scripts.
#include "clock.h"
#include "configcommands.h"
#include "ctlrunner.h"
#include "ctltexts.h"
#include "fieldtable.h"
#include "portlisting.h"
#include "qtportinfosource.h"
#include "qtserialport.h"
#include "recordschoice.h"
#include "recordscommands.h"
#include "takingslisting.h"
#include "tracefile.h"
#include "traffictrace.h"
#include "usagetext.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

constexpr int kUsage = CtlRunner::kUsage;

// The language of the messages: Portuguese when the system's is.
int systemLanguage()
{
    return QLocale::system().language() == QLocale::Portuguese ? 0 : 1;
}

QString inLanguage(std::string_view key)
{
    return ctlText(key, systemLanguage());
}

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
    if (name == QLatin1String("new-unit")) return CtlRunner::Action::NewUnit;
    if (ConfigCommands::commandNamed(name)) return CtlRunner::Action::Config;
    return std::nullopt;
}

// A tick box's value as `set` takes it: 0 or 1, or the same in words;
// anything else is refused rather than taken for ticked. *text becomes "0"
// or "1".
bool takeTickBox(const QString &field, QString *text, QString *error)
{
    static const QStringList kOff{"0", "false", "não", "nao"};
    static const QStringList kOn{"1", "true", "sim"};
    const QString word = text->trimmed().toLower();
    if (kOff.contains(word) || kOn.contains(word)) {
        *text = kOn.contains(word) ? QStringLiteral("1") : QStringLiteral("0");
        return true;
    }
    *error = inLanguage("notTickBox").arg(field, vx::ConfigFile::printable(*text));
    return false;
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
        QString text = w.section(QLatin1Char('='), 1);
        if (field.startsWith(QLatin1String("Check_")) && !takeTickBox(field, &text, error))
            return false;
        job.values.append({field, text});
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
        if (p.isSet(QStringLiteral("identity"))) *error = inLanguage("identityOption");
        return error->isEmpty();
    }
    if (words.size() != 1) {
        *error = QStringLiteral("%1 needs exactly one FILE").arg(command);
        return false;
    }
    if (all && *which == ConfigCommands::Command::Save) {
        *error = QStringLiteral("save always writes every value; --all is for diff and restore");
        return false;
    }
    const bool identity = p.isSet(QStringLiteral("identity"));
    if (identity && !(all && *which == ConfigCommands::Command::Restore)) {
        *error = inLanguage("identityOption");
        return false;
    }
    job.config = std::make_shared<ConfigCommands>(*which, words.takeFirst(), all);
    job.config->allowOtherIdentity(identity);
    return true;
}

// Which serial device: --port N (/dev/ttyS<N-1>) or --device PATH.
bool takePort(CtlRunner::Job &job, const QCommandLineParser &p, QString *error)
{
    vx::PortMap portMap;
    int port = 0;
    if (p.values(QStringLiteral("device")).size() + p.values(QStringLiteral("port")).size() > 1) {
        *error = inLanguage("onePort");
        return false;
    }
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
    if (!file.open(p.value(QStringLiteral("trace")), error, systemLanguage())) return false;
    job.trace = &trace;
    job.traceFile = &file;
    return true;
}

// `ports`: lists, and with --probe asks, the system's serial ports.
// `vx308ctl fields`: the fields set takes, one a line, for scripts and the
// shell's completion of `set`.
int listFields(const QStringList &words)
{
    if (!words.isEmpty()) return usage(QStringLiteral("fields takes no arguments"));
    for (const vx::Field &f : vx::kFields)
        std::printf("%s\n", std::string(f.name).c_str());
    return 0;
}

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
    const vx::SystemClock clock;
    const auto entries = PortListing::collect(ports, probe, 1000, clock);
    const QString out = p.isSet(QStringLiteral("json")) ? PortListing::json(entries, probe)
                                                        : PortListing::text(entries, probe);
    std::fputs(out.toLocal8Bit().constData(), stdout);
    return 0;
}

// A password written in the URI shows in the process list for the whole
// run; it is still used, once the user knows where it belongs.
void warnOfPassword(const QString &uri)
{
    if (QUrl(uri).password().isEmpty()) return;
    std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(inLanguage("passwordVisible")));
}

// --records URL, "local", or the choice vx308-maint keeps for this user;
// vx308ctl never changes what is kept.
bool takeRecords(const QCommandLineParser &p, vx::RecordsLocation *out, QString *error)
{
    const QString given = p.value(QStringLiteral("records"));
    if (p.isSet(QStringLiteral("records")) && given.isEmpty()) {
        *error = QStringLiteral("--records needs a postgresql:// URI, or local");
        return false;
    }
    warnOfPassword(given);
    return vx::RecordsChoice().choose(given, p.value(QStringLiteral("data")), false, out, error);
}

RecordsCommands::Format formatOf(const QCommandLineParser &p)
{
    if (p.isSet(QStringLiteral("json"))) return RecordsCommands::Format::Json;
    if (p.isSet(QStringLiteral("csv"))) return RecordsCommands::Format::Csv;
    return RecordsCommands::Format::Text;
}

// `takings [--from DAY] [--to DAY]`: the takings of the units visited then.
int runTakings(const QCommandLineParser &p, const QStringList &rest, int idioma)
{
    if (!rest.isEmpty()) return usage(QStringLiteral("unexpected argument %1").arg(rest.first()));
    QDate from;
    QDate to;
    QString error;
    if (!TakingsListing::period(p.value(QStringLiteral("from")), p.value(QStringLiteral("to")),
                                QDate::currentDate(), idioma, &from, &to, &error))
        return usage(error);
    vx::RecordsLocation location;
    if (!takeRecords(p, &location, &error)) return usage(error);
    return RecordsCommands(location, idioma, p.value(QStringLiteral("data")))
        .takings(from, to, formatOf(p));
}

// `units`, `records import FILE`, `history [UNIT]`, `journal [UNIT]` and `takings`: the records
// alone, no timer. Nothing when the command is another.
std::optional<int> runRecordsCommand(const QCommandLineParser &p, const QStringList &words,
                                     int idioma)
{
    const QString command = words.first();
    const QStringList rest = words.mid(1);
    const bool takings = command == QLatin1String("takings");
    if (!takings && (p.isSet(QStringLiteral("from")) || p.isSet(QStringLiteral("to"))))
        return usage(QStringLiteral("--from and --to are for takings"));
    if (takings && p.isSet(QStringLiteral("json")) && p.isSet(QStringLiteral("csv")))
        return usage(QStringLiteral("--json and --csv cannot be used together"));
    if (takings) return runTakings(p, rest, idioma);
    const bool import = command == QLatin1String("records");
    const bool listing = command == QLatin1String("history") || command == QLatin1String("journal");
    if (!import && command != QLatin1String("units") && !listing) return std::nullopt;
    if (import && !RecordsCommands::isRecordsCommand(rest))
        return usage(QStringLiteral("records takes: import FILE, pending, or pending add"));
    if (command == QLatin1String("units") && !rest.isEmpty())
        return usage(QStringLiteral("unexpected argument %1").arg(rest.first()));
    if (listing && rest.size() > 1)
        return usage(QStringLiteral("%1 takes one UNIT at most").arg(command));
    if (p.isSet(QStringLiteral("json")) && p.isSet(QStringLiteral("csv")))
        return usage(QStringLiteral("--json and --csv cannot be used together"));
    if (p.isSet(QStringLiteral("csv")) && !listing)
        return usage(QStringLiteral("--csv is for history, journal and takings"));
    vx::RecordsLocation location;
    QString error;
    if (!takeRecords(p, &location, &error)) return usage(error);
    RecordsCommands commands(location, idioma, p.value(QStringLiteral("data")));
    if (import) return commands.records(rest, formatOf(p));
    if (command == QLatin1String("units")) return commands.units(formatOf(p));
    if (command == QLatin1String("journal")) return commands.journal(rest.value(0), formatOf(p));
    return commands.history(rest.value(0), formatOf(p));
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
                  {QStringLiteral("records"), {}, QStringLiteral("URL")},
                  {QStringLiteral("csv"), {}},
                  {QStringLiteral("from"), {}, QStringLiteral("DAY")},
                  {QStringLiteral("to"), {}, QStringLiteral("DAY")},
                  {{QStringLiteral("h"), QStringLiteral("help")}, {}},
                  {QStringLiteral("version"), {}},
                  {QStringLiteral("all"), {}},
                  {QStringLiteral("identity"), {}}});
    if (!p.parse(QCoreApplication::arguments())) return usage(p.errorText());
    if (p.isSet(QStringLiteral("help"))) {
        // In one piece, more than a stdio buffer holds: a reader that stops
        // at the first line it wants (grep -q) must not cut the program off
        // with SIGPIPE halfway through.
        const auto length = static_cast<ssize_t>(std::strlen(kUsageText));
        return ::write(STDOUT_FILENO, kUsageText, static_cast<size_t>(length)) == length ? 0 : 1;
    }
    if (p.isSet(QStringLiteral("version"))) {
        std::printf("vx308ctl %s\n", VX_VERSION);
        return 0;
    }
    QStringList words = p.positionalArguments();
    if (words.isEmpty())
        return usage(
            QStringLiteral("a command is needed: read, set, clear, save, diff, restore, ports, "
                           "new-unit, units, records, history, journal, takings or fields"));
    const int idioma = systemLanguage();
    // The adapters' reasons for a failure follow the same language.
    vx::setProgramLanguage(idioma);
    if (words.first() == QLatin1String("ports")) return listPorts(p, words.mid(1));
    if (words.first() == QLatin1String("fields")) return listFields(words.mid(1));
    if (const auto status = runRecordsCommand(p, words, idioma)) return *status;
    const QString command = words.first();
    const auto action = actionNamed(words.takeFirst());
    if (!action)
        return usage(
            QStringLiteral("unknown command; use read, set, clear, save, diff, restore, ports, "
                           "new-unit, units, records, history, journal, takings or fields"));

    CtlRunner::Job job;
    job.action = *action;
    job.json = p.isSet(QStringLiteral("json"));
    QString error;
    if (!takeConfigFile(job, command, words, p, &error)) return usage(error);
    if (job.config) job.config->setLanguage(idioma);
    if (!takeValues(job, words, &error) || !takeTimeout(job, p, &error) ||
        !takeTrace(job, p, &error) || !takeRecords(p, &job.records, &error) ||
        !takePort(job, p, &error))
        return usage(error);
    if (job.config && !job.config->loadFile()) return ConfigCommands::kFileProblem;
    job.idioma = idioma;
    job.dataFolder = p.value(QStringLiteral("data"));
    job.confirmed = p.isSet(QStringLiteral("yes"));
    // Nobody to ask: zeroing a unit's takings takes an explicit --yes.
    if (job.action == CtlRunner::Action::Clear && !job.confirmed && !::isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(ctlText("clearNeedsYes", job.idioma)));
        return CtlRunner::kClearNotConfirmed;
    }
    CtlRunner runner(std::move(job));
    runner.start();
    return app.exec();
}
