#pragma once

#include <QString>

namespace vx {

class Clock;
class SerialPort;
class ProgramEnd;

// Whether a VX308 answers on a port, asked once with a request that changes
// nothing on the timer (a clock read). Unlike a transaction it never retries:
// a port with nothing behind it costs one time-out, so a search over every
// port of the system ends in a few seconds. The port is left closed.
class PortProbe
{
public:
    enum class Outcome
    {
        Answered,   // a valid reply to the request came back
        NoAnswer,   // silence, or only bytes that are not a VX308 reply
        OpenFailed, // the port does not exist or is in use
    };

    PortProbe(SerialPort &port, const Clock &clock, const ProgramEnd *end = nullptr)
        : m_port(port), m_clock(clock), m_end(end)
    {
    }

    // Nominal milliseconds (the clock says how long here) to wait for the
    // reply.
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    int timeoutMs() const { return m_timeoutMs; }

    Outcome probe();
    // Why the last probe ended as it did, naming the port.
    QString detail() const { return m_detail; }

private:
    SerialPort &m_port;
    const Clock &m_clock;
    const ProgramEnd *m_end;
    int m_timeoutMs = 1000;
    QString m_detail;
};

} // namespace vx
