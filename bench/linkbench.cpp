// vx308-bench-link: how close the link comes to the speed of the wire, and
// what it costs in processor time while it waits.
//
// A VX308 emulator answers on a pseudo-terminal at the pace of a 19200 bit/s
// line; the link talks to it through the same QtSerialPort the tool uses and
// runs N transactions enviar_trama(Command::ReadMemory, 31, 1). See README.md.

#include "clock.h"
#include "frame.h"
#include "link.h"
#include "messages.h"
#include "ptyserver.h"
#include "qtserialport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

// Request ("$" and 29 characters) plus reply (29), 10 bits each.
constexpr double kWireMsPerExchange = 59 * 10 * 1000.0 / 19200;
constexpr double kRatioGoal = 1.03;
constexpr double kCpuShareGoal = 0.02;

double ownCpuMs()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// User plus system time of another process, from /proc; -1 when unknown.
double processCpuMs(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray stat = f.readAll();
    // The command name may hold spaces; fields are counted after its ')'.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return -1;
    const double ticks = fields.at(11).toDouble() + fields.at(12).toDouble();
    return ticks * 1000.0 / double(::sysconf(_SC_CLK_TCK));
}

void say(const char *format, double a = 0, double b = 0)
{
    std::printf(format, a, b);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Link speed and CPU bench against the VX308 emulator."));
    parser.addHelpOption();
    const QCommandLineOption countOption(QStringLiteral("count"),
                                         QStringLiteral("Transactions to time (default 300)."),
                                         QStringLiteral("N"), QStringLiteral("300"));
    const QCommandLineOption inProcess(
        QStringLiteral("in-process"),
        QStringLiteral("Run the emulator inside this process (its CPU then counts too)."));
    const QCommandLineOption emulatorOption(
        QStringLiteral("emulator"), QStringLiteral("The vx308-emulator program to run."),
        QStringLiteral("PATH"), QStringLiteral(VX_EMULATOR_PROGRAM));
    parser.addOptions({countOption, inProcess, emulatorOption});
    parser.process(app);
    bool ok = false;
    const int count = parser.value(countOption).toInt(&ok);
    if (!ok || count < 1) {
        std::fprintf(stderr, "vx308-bench-link: --count takes a whole number from 1\n");
        return 2;
    }

    QTemporaryDir dir;
    const QString linkPath = dir.filePath(QStringLiteral("vx308"));
    // The emulator program runs at the device's own pace: so does the bench.
    const vx::SystemClock clock;
    std::unique_ptr<vx::emu::PtyServer> server;
    QProcess child;
    if (parser.isSet(inProcess)) {
        server = std::make_unique<vx::emu::PtyServer>(clock);
        server->faults().pace = true;
        if (!server->start(linkPath)) {
            std::fprintf(stderr, "vx308-bench-link: %s\n", qPrintable(server->errorText()));
            return 2;
        }
    } else {
        // Pacing is on by default in the program.
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(parser.value(emulatorOption), {QStringLiteral("--link"), linkPath});
        if (!child.waitForReadyRead(10000)) {
            std::fprintf(stderr, "vx308-bench-link: the emulator did not start: %s\n",
                         qPrintable(child.errorString()));
            return 2;
        }
        child.readLine();
    }

    vx::PortMap map;
    map.set(1, linkPath);
    vx::QtSerialPort port(map);
    port.setPortNumber(1);
    vx::StderrMessages messages;
    vx::Link link(port, messages, clock, nullptr);
    if (!link.openIfClosed()) {
        std::fprintf(stderr, "vx308-bench-link: %s\n", qPrintable(port.errorText()));
        return 2;
    }

    // The first exchanges pay for opening and for the emulator's start.
    for (int i = 0; i < 10; ++i)
        link.enviar_trama(vx::Command::ReadMemory, 31, 1);
    const vx::LinkStats before = link.stats;

    const double childCpu0 = server ? -1 : processCpuMs(child.processId());
    const double cpu0 = ownCpuMs();
    QElapsedTimer wall;
    wall.start();
    int bad = 0;
    std::vector<double> each;
    each.reserve(size_t(count));
    QElapsedTimer one;
    for (int i = 0; i < count; ++i) {
        one.start();
        if (!link.enviar_trama(vx::Command::ReadMemory, 31, 1) ||
            !vx::isValidReply(link.trama_rx()))
            ++bad;
        each.push_back(one.nsecsElapsed() / 1e6);
    }
    const double wallMs = wall.nsecsElapsed() / 1e6;
    const double cpuMs = ownCpuMs() - cpu0;
    const double childCpu = server ? -1 : processCpuMs(child.processId()) - childCpu0;

    const double perExchange = wallMs / count;
    const double ratio = perExchange / kWireMsPerExchange;
    const double share = cpuMs / wallMs;
    std::printf("exchanges                 %d (%s)\n", count,
                server ? "emulator in this process" : "emulator in a child process");
    say("wire-time limit           %.2f ms per exchange (59 characters at 19200 bit/s)\n",
        kWireMsPerExchange);
    say("measured                  %.2f ms per exchange\n", perExchange);
    std::sort(each.begin(), each.end());
    say("  fastest, median         %.2f ms, %.2f ms\n", each.front(), each[each.size() / 2]);
    say("  95th percentile, worst  %.2f ms, %.2f ms\n", each[each.size() * 95 / 100], each.back());
    say("ratio                     %.3f (goal <= %.2f)\n", ratio, kRatioGoal);
    say("ratio of the median       %.3f (what a quiet machine gives; load shows in the mean)\n",
        each[each.size() / 2] / kWireMsPerExchange);
    say("CPU, this process         %.3f ms per exchange\n", cpuMs / count);
    say("CPU share while waiting   %.2f %% of a core (goal < %.0f %%)\n", share * 100,
        kCpuShareGoal * 100);
    if (childCpu >= 0)
        say("CPU, emulator (child)     %.3f ms per exchange, %.2f %% of a core\n", childCpu / count,
            childCpu / wallMs * 100);
    std::printf("time-outs %d, rejected replies %d, failed transactions %d\n",
                link.stats.to_erros - before.to_erros, link.stats.bf_erros - before.bf_erros, bad);
    const bool met = ratio <= kRatioGoal && share < kCpuShareGoal && bad == 0;
    std::printf("%s\n", met ? "goals met" : "GOALS MISSED");

    link.closeIfOpen();
    if (!server) {
        child.terminate();
        child.waitForFinished(5000);
    }
    return met ? 0 : 1;
}
