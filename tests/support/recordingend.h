#pragma once

#include "programend.h"

namespace vx {

// Records the requests to end the program; from the first on every wait
// returns at once and the engine abandons its tick.
class RecordingEnd : public ProgramEnd
{
public:
    int calls = 0;

protected:
    void doEnd() override { ++calls; }
};

} // namespace vx
