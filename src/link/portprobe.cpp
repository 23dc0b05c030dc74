#include "portprobe.h"

#include "clock.h"
#include "eventwait.h"
#include "frame.h"
#include "serialport.h"

#include <QTimer>

namespace vx {

PortProbe::Outcome PortProbe::probe()
{
    const QString path = m_port.devicePath();
    if (!m_port.open()) {
        m_detail = QStringLiteral("%1: %2").arg(path, m_port.errorText());
        return Outcome::OpenFailed;
    }
    m_port.discardInput();
    const QByteArray request = buildRequest(Command::ReadClock, 0, 6, TxData{});
    QByteArray received;
    bool expired = false;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [&expired] { expired = true; });
    const auto connection = QObject::connect(&m_port, &SerialPort::receiveNotification,
                                             [this, &received] { received += m_port.readAll(); });
    const int threshold = m_port.receiveThreshold();
    m_port.setReceiveThreshold(1);
    const bool sent = m_port.write(QByteArray(1, '$')) && m_port.write(request);
    if (sent) {
        limit.start(m_clock.toReal(m_timeoutMs));
        // The reply may come after noise: wait for its last character.
        waitUntil(
            [&] { return expired || (received.size() >= kFrameLength && received.endsWith('%')); },
            m_end);
    }
    received += m_port.readAll();
    QObject::disconnect(connection);
    m_port.setReceiveThreshold(threshold);
    m_port.close();

    const int start = received.lastIndexOf('!');
    const QByteArray reply = start >= 0 ? received.mid(start, kFrameLength) : QByteArray();
    if (sent && isValidReply(reply) && requestHeader(reply).comando == Command::ReadClock) {
        m_detail = QStringLiteral("%1: a VX308 answered").arg(path);
        return Outcome::Answered;
    }
    m_detail = received.isEmpty()
                   ? QStringLiteral("%1: no answer within %2 ms").arg(path).arg(m_timeoutMs)
                   : QStringLiteral("%1: %2 bytes came back, none a VX308 reply")
                         .arg(path)
                         .arg(received.size());
    return Outcome::NoAnswer;
}

} // namespace vx
