#include "visitrecorder.h"

#include "editset.h"
#include "engine.h"

#include <cstdio>
#include <memory>

namespace vx {

VisitRecorder::VisitRecorder(EditSet &edit, Engine &engine, ServiceHistory &history,
                             QObject *parent)
    : QObject(parent), m_edit(edit), m_engine(engine), m_history(history)
{
    connect(&m_engine, &Engine::readFinished, this, [this] { record(Snapshot::Reason::Read); });
}

void VisitRecorder::recordOnceWritten(Snapshot::Reason reason)
{
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = connect(&m_engine, &Engine::tickFinished, this, [this, once, reason] {
        if (m_edit.anyPending()) return;
        QObject::disconnect(*once);
        record(reason);
    });
}

void VisitRecorder::record(Snapshot::Reason reason)
{
    // Only values of the unit on the line are kept as its visit: after an
    // interruption that has not been confirmed, or with another unit on the
    // line, the window's values may be of another unit.
    if (!m_engine.unitTrusted()) return;
    QString error;
    if (m_history.record(m_edit, reason, nullptr, &error)) return;
    std::fprintf(stderr, "VX308: %s\n", qPrintable(error));
    emit failed(error);
}

} // namespace vx
