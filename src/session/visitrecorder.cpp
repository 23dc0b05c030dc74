#include "visitrecorder.h"

#include "editset.h"
#include "engine.h"

#include <utility>

namespace vx {

VisitRecorder::VisitRecorder(EditSet &edit, Engine &engine, ServiceHistory &history,
                             QObject *parent)
    : QObject(parent), m_edit(edit), m_engine(engine), m_history(history)
{
    connect(&m_engine, &Engine::readFinished, this, [this] { record(Snapshot::Reason::Read); });
    // Connected before any front end's own handling of the tick, which may
    // close the session and clear the values the snapshot is made of.
    connect(&m_engine, &Engine::tickFinished, this, [this] {
        if (m_onceWritten.isEmpty() || m_edit.anyPending()) return;
        const QList<Snapshot::Reason> reasons = std::exchange(m_onceWritten, {});
        for (const Snapshot::Reason reason : reasons)
            record(reason);
    });
}

void VisitRecorder::recordOnceWritten(Snapshot::Reason reason)
{
    m_onceWritten << reason;
}

void VisitRecorder::record(Snapshot::Reason reason)
{
    if (!m_enabled) return;
    // Only values of the unit on the line are kept as its visit: after an
    // interruption that has not been confirmed, or with another unit on the
    // line, the window's values may be of another unit.
    if (!m_engine.unitTrusted()) return;
    QString error;
    if ((!m_before || m_before(&error)) && m_history.record(m_edit, reason, nullptr, &error))
        return;
    emit failed(error);
}

} // namespace vx
