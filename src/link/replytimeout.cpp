#include "replytimeout.h"

#include <algorithm>

namespace vx {

int ReplyTimeout::withMargin(int latencyMs)
{
    const int margin = std::max(latencyMs / 4, 100);
    return latencyMs >= kMaxMs - margin ? kMaxMs : latencyMs + margin;
}

void ReplyTimeout::replyObserved(int latencyMs, int timeoutMs)
{
    if (latencyMs > timeoutMs) {
        m_stretched = std::max(m_stretched, withMargin(latencyMs));
        m_calm = 0;
        m_calmLongest = 0;
        return;
    }
    m_calmLongest = std::max(m_calmLongest, latencyMs);
    if (++m_calm < kCalmRun) return;
    // Only ever shrinks here: a run in time says the stretch may be more than
    // needed, never that it is too little.
    m_stretched = std::min(m_stretched, withMargin(m_calmLongest));
    if (m_stretched <= m_configured) m_stretched = 0;
    m_calm = 0;
    m_calmLongest = 0;
}

} // namespace vx
