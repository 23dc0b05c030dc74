#include "emulatedport.h"

#include "clock.h"

namespace vx::emu {

EmulatedPort::EmulatedPort(const Clock &clock, QObject *parent)
    : SerialPort(parent), m_clock(clock), m_responder(m_device, m_faults, clock)
{
    m_started.start();
    m_goneTimer.setSingleShot(true);
    m_goneTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_goneTimer, &QTimer::timeout, this, [this] { setGone(0); });
}

bool EmulatedPort::setPortNumber(int n)
{
    if (n < 1 || n > 255) return false;
    if (m_open) close();
    m_number = n;
    return true;
}

void EmulatedPort::setMissing(int n, bool missing)
{
    if (missing)
        m_missing.insert(n);
    else
        m_missing.remove(n);
}

bool EmulatedPort::open()
{
    if (m_open) return true;
    if (m_gone || m_missing.contains(m_number)) {
        ++m_failedOpens;
        m_error = m_gone ? QStringLiteral("The serial adapter is not connected")
                         : QStringLiteral("No such port: %1").arg(m_number);
        return false;
    }
    ++m_opens;
    m_open = true;
    m_error.clear();
    return true;
}

void EmulatedPort::close()
{
    if (!m_open) return;
    ++m_closes;
    m_open = false;
    ++m_session;
    m_rx.clear();
}

void EmulatedPort::setGone(int ms)
{
    m_goneTimer.stop();
    if (ms == 0) {
        m_gone = false;
        return;
    }
    m_gone = true;
    ++m_session;
    m_responder.reset();
    if (ms > 0) m_goneTimer.start(m_clock.toReal(ms));
}

bool EmulatedPort::write(const QByteArray &data)
{
    m_writes << data;
    if (!m_open || m_gone) return false;
    const quint64 session = m_session;
    for (Delivery &d : m_responder.receive(data, m_started.nsecsElapsed() / 1000)) {
        QTimer::singleShot(
            m_responder.realMs(d.atUs), Qt::PreciseTimer, this,
            [this, session, bytes = std::move(d.bytes)] { deliver(session, bytes); });
    }
    return true;
}

void EmulatedPort::deliver(quint64 session, const QByteArray &bytes)
{
    if (session != m_session || !m_open || m_gone) return;
    m_rx += bytes;
    emit delivered(bytes);
    bytesArrived();
}

QByteArray EmulatedPort::readAll()
{
    QByteArray out;
    out.swap(m_rx);
    return out;
}

} // namespace vx::emu
