#pragma once

#include "clock.h"

namespace vx {

// A clock that stands still at the time it was set to, until set again. Its
// intervals run at `scale`: a test bench shrinks the link's, and moves the
// clock by toReal() of an interval measured on now().
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime t = defaultTime(), double scale = 1.0)
        : Clock(scale), m_now(std::move(t))
    {
    }
    explicit FixedClock(double scale) : FixedClock(defaultTime(), scale) {}
    void set(const QDateTime &t) { m_now = t; }
    QDateTime now() const override { return m_now; }

    static QDateTime defaultTime() { return QDateTime(QDate(2026, 12, 1), QTime(14, 5, 30)); }

private:
    QDateTime m_now;
};

} // namespace vx
