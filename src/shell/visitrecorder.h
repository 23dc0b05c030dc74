#pragma once

#include "servicehistory.h"

#include <QObject>

namespace vx {

class EditSet;
class Engine;

// Keeps the service history of the units the window works on: a snapshot
// after every complete read, and after a restore or a paste once the timer
// has taken every value (so that the snapshot is what the timer holds). A
// history that cannot be stored never stops the work on the timer: it is
// said on standard error and in failed().
class VisitRecorder : public QObject
{
    Q_OBJECT
public:
    VisitRecorder(EditSet &edit, Engine &engine, ServiceHistory &history,
                  QObject *parent = nullptr);

    // A restore or a paste has just marked the values for writing.
    void recordOnceWritten(Snapshot::Reason reason);

signals:
    void failed(const QString &error);

private:
    void record(Snapshot::Reason reason);

    EditSet &m_edit;
    Engine &m_engine;
    ServiceHistory &m_history;
};

} // namespace vx
