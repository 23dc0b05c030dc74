#include "emulatoroptions.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

const char *const kHelp = R"(Usage: vx308-emulator [--link PATH] [options]

Stands in for a VX308 game timer, so the maintenance tool can be tried and
learned with no unit on the bench. The emulator makes a pseudo-terminal that
behaves like the timer's serial line (19200 bit/s, answers paced as on a real
cable) and prints the terminal's device path on the first line of its output.
Point the tool's port at it, for example:

    vx308-emulator --link /tmp/vx308 &
    vx308-maint --com 1=/tmp/vx308        (then choose COM1)

The emulated unit starts with realistic values: tariffs, sub-totals,
passwords, manufacturing code A2415 number 03, a registered key, the last
maintenance, device version 4. What the tool writes is kept while the
emulator runs. Stop it with Ctrl+C (or SIGTERM); with --save the unit is
written to a file first and can be loaded again with --memory.

Unit:
  --link PATH          also reach the terminal through PATH (a symbolic link,
                       replaced if it exists, removed on exit)
  --memory FILE        start from a unit saved with --save (JSON: "memory" =
                       256 numbers, "inputs", "battery", "ibutton"; every key
                       optional)
  --blank              start as a timer never set up: all 256 memory bytes 0
                       (no manufacturing code, no number, no tariffs)
  --erased             start as a timer whose memory was erased: all 256
                       bytes 0xFF. With --memory, the file's "memory" (if
                       it has one) replaces either
  --save FILE          write the unit to FILE when the emulator is stopped
  --log FILE           one line per request: time, frame, what it asks ("-" for
                       the screen)
  --inputs DIGITS      the seven inputs, '0' = active (default 1111111: all at
                       rest). Order: ball 1, ball 3, ball 0, ball 2, memory,
                       increment, cursor
  --battery N          battery level 0..255 (default 120: 75 % in the tool;
                       below 90 shows 0 %, 130 and more 100 %)
  --ibutton SERIAL     the key on the reader, 12 hex digits as the tool shows
                       them (default FFFFFFFFFFFF: no key)

Line faults, to see how the tool copes with a bad line:
  --no-reply           requests are lost: the tool counts time-outs
                       (TO ERRORS) and sends again
  --bad-checksum       answers carry a wrong checksum: the tool counts BF
                       ERRORS, waits a second, reopens the port, sends again
  --split              answers arrive in three pieces a few ms apart
  --extra-bytes        stray characters "XY" follow every answer
  --noise-before       line noise (a NUL and a 0xFF byte) comes ahead of every
                       answer: the tool counts BF ERRORS, as for a bad checksum
  --delay MS           answers start MS ms late (the tool gives up after 500 ms,
                       and waits longer once it sees the timer is slow)
  --delay-every N      only every Nth answer is late (default 1: all of them)
  --busy               a busy timer: requests are answered one at a time, in
                       turn, as a serial microcontroller does; one that comes
                       while the timer is still answering waits, and --delay
                       counts from when the timer takes it
  --silent-for MS      the timer is switched on MS ms after the emulator
                       starts: until then it neither acts nor answers
  --every N            the faults above hit every Nth request only (default 1);
                       e.g. --bad-checksum --every 20
  --no-pace            answer at once instead of at the pace of a 19200 bit/s
                       line (about 31 ms per request and answer)
  --gone-after MS      pull the serial adapter out MS ms after start: the port
                       cannot be opened and nothing is answered ...
  --gone-at-write N    pull it out as the Nth memory write arrives: the timer
                       takes that write, its answer is lost ...
  --gone-for MS        ... for MS ms (default 5000)

  -h, --help           this text
  --version            the program's version

Exit status: 0 when stopped by a signal, 1 when the terminal cannot be made or
the unit cannot be saved, 2 for an unreadable or unwritable file, 64 for a
wrong command line.
)";

std::optional<int> wholeNumber(const QString &text, int lo, int hi)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < lo || n > hi) return std::nullopt;
    return n;
}

bool hexDigits(const QString &s, int count)
{
    static const QRegularExpression re(QStringLiteral("^[0-9A-Fa-f]*$"));
    return s.size() == count && re.match(s).hasMatch();
}

} // namespace

QString EmulatorOptions::helpText()
{
    return QString::fromUtf8(kHelp);
}

std::optional<EmulatorOptions> EmulatorOptions::parse(const QStringList &arguments, QString *error)
{
    using O = QCommandLineOption;
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const O help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const O version(QStringLiteral("version"));
    const O link(QStringLiteral("link"), {}, QStringLiteral("PATH"));
    const O memory(QStringLiteral("memory"), {}, QStringLiteral("FILE"));
    const O save(QStringLiteral("save"), {}, QStringLiteral("FILE"));
    const O blank(QStringLiteral("blank"));
    const O erased(QStringLiteral("erased"));
    const O log(QStringLiteral("log"), {}, QStringLiteral("FILE"));
    const O inputs(QStringLiteral("inputs"), {}, QStringLiteral("DIGITS"));
    const O battery(QStringLiteral("battery"), {}, QStringLiteral("N"));
    const O ibutton(QStringLiteral("ibutton"), {}, QStringLiteral("SERIAL"));
    const O noReply(QStringLiteral("no-reply"));
    const O badChecksum(QStringLiteral("bad-checksum"));
    const O split(QStringLiteral("split"));
    const O extraBytes(QStringLiteral("extra-bytes"));
    const O noiseBefore(QStringLiteral("noise-before"));
    const O delay(QStringLiteral("delay"), {}, QStringLiteral("MS"));
    const O every(QStringLiteral("every"), {}, QStringLiteral("N"));
    const O delayEvery(QStringLiteral("delay-every"), {}, QStringLiteral("N"));
    const O busy(QStringLiteral("busy"));
    const O silentFor(QStringLiteral("silent-for"), {}, QStringLiteral("MS"));
    const O noPace(QStringLiteral("no-pace"));
    const O goneAfter(QStringLiteral("gone-after"), {}, QStringLiteral("MS"));
    const O goneAtWrite(QStringLiteral("gone-at-write"), {}, QStringLiteral("N"));
    const O goneFor(QStringLiteral("gone-for"), {}, QStringLiteral("MS"));
    p.addOptions({help,       link,        memory,      save,   log,        inputs,  battery,
                  ibutton,    noReply,     badChecksum, split,  extraBytes, delay,   every,
                  delayEvery, busy,        silentFor,   noPace, goneAfter,  goneFor, noiseBefore,
                  version,    goneAtWrite, blank,       erased});

    auto fail = [error](const QString &why) {
        if (error) *error = why;
        return std::nullopt;
    };
    if (!p.parse(arguments)) return fail(p.errorText());
    if (!p.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument: %1").arg(p.positionalArguments().first()));

    EmulatorOptions o;
    o.help = p.isSet(help);
    o.version = p.isSet(version);
    o.link = p.value(link);
    o.memoryFile = p.value(memory);
    o.saveFile = p.value(save);
    o.logFile = p.value(log);
    if (p.isSet(blank) && p.isSet(erased))
        return fail(QStringLiteral("--blank and --erased exclude each other"));
    if (p.isSet(blank)) o.memoryFill = 0x00;
    if (p.isSet(erased)) o.memoryFill = 0xFF;
    o.faults.pace = !p.isSet(noPace);
    if (p.isSet(noReply)) o.faults.faults |= vx::emu::Fault::NoReply;
    if (p.isSet(badChecksum)) o.faults.faults |= vx::emu::Fault::BadChecksum;
    if (p.isSet(split)) o.faults.faults |= vx::emu::Fault::Split;
    if (p.isSet(extraBytes)) o.faults.faults |= vx::emu::Fault::ExtraBytes;
    if (p.isSet(noiseBefore)) o.faults.faults |= vx::emu::Fault::GarbagePrefix;

    constexpr int kHour = 3600 * 1000;
    if (p.isSet(delay)) {
        const auto ms = wholeNumber(p.value(delay), 0, kHour);
        if (!ms)
            return fail(QStringLiteral("--delay takes a number of milliseconds, 0..%1").arg(kHour));
        o.faults.delayMs = *ms;
    }
    if (p.isSet(every)) {
        const auto n = wholeNumber(p.value(every), 1, 1000000);
        if (!n) return fail(QStringLiteral("--every takes a whole number from 1"));
        o.faults.every = *n;
    }
    if (p.isSet(delayEvery)) {
        const auto n = wholeNumber(p.value(delayEvery), 1, 1000000);
        if (!n) return fail(QStringLiteral("--delay-every takes a whole number from 1"));
        if (!p.isSet(delay)) return fail(QStringLiteral("--delay-every needs --delay"));
        o.faults.delayEvery = *n;
    }
    o.faults.busy = p.isSet(busy);
    if (p.isSet(silentFor)) {
        const auto ms = wholeNumber(p.value(silentFor), 0, 24 * kHour);
        if (!ms) return fail(QStringLiteral("--silent-for takes a number of milliseconds"));
        o.faults.silentForMs = *ms;
    }
    if (p.isSet(goneAfter)) {
        const auto ms = wholeNumber(p.value(goneAfter), 0, 24 * kHour);
        if (!ms) return fail(QStringLiteral("--gone-after takes a number of milliseconds"));
        o.goneAfterMs = *ms;
    }
    if (p.isSet(goneAtWrite)) {
        const auto n = wholeNumber(p.value(goneAtWrite), 1, 1000000);
        if (!n) return fail(QStringLiteral("--gone-at-write takes a whole number from 1"));
        if (p.isSet(goneAfter))
            return fail(QStringLiteral("--gone-at-write and --gone-after exclude each other"));
        o.goneAtWrite = *n;
    }
    if (p.isSet(goneFor)) {
        const auto ms = wholeNumber(p.value(goneFor), 1, 24 * kHour);
        if (!ms) return fail(QStringLiteral("--gone-for takes a number of milliseconds from 1"));
        if (!p.isSet(goneAfter) && !p.isSet(goneAtWrite))
            return fail(QStringLiteral("--gone-for needs --gone-after or --gone-at-write"));
        o.goneForMs = *ms;
    }
    if (p.isSet(inputs)) {
        if (!hexDigits(p.value(inputs), 7))
            return fail(QStringLiteral("--inputs takes 7 digits, '0' for an active input"));
        o.inputs = p.value(inputs).toUpper();
    }
    if (p.isSet(battery)) {
        const auto n = wholeNumber(p.value(battery), 0, 255);
        if (!n) return fail(QStringLiteral("--battery takes a level 0..255"));
        o.battery = *n;
    }
    if (p.isSet(ibutton)) {
        if (!hexDigits(p.value(ibutton), 12))
            return fail(QStringLiteral("--ibutton takes 12 hex digits"));
        o.ibutton = p.value(ibutton).toUpper();
    }
    return o;
}
