#include "linkfault.h"

namespace vx {

LinkFault linkFault(const LinkStats &s, bool portOpen)
{
    if (!portOpen || s.lastAttemptUnsent) return LinkFault::PortUnavailable;
    // Replies that all fail their check mean the line carries something; a
    // single damaged reply among time-outs is noise on a silent line.
    if (s.rejectedSinceAccepted > 0 && s.rejectedSinceAccepted >= s.timeoutsSinceAccepted)
        return LinkFault::RejectedReplies;
    if (s.timeoutsSinceAccepted > 0 || s.rejectedSinceAccepted > 0) return LinkFault::NoReply;
    return LinkFault::None;
}

} // namespace vx
