#pragma once

#include "connectionstate.h"

#include <QObject>
#include <QtGlobal>

namespace vx {

class Engine;
class Link;

// Follows the engine and the link and keeps the ConnectionState current. A
// request that times out turns it to NotAnswering at once; the next accepted
// reply brings back what it was (still reading, or connected), so the
// technician sees a pulled cable the moment the timer stops answering, not
// at the hundredth time-out.
class ConnectionWatcher : public QObject
{
    Q_OBJECT
public:
    ConnectionWatcher(Engine &engine, Link &link, QObject *parent = nullptr);

    const ConnectionState &state() const { return m_state; }

signals:
    void stateChanged(const vx::ConnectionState &state);

private:
    void set(const ConnectionState &s);
    void onStats();
    void onRequest();
    void onReadProgress(int done, int steps);

    Link &m_link;
    ConnectionState m_state;
    // What the state is apart from the timer being silent.
    ConnectionState m_answering;
    quint64 m_accepted = 0;
    quint64 m_timeouts = 0;
};

} // namespace vx
