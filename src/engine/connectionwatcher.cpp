#include "connectionwatcher.h"

#include "engine.h"
#include "link.h"
#include "serialport.h"

namespace vx {

using Phase = ConnectionState::Phase;

ConnectionWatcher::ConnectionWatcher(Engine &engine, Link &link, QObject *parent)
    : QObject(parent), m_link(link), m_accepted(link.stats.acceptedTotal),
      m_timeouts(link.stats.timeoutsTotal)
{
    connect(&engine, &Engine::readProgress, this, &ConnectionWatcher::onReadProgress);
    connect(&engine, &Engine::readFinished, this, [this] {
        m_answering = {Phase::Connected, 0, 0};
        set(m_answering);
    });
    connect(&engine, &Engine::engineStopped, this, [this] {
        m_answering = {};
        set(m_answering);
    });
    connect(&link, &Link::requestSent, this, &ConnectionWatcher::onRequest);
    connect(&link, &Link::statsChanged, this, &ConnectionWatcher::onStats);
}

void ConnectionWatcher::set(const ConnectionState &s)
{
    if (s == m_state) return;
    m_state = s;
    emit stateChanged(m_state);
}

void ConnectionWatcher::onRequest()
{
    if (m_answering.phase == Phase::NoPort && m_link.port().isOpen())
        m_answering = {Phase::PortOpen, 0, 0};
    onStats();
}

void ConnectionWatcher::onStats()
{
    const LinkStats &s = m_link.stats;
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

void ConnectionWatcher::onReadProgress(int done, int steps)
{
    m_answering = {Phase::Reading, done, steps};
    onStats();
}

} // namespace vx
