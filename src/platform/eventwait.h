#pragma once

#include <functional>

namespace vx {

class ProgramEnd;

// Waiting without spinning.
//
// A wait is a nested event loop: the caller's stack stays where it is, the
// process sleeps until an event arrives, and every handler (buttons, timers,
// the receive notification) runs in the middle of the wait, exactly as the
// device protocol expects of a blocking transaction. Coroutines would avoid the
// nesting but would turn every step of the engine into a suspension point for
// no gain: the engine is a fixed sequence and is easiest to read as one.
//
// Returns when done() holds, or at once once the program has ended.
//
// How long a wait lasts is the business of whoever arms the timer it waits
// for: the injected Clock says how long a nominal interval takes.
void waitUntil(const std::function<bool()> &done, const ProgramEnd *end = nullptr);

} // namespace vx
