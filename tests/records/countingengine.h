#pragma once

#include "enginecontrol.h"

// The engine's tick as a pair of counters.
struct CountingEngine : vx::EngineControl
{
    void start() override
    {
        ++starts;
        running = true;
    }
    void stop() override
    {
        ++stops;
        running = false;
    }
    bool active() const override { return running; }
    int starts = 0;
    int stops = 0;
    bool running = true;
};
