#pragma once

#include "clock.h"

namespace vx {

// A clock that stands still at the time it was set to, until set again.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime t = QDateTime(QDate(2026, 12, 1), QTime(14, 5, 30)))
        : m_now(std::move(t))
    {
    }
    void set(const QDateTime &t) { m_now = t; }
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};

} // namespace vx
