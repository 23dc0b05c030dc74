#pragma once

#include "linkfault.h"
#include "linktexts.h"
#include "serialport.h"

#include <QString>
#include <array>
#include <string_view>

namespace vx {

// Why the tool cannot talk to the timer, one case for each fix the
// technician can make. The window and the command-line tool say the same.
enum class Trouble
{
    PortMissing,
    PortPermissionDenied,
    PortBusy,
    PortUnusable,
    NoReply,
    RejectedReplies
};

static_assert(kTroubleTexts.size() == static_cast<std::size_t>(Trouble::RejectedReplies) + 1,
              "one row per Trouble");

// The trouble behind a failed open.
Trouble troubleOf(SerialPort::OpenFailure failure);
// The trouble behind a link fault; PortUnavailable needs the open's failure.
Trouble troubleOf(LinkFault fault, SerialPort::OpenFailure failure);

// The message in a language (0 Portuguese, 1 English).
QString troubleMessage(Trouble trouble, int idioma, const QString &device,
                       const QString &systemText = {});

} // namespace vx
