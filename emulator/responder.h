#pragma once

#include "faults.h"
#include "requestassembler.h"

#include <QByteArray>
#include <functional>
#include <vector>

namespace vx {
class Clock;
}

namespace vx::emu {

class Device;

// One write the device makes, `atUs` nominal microseconds after the bytes that
// completed the request were received.
struct Delivery
{
    qint64 atUs;
    QByteArray bytes;
};

// The device's side of the line: bytes from the PC in, the writes that answer
// them out, with the faults and the timing asked for. Both ports use it, so
// the in-process double and the pseudo-terminal misbehave alike. The timing
// is the device's; the clock's scale says how long it takes here.
class Responder
{
public:
    // 10 bits per character at 19200 bit/s.
    static constexpr double kCharUs = 1e7 / 19200.0;
    // "$" and the 29 characters of a request.
    static constexpr int kRequestChars = 30;

    Responder(Device &device, Faults &faults, const Clock &clock)
        : m_device(device), m_faults(faults), m_clock(clock)
    {
    }

    // `nowUs`: a monotonic clock in microseconds. With pacing, a request is
    // taken to have started on the wire when its first byte came in, as on a
    // real line, where the reply ends 59 character times after that.
    std::vector<Delivery> receive(const QByteArray &bytes, qint64 nowUs = 0);
    // The moment the timer was switched on, on the clock of receive(); the
    // silent start of faults() counts from here.
    void powerOn(qint64 nowUs) { m_powerOnUs = nowUs; }
    // Forget a request cut short (the port was closed under it), and the
    // answers the timer was busy with: they are lost with the line.
    void reset()
    {
        m_assembler.clear();
        m_betweenFrames = true;
        m_busyUntilUs = 0;
    }
    int rejected() const { return m_assembler.rejected(); }
    int ignored() const { return m_ignored; }

    // Every valid request, with the faults it met; for logs and windows.
    std::function<void(const QByteArray &frame, unsigned faults)> onRequest;

    // Nominal microseconds to real milliseconds (at least 1 when not zero)
    // or microseconds, at the clock's scale.
    int realMs(qint64 nominalUs) const;
    qint64 realUs(qint64 nominalUs) const;

private:
    unsigned faultsForNext();
    bool silentAt(qint64 nowUs) const;
    // Nominal microseconds between the request and the start of its answer,
    // beyond the line's own time: the set wait and, for a busy timer, the
    // time it is still answering earlier requests.
    double waitBeforeAnswerUs(qint64 nowUs) const;
    std::vector<Delivery> plan(QByteArray reply, unsigned faults, double sinceStartUs,
                               double waitUs) const;

    Device &m_device;
    Faults &m_faults;
    const Clock &m_clock;
    RequestAssembler m_assembler;
    qint64 m_served = 0;
    qint64 m_startUs = 0;
    qint64 m_powerOnUs = 0;
    // A busy timer is answering until then (real microseconds, clock of
    // receive()).
    qint64 m_busyUntilUs = 0;
    bool m_betweenFrames = true;
    int m_ignored = 0;
};

} // namespace vx::emu
