#pragma once

#include <QByteArray>
#include <QString>

namespace vx {

// Why characters taken off the line were not the answer to the waiting
// attempt.
enum class ReplyRejection : uint8_t
{
    Damaged,     // not a well-formed reply (the frame itself says what is wrong)
    Late,        // a good reply to an earlier attempt, after its time-out
    Unrequested, // a good reply when no request was owed an answer
    Surplus,     // characters behind a reply in the same arrival, thrown away
};

// Watches what the link hears and what goes wrong on the line, for a traffic
// log; the requests that go out are the link's requestSent signal, emitted
// in the same order. The link calls it in the order things happen on the line
// and never waits on it; with no observer set the link does nothing more than
// test a null pointer.
class LinkObserver
{
public:
    virtual ~LinkObserver() = default;
    // A request could not be written (no port, adapter pulled); the attempt
    // then ends by time-out.
    virtual void requestNotWritten(const QByteArray &frame, const QString &why) = 0;
    // The reply handed to the waiting attempt as its answer.
    virtual void replyAccepted(const QByteArray &frame) = 0;
    virtual void replyRejected(const QByteArray &received, ReplyRejection why) = 0;
    // The last attempt got no reply within timeoutMs (nominal).
    virtual void replyTimedOut(int timeoutMs) = 0;
};

} // namespace vx
