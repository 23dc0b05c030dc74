#pragma once

#include "linkstats.h"

namespace vx {

// What keeps the timer from answering, as far as the link can tell. Each
// asks the technician for a different fix.
enum class LinkFault
{
    None,            // replies are being accepted
    PortUnavailable, // the port cannot be opened (missing, no permission, held)
    NoReply,         // nothing comes back: cable, power, wrong port
    RejectedReplies  // something answers, never correctly: wrong device or speed
};

// The fault the counters since the last accepted reply point at. A port that
// is not open, or would not take the last request, comes first: nothing was
// sent at all.
LinkFault linkFault(const LinkStats &s, bool portOpen);

} // namespace vx
