#pragma once

#include <QDateTime>

namespace vx {

// Time, injected: "now", so that tests can stand on any date without touching
// the machine's clock, and the pace of intervals, so that tests and demos run
// the device's seconds in milliseconds.
//
// Every interval in the code is written in the device's nominal milliseconds:
// the link's time-outs and pauses, the emulated timer's delays, the splash,
// the silence before the "not answering" notice, the records' retry. Whoever
// waits for one asks toReal() how long that is here; whoever measures one on
// now() compares with toReal() too, so one scale shrinks them all alike.
class Clock
{
public:
    explicit Clock(double scale = 1.0) { setScale(scale); }
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    // Real time per nominal time: 1 at the device's own pace, less to hurry,
    // more to slow down. Always above zero: a scale of zero or less (or not a
    // number) would make every wait instant and every measured reply
    // infinitely slow, so it stands for the real pace instead.
    double scale() const { return m_scale; }
    void setScale(double scale);
    // Real milliseconds for `nominalMs`: 0 for none, otherwise at least 1, so
    // that a shrunk interval never becomes "no wait at all".
    int toReal(int nominalMs) const;

private:
    double m_scale = 1.0;
};

class SystemClock : public Clock
{
public:
    explicit SystemClock(double scale = 1.0) : Clock(scale) {}
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace vx
