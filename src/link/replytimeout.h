#pragma once

namespace vx {

// The reply time-out in force: the configured period (500 ms, 1000 ms after
// impulses, longer while impulses are sent), stretched while the timer is seen
// to answer later than that.
//
// A timer that answers after the time-out makes every request go out twice;
// the second copy then waits in the timer behind the first and delays the
// next request. Stretching the time-out to what the timer takes stops that.
// Once the timer has answered a run of requests in time, the stretch shrinks
// back to what that run needed, and to nothing when the configured period is
// enough. A timer that never answers gives nothing to measure and keeps the
// configured cadence.
class ReplyTimeout
{
public:
    static constexpr int kMaxMs = 5000;
    // Replies in time before the stretch is looked at again.
    static constexpr int kCalmRun = 16;

    void setConfigured(int ms) { m_configured = ms; }
    int configured() const { return m_configured; }
    int current() const { return m_configured > m_stretched ? m_configured : m_stretched; }

    // A reply took latencyMs at least; the attempt it may answer had been
    // given timeoutMs. Both in the device's nominal milliseconds.
    void replyObserved(int latencyMs, int timeoutMs);

    // What the time-out becomes for a timer that takes latencyMs.
    static int withMargin(int latencyMs);

private:
    int m_configured = 500;
    int m_stretched = 0;
    int m_calm = 0;
    int m_calmLongest = 0;
};

} // namespace vx
