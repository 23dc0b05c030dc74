#include "responder.h"

#include "clock.h"
#include "device.h"
#include "frame.h"

#include <algorithm>
#include <cmath>

namespace vx::emu {

int Responder::realMs(qint64 nominalUs) const
{
    if (nominalUs <= 0) return 0;
    return std::max(1, static_cast<int>(std::lround(nominalUs / 1000.0 * m_clock.scale())));
}

unsigned Responder::faultsForNext()
{
    ++m_served;
    if (!m_faults.next.empty()) {
        const unsigned f = m_faults.next.front();
        m_faults.next.pop_front();
        return f;
    }
    const int every = std::max(1, m_faults.every);
    return m_served % every == 0 ? m_faults.faults : Fault::None;
}

qint64 Responder::realUs(qint64 nominalUs) const
{
    return nominalUs <= 0 ? 0 : std::llround(double(nominalUs) * m_clock.scale());
}

std::vector<Delivery> Responder::receive(const QByteArray &bytes, qint64 nowUs)
{
    if (m_betweenFrames && !bytes.isEmpty()) {
        m_startUs = nowUs;
        m_betweenFrames = false;
    }
    // The request cannot have started longer ago than its own wire time:
    // bytes left over from an abandoned request do not make the answer early.
    const double sinceStartUs = std::clamp<double>(double(nowUs - m_startUs), 0.0,
                                                   m_faults.pace ? kRequestChars * kCharUs : 0.0);
    std::vector<Delivery> out;
    const QList<QByteArray> frames = m_assembler.feed(bytes);
    if (!frames.isEmpty()) {
        // What is left belongs to a request that began with these bytes.
        m_betweenFrames = m_assembler.pending() == 0;
        m_startUs = nowUs;
    }
    for (const QByteArray &frame : frames) {
        if (silentAt(nowUs)) {
            if (onRequest) onRequest(frame, Fault::NoReply);
            ++m_ignored;
            continue;
        }
        const unsigned faults = faultsForNext();
        if (onRequest) onRequest(frame, faults);
        if (faults & Fault::NoReply) {
            ++m_ignored;
            continue;
        }
        std::vector<Delivery> answer =
            plan(m_device.respond(frame), faults, sinceStartUs, waitBeforeAnswerUs(nowUs));
        if (!answer.empty() && m_faults.busy) m_busyUntilUs = nowUs + realUs(answer.back().atUs);
        for (Delivery &d : answer)
            out.push_back(std::move(d));
    }
    return out;
}

bool Responder::silentAt(qint64 nowUs) const
{
    return m_faults.silentForMs > 0 &&
           nowUs - m_powerOnUs < realUs(qint64(m_faults.silentForMs) * 1000);
}

double Responder::waitBeforeAnswerUs(qint64 nowUs) const
{
    const int every = std::max(1, m_faults.delayEvery);
    double waitUs = m_served % every == 0 ? m_faults.delayMs * 1000.0 : 0.0;
    if (m_faults.busy && m_busyUntilUs > nowUs) {
        waitUs += double(m_busyUntilUs - nowUs) / m_clock.scale();
    }
    return waitUs;
}

std::vector<Delivery> Responder::plan(QByteArray reply, unsigned faults, double sinceStartUs,
                                      double waitUs) const
{
    if (reply.isEmpty()) return {};
    if (faults & Fault::BadChecksum) reply[26] = nibble_hex((hex_nibble(reply.at(26)) + 1) % 16);

    const double charUs = m_faults.pace ? kCharUs : 0.0;
    const double startUs = kRequestChars * charUs - sinceStartUs + waitUs;
    const qsizetype len = reply.size();
    const qsizetype pieces =
        (faults & Fault::Split) ? std::clamp<qsizetype>(m_faults.splitPieces, 2, len) : 1;

    std::vector<Delivery> out;
    qsizetype from = 0;
    for (qsizetype i = 1; i <= pieces; ++i) {
        const qsizetype to = len * i / pieces;
        const double at = startUs + to * charUs + (i - 1) * m_faults.splitGapMs * 1000.0;
        out.push_back({std::llround(at), reply.mid(from, to - from)});
        from = to;
    }
    if (faults & Fault::ExtraBytes) out.back().bytes += m_faults.extraBytes;
    if (faults & Fault::GarbagePrefix) out.front().bytes.prepend(m_faults.garbageBytes);
    return out;
}

} // namespace vx::emu
