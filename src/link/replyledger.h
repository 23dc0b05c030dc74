#pragma once

#include <QtGlobal>
#include <deque>
#include <optional>

namespace vx {

// The requests written to the timer whose answers have not come back yet.
//
// A serial timer takes its requests one at a time and answers them in the
// order it took them, or drops them. Nothing in a reply reliably says which
// request it answers, so a reply is booked against the oldest request still
// owed an answer. When an earlier request was in fact dropped, the books are
// behind the line: a reply is then thrown away as late, or taken for an
// earlier attempt of the same request, which is the same question. The books
// are never ahead of the line, so a reply is never taken for a request it
// does not answer: that is what keeps every value in its own field.
//
// A request is given up as dropped once nothing has come back for two of its
// time-out periods, counted from when it was written or from the last reply
// if that came later: a timer working through a backlog answers at least that
// often (plus a little slack). Requests are given up oldest first, never one behind an older one
// still owed.
class ReplyLedger
{
public:
    // Real milliseconds on top of the two periods: the PC may be slow to
    // notice an arrival (a window being redrawn, a dialog opening), and an
    // answer noticed late must still find its request owed.
    static constexpr qint64 kSlackMs = 100;

    struct Entry
    {
        quint64 request = 0;  // which transaction the attempt belongs to
        qint64 writtenMs = 0; // when its last character was written
        qint64 timeoutMs = 0; // the reply time-out it was given
    };

    void written(quint64 request, qint64 nowMs, qint64 timeoutMs);

    // A reply arrived at nowMs: the attempt it answers, or nothing when no
    // request is owed an answer (a reply nobody asked for).
    std::optional<Entry> book(qint64 nowMs);

    // Gives up the requests that can no longer be answered.
    void expire(qint64 nowMs);
    // When the oldest owed request will be given up, if nothing comes.
    std::optional<qint64> nextExpiry() const;

    bool empty() const { return m_owed.empty(); }
    std::size_t size() const { return m_owed.size(); }

private:
    qint64 expiryOf(const Entry &e) const;

    std::deque<Entry> m_owed;
    std::optional<qint64> m_lastReplyMs;
};

} // namespace vx
