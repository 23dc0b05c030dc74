#include "replywatch.h"

#include "clock.h"
#include "enginecontrol.h"
#include "link.h"

namespace vx {

ReplyWatch::ReplyWatch(Link &link, const EngineControl &engine, const Clock &clock, QObject *parent)
    : QObject(parent), m_link(link), m_engine(engine), m_clock(clock)
{
    connect(&m_link, &Link::statsChanged, this, &ReplyWatch::update);
}

QString ReplyWatch::deviceName() const
{
    return m_link.port().deviceName();
}

void ReplyWatch::update()
{
    LinkFault fault = LinkFault::None;
    SerialPort::OpenFailure openFailure = SerialPort::OpenFailure::None;
    const LinkStats &s = m_link.stats;
    if (!m_engine.active()) {
        m_lastAccepted = QDateTime();
    } else if (!m_lastAccepted.isValid() || s.acceptedTotal != m_accepted) {
        // A connection that starts, or a reply accepted: the silence starts now.
        m_lastAccepted = m_clock.now();
    } else if (m_lastAccepted.msecsTo(m_clock.now()) >= m_silenceMs) {
        const bool open = m_link.port().isOpen();
        fault = linkFault(s, open);
        if (!open) openFailure = m_link.port().openFailure();
    }
    m_accepted = s.acceptedTotal;
    if (fault == m_fault && openFailure == m_openFailure) return;
    m_fault = fault;
    m_openFailure = openFailure;
    emit changed();
}

} // namespace vx
