#include "connectionwatcher.h"

#include "clock.h"
#include "engine.h"
#include "link.h"

namespace vx {

using Phase = ConnectionState::Phase;

ConnectionWatcher::ConnectionWatcher(Engine &engine, Link &link, const Clock &clock,
                                     QObject *parent)
    : QObject(parent), m_engine(engine), m_link(link), m_clock(clock), m_sent(link.stats.sentTotal),
      m_accepted(link.stats.acceptedTotal), m_timeouts(link.stats.timeoutsTotal)
{
    connect(&engine, &Engine::readProgress, this, &ConnectionWatcher::onReadProgress);
    connect(&engine, &Engine::readFinished, this, [this] {
        m_answering = {Phase::Connected, 0, 0};
        set(m_answering);
    });
    connect(&engine, &Engine::engineStopped, this, [this] {
        m_answering = {};
        set(m_answering);
        // A stopped engine has no silence to tell about, whatever the
        // counters say.
        updateFault();
    });
    connect(&link, &Link::statsChanged, this, &ConnectionWatcher::update);
}

QString ConnectionWatcher::deviceName() const
{
    return m_link.port().deviceName();
}

void ConnectionWatcher::set(const ConnectionState &s)
{
    if (s == m_state) return;
    m_state = s;
    emit stateChanged(m_state);
}

void ConnectionWatcher::update()
{
    updateState();
    updateFault();
}

void ConnectionWatcher::updateState()
{
    const LinkStats &s = m_link.stats;
    // A request went out: the port is open from then on.
    if (s.sentTotal != m_sent) {
        m_sent = s.sentTotal;
        if (m_answering.phase == Phase::NoPort && m_link.port().isOpen())
            m_answering = {Phase::PortOpen, 0, 0};
    }
    if (s.acceptedTotal != m_accepted) {
        m_accepted = s.acceptedTotal;
        m_timeouts = s.timeoutsTotal;
    }
    // Silence since the last accepted reply; after "Sair" the closing frame
    // may time out too, but then there is no connection to speak of.
    const bool silent = s.timeoutsTotal != m_timeouts && m_answering.phase != Phase::NoPort;
    set(silent ? ConnectionState{Phase::NotAnswering, m_answering.step, m_answering.steps}
               : m_answering);
}

void ConnectionWatcher::updateFault()
{
    LinkFault fault = LinkFault::None;
    SerialPort::OpenFailure openFailure = SerialPort::OpenFailure::None;
    const LinkStats &s = m_link.stats;
    if (!m_engine.active()) {
        m_lastAccepted = QDateTime();
    } else if (!m_lastAccepted.isValid() || s.acceptedTotal != m_acceptedForFault) {
        // A connection that starts, or a reply accepted: the silence starts now.
        m_lastAccepted = m_clock.now();
    } else if (m_lastAccepted.msecsTo(m_clock.now()) >= m_clock.toReal(m_silenceMs)) {
        const bool open = m_link.port().isOpen();
        fault = linkFault(s, open);
        if (!open) openFailure = m_link.port().openFailure();
    }
    m_acceptedForFault = s.acceptedTotal;
    if (fault == m_fault && openFailure == m_openFailure) return;
    m_fault = fault;
    m_openFailure = openFailure;
    emit faultChanged();
}

void ConnectionWatcher::onReadProgress(int done, int steps)
{
    m_answering = {Phase::Reading, done, steps};
    updateState();
}

} // namespace vx
