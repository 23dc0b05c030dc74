#include "visitrecorder.h"

#include "editset.h"
#include "engine.h"
#include "recordsdatabase.h"
#include "recordsoutbox.h"
#include "recordstexts.h"

#include <utility>

namespace vx {

VisitRecorder::VisitRecorder(EditSet &edit, Engine &engine, ServiceHistory &history,
                             QString dataFolder, QObject *parent)
    : QObject(parent), m_edit(edit), m_engine(engine), m_history(history),
      m_dataFolder(std::move(dataFolder))
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
    // Taken now, whenever the records take it: the visit keeps its own date
    // and time.
    const Snapshot visit = m_history.take(m_edit, reason);
    QString error;
    const bool ready = !m_before || m_before(&error);
    if (!ready || !m_history.store(visit, nullptr, &error)) {
        keepOnThisPc(visit, error);
        return;
    }
    // The records answer again: what waited for them goes in behind.
    RecordsOutbox outbox(m_dataFolder, m_idioma);
    if (outbox.count(RecordsOutbox::placeOf(m_history.database())) > 0)
        outbox.deliver(m_history.database());
}

void VisitRecorder::keepOnThisPc(const Snapshot &visit, const QString &cause)
{
    // The records' sentence, then ours: it must end as a sentence does.
    QString why = cause.trimmed();
    if (!why.endsWith(QLatin1Char('.'))) why += QLatin1Char('.');
    RecordsOutbox outbox(m_dataFolder, m_idioma);
    QString error;
    if (!outbox.keep(
            ServiceHistory::waitingRow(visit, RecordsOutbox::placeOf(m_history.database())),
            &error)) {
        emit failed(textOf(kVisitTexts, "lost", m_idioma).arg(m_history.where(), why, error));
        return;
    }
    emit failed(textOf(kVisitTexts, "waits", m_idioma)
                    .arg(m_history.where(), why)
                    .arg(waiting())
                    .arg(outbox.where()));
}

int VisitRecorder::waiting() const
{
    return RecordsOutbox(m_dataFolder, m_idioma)
        .count(RecordsOutbox::placeOf(m_history.database()), ServiceHistory::table());
}

} // namespace vx
