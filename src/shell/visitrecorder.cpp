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
    QString error;
    if (m_history.record(m_edit, reason, nullptr, &error)) return;
    std::fprintf(stderr, "VX308: %s\n", qPrintable(error));
    emit failed(error);
}

} // namespace vx
