#pragma once

#include "linkfault.h"
#include "serialport.h"

#include <QDateTime>
#include <QObject>

namespace vx {

class Clock;
class EngineControl;
class Link;

// Whether the timer has stopped answering, for the window's notice. The link
// retries for ever, as it should; what the technician needs is to be told,
// after a few seconds without an accepted reply, what is likely wrong. The
// watch looks again whenever the link's counters change (every request and
// every time-out), and measures the silence on the injected clock, so a test
// moves the clock instead of waiting.
class ReplyWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultSilenceMs = 5000;

    ReplyWatch(Link &link, const EngineControl &engine, const Clock &clock,
               QObject *parent = nullptr);

    void setSilenceMs(int ms) { m_silenceMs = ms; }
    int silenceMs() const { return m_silenceMs; }

    // None while the engine is stopped, while replies are accepted, and for
    // the first silenceMs() of a silence.
    LinkFault fault() const { return m_fault; }
    // When fault() is PortUnavailable: why the port would not open.
    SerialPort::OpenFailure openFailure() const { return m_openFailure; }
    QString deviceName() const;

    // Looks at the link again (the counters call it; tests and the engine's
    // stop may too).
    void update();

signals:
    void changed();

private:
    Link &m_link;
    const EngineControl &m_engine;
    const Clock &m_clock;
    int m_silenceMs = kDefaultSilenceMs;
    QDateTime m_lastAccepted; // invalid while the engine is stopped
    quint64 m_accepted = 0;
    LinkFault m_fault = LinkFault::None;
    SerialPort::OpenFailure m_openFailure = SerialPort::OpenFailure::None;
};

} // namespace vx
