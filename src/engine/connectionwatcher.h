#pragma once

#include "connectionstate.h"
#include "linkfault.h"
#include "serialport.h"

#include <QDateTime>
#include <QObject>
#include <QtGlobal>

namespace vx {

class Clock;
class Engine;
class Link;

// Follows the engine and the link and says whether the timer answers, in
// the two measures the window shows.
//
// The ConnectionState, for the status line: a request that times out turns
// it to NotAnswering at once; the next accepted reply brings back what it
// was (still reading, or connected), so the technician sees a pulled cable
// the moment the timer stops answering, not at the hundredth time-out.
//
// The fault, for the window's notice: the link retries for ever, as it
// should; what the technician needs is to be told, after a few seconds
// without an accepted reply, what is likely wrong. The silence is measured on
// the injected clock, so a test moves the clock instead of waiting; its
// length is nominal like the link's time-outs, so a clock that hurries the
// link hurries the notice alike.
class ConnectionWatcher : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultSilenceMs = 5000;

    ConnectionWatcher(Engine &engine, Link &link, const Clock &clock, QObject *parent = nullptr);

    const ConnectionState &state() const { return m_state; }

    // Nominal milliseconds.
    void setSilenceMs(int ms) { m_silenceMs = ms; }
    int silenceMs() const { return m_silenceMs; }
    // None while the engine is stopped, while replies are accepted, and for
    // the first silenceMs() of a silence.
    LinkFault fault() const { return m_fault; }
    // When fault() is PortUnavailable: why the port would not open.
    SerialPort::OpenFailure openFailure() const { return m_openFailure; }
    QString deviceName() const;

    // Looks at the link again (its counters call it; tests and the engine's
    // stop may too).
    void update();

signals:
    void stateChanged(const vx::ConnectionState &state);
    void faultChanged();

private:
    void set(const ConnectionState &s);
    void updateState();
    void updateFault();
    void onReadProgress(int done, int steps);

    Engine &m_engine;
    Link &m_link;
    const Clock &m_clock;
    ConnectionState m_state;
    // What the state is apart from the timer being silent.
    ConnectionState m_answering;
    quint64 m_sent = 0;
    quint64 m_accepted = 0;
    quint64 m_timeouts = 0;

    int m_silenceMs = kDefaultSilenceMs;
    QDateTime m_lastAccepted; // invalid while the engine is stopped
    quint64 m_acceptedForFault = 0;
    LinkFault m_fault = LinkFault::None;
    SerialPort::OpenFailure m_openFailure = SerialPort::OpenFailure::None;
};

} // namespace vx
