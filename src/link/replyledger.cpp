#include "replyledger.h"

#include <algorithm>

namespace vx {

void ReplyLedger::written(quint64 request, qint64 nowMs, qint64 timeoutMs)
{
    m_owed.push_back({request, nowMs, timeoutMs});
}

qint64 ReplyLedger::expiryOf(const Entry &e, qint64 horizonMs) const
{
    return std::max(e.writtenMs, m_lastReplyMs.value_or(e.writtenMs)) + horizonMs;
}

void ReplyLedger::expire(qint64 nowMs, qint64 horizonMs)
{
    // Entries are in the order written and share the last reply's time, so
    // the oldest is always the first to go.
    while (!m_owed.empty() && nowMs >= expiryOf(m_owed.front(), horizonMs))
        m_owed.pop_front();
}

std::optional<qint64> ReplyLedger::nextExpiry(qint64 horizonMs) const
{
    if (m_owed.empty()) return std::nullopt;
    return expiryOf(m_owed.front(), horizonMs);
}

std::optional<ReplyLedger::Entry> ReplyLedger::book(qint64 nowMs, qint64 horizonMs)
{
    expire(nowMs, horizonMs);
    m_lastReplyMs = nowMs;
    if (m_owed.empty()) return std::nullopt;
    const Entry e = m_owed.front();
    m_owed.pop_front();
    return e;
}

} // namespace vx
