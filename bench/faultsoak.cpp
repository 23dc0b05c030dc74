// vx308-bench-faults: thousands of exchanges with an emulated timer that
// misbehaves at random, checking that every value read lands in its own field
// and that every write reported accepted is in the timer's memory.
//
// The timer runs inside this process, behind a pseudo-terminal (PtyServer) or
// the in-process port, so each exchange can be handed its own fault. The
// exchanges and their faults all come from one seed: the same seed replays
// the same run. See README.md.

#include "clock.h"
#include "emulatedport.h"
#include "frame.h"
#include "link.h"
#include "messages.h"
#include "ptyserver.h"
#include "qtserialport.h"
#include "recordingmessages.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <numeric>
#include <vector>

namespace {

using vx::emu::Device;
namespace Fault = vx::emu::Fault;

// Reads stay below kReadArea, where every byte holds its own odd value and is
// never written: a reply meant for another address, or for another length,
// cannot decode to what was asked. Writes go above it.
constexpr int kReadArea = 128;
constexpr int kMaxBytes = 3;
constexpr int kReplyBytes = vx::kDataLength / 2;
constexpr int kFailuresShown = 10;

uint8_t readAreaValue(int address)
{
    return uint8_t(2 * address + 1);
}

enum class Mishap
{
    None,
    Dropped,
    Corrupted,
    Noise,
    Split,
    Trailing,
    Late,
    Outage,
    Unplugged
};

struct MishapShare
{
    Mishap mishap;
    const char *name;
    int perMille;
    // The range of its size: requests dropped, or nominal milliseconds late
    // or unplugged.
    int least;
    int most;
};

constexpr MishapShare kMix[] = {
    {Mishap::None, "none", 890, 0, 0},
    {Mishap::Dropped, "request dropped (1-2 in a row)", 20, 1, 2},
    {Mishap::Corrupted, "bad checksum", 16, 0, 0},
    {Mishap::Noise, "noise before the reply", 16, 0, 0},
    {Mishap::Split, "reply split in pieces", 20, 0, 0},
    {Mishap::Trailing, "bytes after the reply", 20, 0, 0},
    {Mishap::Late, "reply late (time-out + 150-700)", 12, 150, 700},
    {Mishap::Outage, "timer away (5-30 requests)", 3, 5, 30},
    {Mishap::Unplugged, "adapter pulled (1-5 s)", 3, 1000, 5000},
};
constexpr int kMishapKinds = int(std::size(kMix));

constexpr int totalPerMille()
{
    int sum = 0;
    for (const MishapShare &m : kMix)
        sum += m.perMille;
    return sum;
}
static_assert(totalPerMille() == 1000, "the fault mix must add up to the whole");

struct Exchange
{
    bool write = false;
    uint8_t address = 0;
    uint8_t bytes = 1;
    std::array<uint8_t, kMaxBytes> data{};
    int mishap = 0; // index into kMix
    int size = 0;
};

int drawMishap(QRandomGenerator &random)
{
    int draw = int(random.bounded(1000));
    for (int i = 0; i < kMishapKinds; ++i) {
        if (draw < kMix[i].perMille) return i;
        draw -= kMix[i].perMille;
    }
    return 0;
}

// Every draw is made for every exchange, used or not, so one seed always
// gives the same sequence whatever the exchanges turn out to be.
std::vector<Exchange> planExchanges(quint32 seed, int count)
{
    QRandomGenerator random(seed);
    std::vector<Exchange> plan(static_cast<size_t>(count));
    for (Exchange &e : plan) {
        e.write = random.bounded(2) == 1;
        e.bytes = uint8_t(1 + random.bounded(kMaxBytes));
        const int writeSpan = Device::kMemorySize - kReadArea - e.bytes + 1;
        e.address = uint8_t(e.write ? kReadArea + int(random.bounded(writeSpan))
                                    : int(random.bounded(kReadArea - e.bytes + 1)));
        for (uint8_t &b : e.data)
            b = uint8_t(random.bounded(256));
        e.mishap = drawMishap(random);
        const MishapShare &m = kMix[e.mishap];
        e.size = m.least + int(random.bounded(m.most - m.least + 1));
    }
    return plan;
}

// The emulated timer and the port the link reaches it through.
class TimerRig
{
public:
    virtual ~TimerRig() = default;
    virtual vx::SerialPort &port() = 0;
    virtual Device &device() = 0;
    virtual vx::emu::Faults &faults() = 0;
    virtual void unplug(int ms) = 0;
    virtual const char *name() const = 0;
};

class InProcessRig : public TimerRig
{
public:
    explicit InProcessRig(const vx::Clock &clock) : m_port(clock) {}
    vx::SerialPort &port() override { return m_port; }
    Device &device() override { return m_port.device(); }
    vx::emu::Faults &faults() override { return m_port.faults(); }
    void unplug(int ms) override { m_port.setGone(ms); }
    const char *name() const override { return "the in-process port"; }

private:
    vx::emu::EmulatedPort m_port;
};

class PtyRig : public TimerRig
{
public:
    explicit PtyRig(const vx::Clock &clock) : m_server(clock) {}
    bool start(QString &error)
    {
        const QString path = m_dir.filePath(QStringLiteral("vx308"));
        if (!m_dir.isValid() || !m_server.start(path)) {
            error = m_dir.isValid() ? m_server.errorText() : m_dir.errorString();
            return false;
        }
        vx::PortMap map;
        map.set(1, path);
        m_port = std::make_unique<vx::QtSerialPort>(map);
        m_port->setPortNumber(1);
        return true;
    }
    vx::SerialPort &port() override { return *m_port; }
    Device &device() override { return m_server.device(); }
    vx::emu::Faults &faults() override { return m_server.faults(); }
    void unplug(int ms) override { m_server.setGone(ms); }
    const char *name() const override { return "a pseudo-terminal served in this process"; }

private:
    QTemporaryDir m_dir;
    vx::emu::PtyServer m_server;
    std::unique_ptr<vx::QtSerialPort> m_port;
};

struct Times
{
    std::vector<double> ms;
    double mean() const
    {
        return ms.empty() ? 0 : std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size());
    }
    double median() const
    {
        if (ms.empty()) return 0;
        std::vector<double> sorted = ms;
        const auto middle = sorted.begin() + std::ptrdiff_t(sorted.size() / 2);
        std::nth_element(sorted.begin(), middle, sorted.end());
        return *middle;
    }
};

struct Checks
{
    int wrongField = 0;
    int lostWrites = 0;
    int failedWrites = 0;
    int failedReads = 0;
    int foreignEchoes = 0;
    int shown = 0;
};

class FaultSoak
{
public:
    FaultSoak(TimerRig &rig, std::vector<Exchange> plan, const vx::Clock &clock)
        : m_rig(rig), m_plan(std::move(plan)), m_link(rig.port(), m_messages, clock)
    {
        for (int a = 0; a < kReadArea; ++a)
            m_rig.device().setByte(a, readAreaValue(a));
        // A serial microcontroller: requests in turn, answers at line speed.
        m_rig.faults().busy = true;
        m_rig.faults().pace = true;
    }

    bool open() { return m_link.openIfClosed(); }
    QString openError() const { return m_rig.port().errorText(); }

    // The first `count` exchanges of the plan, faults applied or not.
    void run(int count, bool withFaults, const char *phase)
    {
        QElapsedTimer since;
        since.start();
        const int step = std::max(1, count / 10);
        for (int i = 0; i < count; ++i) {
            const Exchange &e = m_plan[size_t(i)];
            const double ms = runOne(i, e, withFaults);
            (withFaults ? m_faulted : m_baseline).ms.push_back(ms);
            if (withFaults) m_byMishap[size_t(e.mishap)].ms.push_back(ms);
            if ((i + 1) % step == 0)
                std::fprintf(stderr, "  %s: %d of %d, %.0f s\n", phase, i + 1, count,
                             double(since.elapsed()) / 1000);
        }
    }

    const Times &baseline() const { return m_baseline; }
    const Times &faulted() const { return m_faulted; }
    const Times &byMishap(int i) const { return m_byMishap[size_t(i)]; }
    const Checks &checks() const { return m_checks; }
    const vx::LinkStats &stats() const { return m_link.stats; }
    int timeOutMessages() const { return int(m_messages.messages.size()); }

    bool readAreaIntact() const
    {
        for (int a = 0; a < kReadArea; ++a)
            if (m_rig.device().byte(a) != readAreaValue(a)) return false;
        return true;
    }

private:
    double runOne(int index, const Exchange &e, bool withFaults)
    {
        if (e.write)
            prepareWrite(e);
        else
            m_link.clearTxData();
        if (withFaults) applyMishap(e);
        QElapsedTimer took;
        took.start();
        const bool accepted = m_link.enviar_trama(
            e.write ? vx::Command::WriteMemory : vx::Command::ReadMemory, e.address, e.bytes);
        const double ms = double(took.nsecsElapsed()) / 1e6;
        // An accepted reply has used up the faults queued for this exchange;
        // none may carry over into the next one and blur what it measures.
        m_rig.faults().delayMs = 0;
        m_rig.faults().next.clear();
        check(index, e, accepted, withFaults);
        return ms;
    }

    // The target bytes are set to the opposite of what is about to be
    // written, so a write that never arrived cannot pass for one that did.
    void prepareWrite(const Exchange &e)
    {
        m_link.clearTxData();
        for (std::size_t k = 0; k < e.bytes; ++k) {
            m_rig.device().setByte(e.address + int(k), uint8_t(~e.data[k]));
            m_link.dados_tx[2 * k] = vx::nibble_hex(e.data[k] & 0x0F);
            m_link.dados_tx[2 * k + 1] = vx::nibble_hex(e.data[k] >> 4);
        }
    }

    void applyMishap(const Exchange &e)
    {
        vx::emu::Faults &f = m_rig.faults();
        switch (kMix[e.mishap].mishap) {
        case Mishap::None:
            break;
        case Mishap::Dropped:
        case Mishap::Outage:
            f.failNext(e.size, Fault::NoReply);
            break;
        case Mishap::Corrupted:
            f.failNext(1, Fault::BadChecksum);
            break;
        case Mishap::Noise:
            f.failNext(1, Fault::GarbagePrefix);
            break;
        case Mishap::Split:
            f.failNext(1, Fault::Split);
            break;
        case Mishap::Trailing:
            f.failNext(1, Fault::ExtraBytes);
            break;
        case Mishap::Late:
            // Later than the time-out in force, which a slow timer has
            // stretched, so that the first attempt always times out and its
            // answer comes while the resend waits. Every attempt of this
            // exchange: the timer is slow, not unlucky.
            f.delayMs = m_link.effectiveTimeoutMs() + e.size;
            break;
        case Mishap::Unplugged:
            m_rig.unplug(e.size);
            break;
        }
    }

    // The bytes asked for, then zeros: what the timer sends for this read and
    // for no other.
    bool readMatches(const QByteArray &reply, const Exchange &e) const
    {
        for (int k = 0; k < kReplyBytes; ++k) {
            const uint8_t want = k < e.bytes ? m_rig.device().byte(e.address + k) : 0;
            if (vx::dataByte(reply, k) != want) return false;
        }
        return true;
    }

    bool writeLanded(const Exchange &e) const
    {
        for (int k = 0; k < e.bytes; ++k)
            if (m_rig.device().byte(e.address + k) != e.data[size_t(k)]) return false;
        return true;
    }

    void check(int index, const Exchange &e, bool accepted, bool withFaults)
    {
        if (!accepted) {
            ++(e.write ? m_checks.failedWrites : m_checks.failedReads);
            report(index, e, withFaults, "reported failed");
            return;
        }
        const QByteArray &reply = m_link.trama_rx();
        const QByteArray asked = vx::buildRequest(
            e.write ? vx::Command::WriteMemory : vx::Command::ReadMemory, e.address, e.bytes, {});
        if (reply.mid(1, 13) != asked.mid(1, 13)) {
            ++m_checks.foreignEchoes;
            report(index, e, withFaults, "accepted a reply echoing another request");
        }
        if (e.write && !writeLanded(e)) {
            ++m_checks.lostWrites;
            report(index, e, withFaults, "accepted, but the bytes are not in the timer");
        } else if (!e.write && !readMatches(reply, e)) {
            ++m_checks.wrongField;
            report(index, e, withFaults, "decoded bytes that are not at that address");
        }
    }

    void report(int index, const Exchange &e, bool withFaults, const char *what)
    {
        if (++m_checks.shown > kFailuresShown) return;
        std::fprintf(stderr, "exchange %d (%s, %s): %s %d byte(s) at %d %s; reply %s\n", index,
                     withFaults ? "with faults" : "baseline",
                     withFaults ? kMix[e.mishap].name : "-", e.write ? "write" : "read", e.bytes,
                     e.address, what, m_link.trama_rx().constData());
    }

    TimerRig &m_rig;
    std::vector<Exchange> m_plan;
    vx::RecordingMessages m_messages;
    vx::Link m_link;
    Times m_baseline;
    Times m_faulted;
    std::array<Times, kMishapKinds> m_byMishap;
    Checks m_checks;
};

struct Options
{
    int count = 3000;
    int baseline = 300;
    quint32 seed = 0;
    double scale = 0.05;
    bool inProcess = false;
};

// False, with the reason on standard error, when an option is not usable.
bool parseOptions(const QCoreApplication &app, Options &o)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Fault soak of the VX308 link against the emulated timer."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("Exchanges with faults (default 3000)."),
                                   QStringLiteral("N"), QStringLiteral("3000"));
    const QCommandLineOption baseline(
        QStringLiteral("baseline"),
        QStringLiteral("How many of them run first without faults (default 300)."),
        QStringLiteral("N"), QStringLiteral("300"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the exchanges and faults (default: "
                                                 "a new one, printed)."),
                                  QStringLiteral("S"));
    const QCommandLineOption scale(QStringLiteral("scale"),
                                   QStringLiteral("Real time per nominal time (default 0.05)."),
                                   QStringLiteral("X"), QStringLiteral("0.05"));
    const QCommandLineOption inProcess(
        QStringLiteral("in-process"),
        QStringLiteral("Talk to the in-process port instead of a pseudo-terminal."));
    parser.addOptions({count, baseline, seed, scale, inProcess});
    if (!parser.parse(app.arguments())) {
        std::fprintf(stderr, "vx308-bench-faults: %s\n", qPrintable(parser.errorText()));
        return false;
    }
    if (parser.isSet(help)) parser.showHelp(0);

    bool countOk = false, baselineOk = false, seedOk = true, scaleOk = false;
    o.count = parser.value(count).toInt(&countOk);
    o.baseline = parser.value(baseline).toInt(&baselineOk);
    o.seed = parser.isSet(seed) ? parser.value(seed).toUInt(&seedOk)
                                : QRandomGenerator::global()->generate();
    o.scale = parser.value(scale).toDouble(&scaleOk);
    o.inProcess = parser.isSet(inProcess);
    const struct
    {
        bool fine;
        const char *complaint;
    } rules[] = {
        {countOk && o.count >= 1, "--count takes a whole number from 1"},
        {baselineOk && o.baseline >= 1, "--baseline takes a whole number from 1"},
        {seedOk, "--seed takes a whole number from 0 to 4294967295"},
        {scaleOk && o.scale > 0 && o.scale <= 1, "--scale takes a number above 0, at most 1"},
    };
    for (const auto &rule : rules) {
        if (rule.fine) continue;
        std::fprintf(stderr, "vx308-bench-faults: %s\n", rule.complaint);
        return false;
    }
    o.baseline = std::min(o.baseline, o.count);
    return true;
}

void printMix(const FaultSoak &soak)
{
    std::printf("fault mix                          share   exchanges   mean ms  median ms\n");
    for (int i = 0; i < kMishapKinds; ++i) {
        const Times &t = soak.byMishap(i);
        std::printf("  %-32s %4.1f %%  %9zu  %8.2f  %9.2f\n", kMix[i].name, kMix[i].perMille / 10.0,
                    t.ms.size(), t.mean(), t.median());
    }
}

void printTimes(const FaultSoak &soak)
{
    const Times &b = soak.baseline();
    const Times &f = soak.faulted();
    std::printf("time per exchange (real ms)        exchanges      mean    median\n");
    std::printf("  baseline, no faults              %9zu  %8.2f  %8.2f\n", b.ms.size(), b.mean(),
                b.median());
    std::printf("  with faults                      %9zu  %8.2f  %8.2f\n", f.ms.size(), f.mean(),
                f.median());
    Times same;
    same.ms.assign(f.ms.begin(), f.ms.begin() + std::ptrdiff_t(std::min(b.ms.size(), f.ms.size())));
    std::printf("  the baseline's, with faults      %9zu  %8.2f  %8.2f\n", same.ms.size(),
                same.mean(), same.median());
    std::printf("  ratio, faults / baseline                    %8.2f  %8.2f\n",
                b.mean() > 0 ? f.mean() / b.mean() : 0.0,
                b.median() > 0 ? f.median() / b.median() : 0.0);
}

void printStats(const char *phase, const vx::LinkStats &s, const vx::LinkStats &before)
{
    std::printf("  %-20s time-outs %llu, rejected %llu, late replies %llu, accepted %llu\n", phase,
                static_cast<unsigned long long>(s.timeoutsTotal - before.timeoutsTotal),
                static_cast<unsigned long long>(s.rejectedTotal - before.rejectedTotal),
                static_cast<unsigned long long>(s.lateReplies - before.lateReplies),
                static_cast<unsigned long long>(s.acceptedTotal - before.acceptedTotal));
}

void printChecks(const FaultSoak &soak)
{
    const Checks &c = soak.checks();
    std::printf("checks, both runs\n");
    std::printf("  values decoded into a wrong field      %d (must be 0)\n", c.wrongField);
    std::printf("  writes lost                            %d (must be 0)\n", c.lostWrites);
    std::printf("  writes reported failed                 %d (should be 0)\n", c.failedWrites);
    std::printf("  reads reported failed                  %d (should be 0)\n", c.failedReads);
    std::printf("  accepted replies echoing another frame %d (should be 0)\n", c.foreignEchoes);
    std::printf("  read area untouched                    %s\n",
                soak.readAreaIntact() ? "yes" : "NO");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options o;
    if (!parseOptions(app, o)) return 2;
    // The timer and the link at one pace.
    const vx::SystemClock clock(o.scale);

    std::unique_ptr<TimerRig> rig;
    if (o.inProcess) {
        rig = std::make_unique<InProcessRig>(clock);
    } else {
        auto pty = std::make_unique<PtyRig>(clock);
        QString error;
        if (!pty->start(error)) {
            std::fprintf(stderr, "vx308-bench-faults: the pseudo-terminal: %s\n",
                         qPrintable(error));
            return 2;
        }
        rig = std::move(pty);
    }
    FaultSoak soak(*rig, planExchanges(o.seed, o.count), clock);
    if (!soak.open()) {
        std::fprintf(stderr, "vx308-bench-faults: opening the port: %s\n",
                     qPrintable(soak.openError()));
        return 2;
    }

    std::printf("seed %u, %d exchanges with faults after %d without, timer behind %s\n", o.seed,
                o.count, o.baseline, rig->name());
    std::printf("time scale %g: reply time-out 500 ms nominal -> %d ms real, a 19200 bit/s "
                "exchange 30.7 -> %.2f ms; the link's %lld ms of slack for a slow PC is not "
                "scaled\n",
                clock.scale(), clock.toReal(500), 30.73 * clock.scale(),
                static_cast<long long>(vx::ReplyLedger::kSlackMs));
    std::fflush(stdout);

    QElapsedTimer wall;
    wall.start();
    soak.run(o.baseline, false, "baseline");
    const vx::LinkStats afterBaseline = soak.stats();
    soak.run(o.count, true, "with faults");

    printMix(soak);
    printTimes(soak);
    std::printf("link totals\n");
    printStats("baseline", afterBaseline, vx::LinkStats{});
    printStats("with faults", soak.stats(), afterBaseline);
    std::printf("  \"Time Out!\" messages (one per 100 time-outs): %d\n", soak.timeOutMessages());
    printChecks(soak);
    std::printf("wall time %.1f s\n", double(wall.elapsed()) / 1000);

    const bool sound = soak.checks().wrongField == 0 && soak.checks().lostWrites == 0;
    std::printf("%s\n", sound ? "no value in a wrong field, no write lost"
                              : "VALUES IN A WRONG FIELD OR WRITES LOST");
    return sound ? 0 : 1;
}
