#include "traffictrace.h"

#include "clock.h"
#include "framemeaning.h"
#include "link.h"
#include "linktexts.h"

#include <QStringList>
#include <algorithm>

namespace vx {

namespace {

std::optional<RequestHeader> headerOf(const QByteArray &request)
{
    if (request.size() < kDataOffset) return std::nullopt;
    return requestHeader(request);
}

} // namespace

TrafficTrace::TrafficTrace(const Clock &clock, QObject *parent) : QObject(parent), m_clock(clock) {}

void TrafficTrace::follow(Link &link)
{
    link.setObserver(this);
    connect(&link, &Link::requestSent, this, &TrafficTrace::requestSent, Qt::UniqueConnection);
}

void TrafficTrace::add(const char *kind, const QByteArray &characters, const QString &meaning)
{
    QString line = m_clock.now().time().toString(QStringLiteral("HH:mm:ss.zzz")) +
                   QLatin1Char(' ') + QString::fromLatin1(kind).leftJustified(8);
    if (!characters.isEmpty())
        line += QLatin1Char(' ') + printableFrame(withoutPasswords(characters));
    if (!meaning.isEmpty()) line += QStringLiteral("  ") + meaning;
    emit lineAdded(line);
}

void TrafficTrace::requestSent(const QByteArray &frame)
{
    m_lastRequest = frameMeaning(frame);
    m_lastHeader = headerOf(frame);
    add("sent", frame, m_lastRequest);
}

void TrafficTrace::requestNotWritten(const QByteArray &frame, const QString &why)
{
    m_lastRequest = frameMeaning(frame);
    m_lastHeader = headerOf(frame);
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
    // A damaged reply is masked as the reply to the last request too: line
    // noise may have changed the header that says which bytes it holds.
    const bool damaged = why == ReplyRejection::Damaged && m_lastHeader;
    add("rejected", damaged ? withoutPasswords(received, &*m_lastHeader) : received,
        rejectionText(received, why));
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

QString TrafficTrace::headerLine(int idioma)
{
    QStringList names;
    int lowest = 255;
    int highest = 0;
    for (const Field &f : kFields) {
        if (!f.secret) continue;
        names << toQString(f.name);
        lowest = std::min<int>(lowest, f.address);
        highest = std::max<int>(highest, f.address + f.bytes - 1);
    }
    return textOf(kTraceTexts, "masked", idioma)
        .arg(names.join(textOf(kTraceTexts, "and", idioma)))
        .arg(lowest)
        .arg(highest);
}

} // namespace vx
