#pragma once

#include <QDateTime>

namespace vx {

// "Now", injected so that tests can stand on any date without touching the
// machine's clock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace vx
