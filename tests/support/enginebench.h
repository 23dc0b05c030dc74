#pragma once

#include "clock.h"
#include "editset.h"
#include "emulatedport.h"
#include "engine.h"
#include "fixedclock.h"
#include "link.h"
#include "messages.h"
#include "programend.h"
#include "recordingend.h"
#include "recordingmessages.h"

#include <QList>
#include <functional>

// A whole tool on the bench: engine, link and edit set wired to an emulated
// timer inside the process, with recorded messages and a clock that stands
// still. Its intervals run at 2 %, so the tests never wait for seconds; a
// test that needs another pace sets the clock's scale.
struct EngineBench
{
    EngineBench();

    vx::FixedClock clock{0.02};
    vx::emu::EmulatedPort port{clock};
    vx::RecordingMessages messages;
    vx::RecordingEnd end;
    vx::EditSet edit{messages};
    vx::Link link{port, messages, clock, &end};
    vx::Engine engine{edit, link, clock, messages, end};

    vx::emu::Device &device() { return port.device(); }

    // Request frames the device received since the last call (or start).
    QList<QByteArray> requests();
    // Runs the event loop until cond() holds; false after `ms` of real time.
    static bool waitFor(const std::function<bool()> &cond, int ms = 20000);
    // "Lêr" and wait for the full read to end.
    bool readAll();
};

// What a unit nobody read may be sent: reads, and the cursor the polls move
// across its display. Empty when the device received nothing else since its
// history was cleared (no write, impulse, clock setting or display test);
// otherwise what it received.
QString sentMoreThanReads(const vx::emu::Device &device);

// Pretty command/index/value of a request frame.
QString describe(const QByteArray &request);
