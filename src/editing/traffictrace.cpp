#include "traffictrace.h"

#include "clock.h"
#include "framemeaning.h"

namespace vx {

TrafficTrace::TrafficTrace(const Clock &clock, QObject *parent) : QObject(parent), m_clock(clock) {}

void TrafficTrace::add(const char *kind, const QByteArray &characters, const QString &meaning)
{
    QString line = m_clock.now().time().toString(QStringLiteral("HH:mm:ss.zzz")) +
                   QLatin1Char(' ') + QString::fromLatin1(kind).leftJustified(8);
    if (!characters.isEmpty()) line += QLatin1Char(' ') + printableFrame(characters);
    if (!meaning.isEmpty()) line += QStringLiteral("  ") + meaning;
    emit lineAdded(line);
}

void TrafficTrace::requestSent(const QByteArray &frame)
{
    m_lastRequest = frameMeaning(frame);
    add("sent", frame, m_lastRequest);
}

void TrafficTrace::requestNotWritten(const QByteArray &frame, const QString &why)
{
    m_lastRequest = frameMeaning(frame);
    add("unsent", frame,
        QStringLiteral("port refused the request (%1): %2")
            .arg(why.isEmpty() ? QStringLiteral("not open") : why, m_lastRequest));
}

void TrafficTrace::replyAccepted(const QByteArray &frame)
{
    add("received", frame, frameMeaning(frame));
}

void TrafficTrace::replyRejected(const QByteArray &received, ReplyRejection why)
{
    add("rejected", received, rejectionText(received, why));
}

void TrafficTrace::replyTimedOut(int timeoutMs)
{
    add("time-out", {},
        QStringLiteral("no reply within %1 ms%2")
            .arg(timeoutMs)
            .arg(m_lastRequest.isEmpty() ? QString() : QStringLiteral(" to ") + m_lastRequest));
}

QString TrafficTrace::rejectionText(const QByteArray &received, ReplyRejection why)
{
    switch (why) {
    case ReplyRejection::Damaged:
        return replyDefect(received);
    case ReplyRejection::Late:
        return QStringLiteral("late reply to an earlier request: ") + frameMeaning(received);
    case ReplyRejection::Unrequested:
        return QStringLiteral("reply when no request was waiting: ") + frameMeaning(received);
    case ReplyRejection::Surplus:
        return QStringLiteral("%1 characters after the reply, thrown away").arg(received.size());
    }
    return {};
}

} // namespace vx
