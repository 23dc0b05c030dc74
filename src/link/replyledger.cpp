#include "replyledger.h"

#include <algorithm>

namespace vx {

void ReplyLedger::written(quint64 request, qint64 nowMs, qint64 timeoutMs)
{
    m_owed.push_back({request, nowMs, timeoutMs});
}

qint64 ReplyLedger::expiryOf(const Entry &e) const
{
    return std::max(e.writtenMs, m_lastReplyMs.value_or(e.writtenMs)) + 2 * e.timeoutMs + kSlackMs;
}

void ReplyLedger::expire(qint64 nowMs)
{
    while (!m_owed.empty() && nowMs >= expiryOf(m_owed.front()))
        m_owed.pop_front();
}

std::optional<qint64> ReplyLedger::nextExpiry() const
{
    if (m_owed.empty()) return std::nullopt;
    return expiryOf(m_owed.front());
}

std::optional<ReplyLedger::Entry> ReplyLedger::book(qint64 nowMs)
{
    expire(nowMs);
    m_lastReplyMs = nowMs;
    if (m_owed.empty()) return std::nullopt;
    const Entry e = m_owed.front();
    m_owed.pop_front();
    return e;
}

} // namespace vx
