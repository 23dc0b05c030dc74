#pragma once

#include <QByteArray>
#include <deque>

namespace vx::emu {

// Ways a reply can go wrong, combinable as bits.
namespace Fault {
constexpr unsigned None = 0;
// The request is lost on its way in: the device neither acts nor answers.
constexpr unsigned NoReply = 1u << 0;
// The device acts and answers, but the reply's checksum digit is wrong.
constexpr unsigned BadChecksum = 1u << 1;
// The reply reaches the PC in several writes a few milliseconds apart.
constexpr unsigned Split = 1u << 2;
// Stray characters follow the reply in the same write.
constexpr unsigned ExtraBytes = 1u << 3;
// Line noise comes ahead of the reply in the same write, as when the timer's
// transmitter switches on.
constexpr unsigned GarbagePrefix = 1u << 4;
} // namespace Fault

// How the emulated device misbehaves, changeable at any time. Times are the
// device's nominal milliseconds; the ports take them at their clock's scale.
struct Faults
{
    // Applied to every `every`-th answered request (1: every request).
    unsigned faults = Fault::None;
    int every = 1;
    // Extra wait before the reply starts.
    int delayMs = 0;
    // The wait applies to every `delayEvery`-th answered request only.
    int delayEvery = 1;
    // A busy timer: requests are taken one at a time, in the order they came,
    // as a serial microcontroller does. One that comes while the timer is
    // still answering an earlier one waits for it; the wait above counts from
    // when the timer takes the request.
    bool busy = false;
    // The timer is switched on this long after the emulator starts (or the
    // in-process port is made): until then it neither acts nor answers.
    int silentForMs = 0;
    // Deliver the reply when it would have arrived on a 19200 bit/s line:
    // the request's characters plus the reply's, 10 bits each.
    bool pace = false;
    int splitPieces = 3;
    int splitGapMs = 4;
    QByteArray extraBytes = "XY";
    QByteArray garbageBytes = QByteArray("\0\xFF", 2);
    // One entry per coming request, used before `faults`: lets a test make
    // one transaction fail and the next succeed.
    std::deque<unsigned> next;

    void failNext(int count, unsigned how)
    {
        for (int i = 0; i < count; ++i)
            next.push_back(how);
    }
};

} // namespace vx::emu
