#include "options.h"

#include "qtserialport.h"
#include "recordschoice.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <functional>

namespace vx {

namespace {

// An option that takes a value: its name, the placeholder shown in --help, and
// what it does with the value (false when the value is wrong, with the fault).
struct ValueOption
{
    const char *name;
    std::function<bool(Options &, const QString &)> take;
    const char *fault;
};

bool takePort(Options &o, const QString &v)
{
    PortMap probe;
    if (!probe.parse(v)) return false;
    o.portPaths << v;
    return true;
}

bool takeScreen(Options &o, const QString &v)
{
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("(\\d{3,5})x(\\d{3,5})")));
    const auto m = form.match(v);
    if (!m.hasMatch()) return false;
    o.screenSize = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    return true;
}

bool takeTimeScale(Options &o, const QString &v)
{
    bool ok = false;
    const double x = v.toDouble(&ok);
    if (!ok || !(x > 0.0) || x > 10.0) return false;
    o.timeScale = x;
    return true;
}

const std::vector<ValueOption> &valueOptions()
{
    static const std::vector<ValueOption> options{
        {"com", takePort, "--com needs N=PATH, e.g. --com 1=/dev/ttyUSB0"},
        {"data",
         [](Options &o, const QString &v) {
             o.dataFolder = v;
             return !v.isEmpty();
         },
         "--data needs a folder"},
        {"screenshot",
         [](Options &o, const QString &v) {
             o.screenshot = v;
             return !v.isEmpty();
         },
         "--screenshot needs a file name prefix"},
        {"screen", takeScreen, "--screen needs WxH, e.g. --screen 1024x768"},
        {"timescale", takeTimeScale, "--timescale needs a number above 0 and up to 10"},
        {"trace",
         [](Options &o, const QString &v) {
             o.traceFile = v;
             return !v.isEmpty();
         },
         "--trace needs a file name"},
        {"records",
         [](Options &o, const QString &v) {
             o.records = v;
             return !v.isEmpty();
         },
         "--records needs a postgresql:// URI, or local"},
    };
    return options;
}

const char *const kSwitches[] = {"factory", "demo",    "autotest-read", "help",
                                 "h",       "version", "shared-folder", "user-data"};

// The argument as the user typed it for an option the parser does not know.
QString typedAs(const QStringList &arguments, const QString &name)
{
    for (const QString &a : arguments) {
        const QString bare = a.section(QLatin1Char('='), 0, 0);
        if (bare.startsWith(QLatin1Char('-')) &&
            bare.mid(bare.lastIndexOf(QLatin1Char('-')) + 1) == name)
            return bare;
    }
    return name;
}

// Why the parser refused the line, in the words of the option concerned.
QString parseFault(const QCommandLineParser &p, const QStringList &arguments)
{
    if (!p.unknownOptionNames().isEmpty())
        return QStringLiteral("unknown option %1")
            .arg(typedAs(arguments, p.unknownOptionNames().first()));
    // The only other refusal is an option that needs a value given none.
    for (const ValueOption &v : valueOptions())
        if (arguments.last() == QLatin1String("--") + QLatin1String(v.name) ||
            arguments.last() == QLatin1String("-") + QLatin1String(v.name))
            return QLatin1String(v.fault);
    return p.errorText();
}

} // namespace

QString Options::helpText()
{
    return QStringLiteral(
        "Usage: vx308-maint [options]\n"
        "The VX308 maintenance tool: read, edit and write every value of a timer on a\n"
        "serial port, zero its counters, watch it live and print a maintenance report.\n"
        "\n"
        "  --factory        show the factory menu (new unit, copy, defaults)\n"
        "  --demo           run the vx308-emulator program and use it on every port\n"
        "  --com N=PATH     use device PATH for port N (repeatable)\n"
        "  --data DIR       folder of the database files (default: current folder)\n"
        "  --user-data      keep the database files in the user's data folder\n"
        "                   (~/.local/share/vx308-maint; the desktop menu's choice)\n"
        "  --autotest-read  read the device, print the fields as JSON, exit\n"
        "  --screenshot P   with --autotest-read: save the window as P-pt.png, P-en.png\n"
        "  --screen WxH     fit the window to a screen of W x H pixels\n"
        "  --timescale X    multiply every interval of the tool by X (0 < X <= 10)\n"
        "  --shared-folder  print the folder the report layout is installed in, exit\n"
        "  --trace FILE     write every frame sent and received to FILE, one a line:\n"
        "                   time, characters, command, address, field, value; rejected\n"
        "                   replies with the reason, time-outs (also shown live in\n"
        "                   \"Relatório\" > \"Registo de comunicação\"); the timer's two\n"
        "                   passwords are masked (*), as the file's first line says\n"
        "  --records URL    keep the unit log and service history in a shared\n"
        "                   PostgreSQL database, e.g. postgresql://user@host/vx308\n"
        "                   (?host=/socket/folder for a local socket); the password\n"
        "                   from ~/.pgpass or PGPASSWORD. Kept for the next start;\n"
        "                   --records local goes back to this PC's own Registo.db\n"
        "                   in the data folder (the default)\n"
        "  --version        the program's version\n"
        "  -h, --help       this text\n"
        "\n"
        "Exit status: 0 after a normal end, 1 when the demo's emulated timer cannot\n"
        "start or --shared-folder finds no report layout, 64 for a wrong command line\n"
        "or a trace file that cannot be written.\n");
}

std::optional<Options> Options::parse(const QStringList &arguments, QString *error)
{
    const auto fail = [&](const QString &m) {
        if (error) *error = m;
        return std::optional<Options>{};
    };
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char *s : kSwitches)
        p.addOption(QCommandLineOption(QLatin1String(s)));
    for (const ValueOption &v : valueOptions())
        p.addOption(QCommandLineOption(QLatin1String(v.name), {}, QStringLiteral("value")));
    if (!p.parse(arguments)) return fail(parseFault(p, arguments));
    if (!p.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument %1").arg(p.positionalArguments().first()));

    Options o;
    o.factory = p.isSet(QStringLiteral("factory"));
    o.demo = p.isSet(QStringLiteral("demo"));
    o.autotestRead = p.isSet(QStringLiteral("autotest-read"));
    o.help = p.isSet(QStringLiteral("help")) || p.isSet(QStringLiteral("h"));
    o.version = p.isSet(QStringLiteral("version"));
    o.sharedFolder = p.isSet(QStringLiteral("shared-folder"));
    o.userData = p.isSet(QStringLiteral("user-data"));
    for (const ValueOption &v : valueOptions())
        for (const QString &value : p.values(QLatin1String(v.name)))
            if (!v.take(o, value)) return fail(QLatin1String(v.fault));
    QString recordsFault;
    if (!o.records.isEmpty() && !RecordsChoice::isValid(o.records, &recordsFault))
        return fail(recordsFault);
    if (!o.screenshot.isEmpty() && !o.autotestRead)
        return fail(QStringLiteral("--screenshot works with --autotest-read only"));
    if (o.userData && !o.dataFolder.isEmpty())
        return fail(QStringLiteral("--data and --user-data cannot be used together"));
    if (o.demo && !o.portPaths.isEmpty())
        return fail(QStringLiteral("--demo and --com cannot be used together"));
    return o;
}

} // namespace vx
