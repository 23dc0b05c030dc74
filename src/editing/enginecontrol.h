#pragma once

namespace vx {

// What the operations above the engine may do with its tick: the new-unit
// entry stops it while the technician types a unit and starts it again to
// write the unit. The engine implements it; tests count the calls.
class EngineControl
{
public:
    virtual ~EngineControl() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool active() const = 0;
};

} // namespace vx
