#pragma once

#include "frame.h"
#include "linkobserver.h"

#include <QObject>
#include <QString>
#include <optional>

namespace vx {

class Clock;
class Link;

// The traffic log: one line for every frame the link sends or receives and
// for every time-out, with the time to the millisecond, the characters and
// what they mean. Set it as the link's observer; the lines go to whoever
// listens to lineAdded (a trace file, the traffic log window).
//
// A line is "hh:mm:ss.zzz kind     characters  meaning", kind one of
// "sent", "unsent" (the port refused it), "received", "rejected",
// "time-out". The passwords' values are masked in both the characters and
// the meaning; a log starts with headerLine(), which says so.
class TrafficTrace : public QObject, public LinkObserver
{
    Q_OBJECT
public:
    explicit TrafficTrace(const Clock &clock, QObject *parent = nullptr);

    // Follows `link`: what it sends and what it hears, from now on.
    void follow(Link &link);

    // A request went out.
    void requestSent(const QByteArray &frame);
    void requestNotWritten(const QByteArray &frame, const QString &why) override;
    void replyAccepted(const QByteArray &frame) override;
    void replyRejected(const QByteArray &received, ReplyRejection why) override;
    void replyTimedOut(int timeoutMs) override;

    // Why characters were rejected, in words.
    static QString rejectionText(const QByteArray &received, ReplyRejection why);

    // The first line of every log, in the log's own wording (idioma 1) or
    // in Portuguese (0) for the window: it says the passwords are masked.
    static QString headerLine(int idioma = 1);

signals:
    void lineAdded(const QString &line);

private:
    void add(const char *kind, const QByteArray &characters, const QString &meaning);

    const Clock &m_clock;
    // What the attempt that may time out asked, in words.
    QString m_lastRequest;
    // What it asked, for the characters of a damaged reply to it.
    std::optional<RequestHeader> m_lastHeader;
};

} // namespace vx
