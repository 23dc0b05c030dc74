#pragma once

#include "servicehistory.h"

#include <QList>
#include <QObject>
#include <functional>

namespace vx {

class EditSet;
class Engine;

// Keeps the service history of the units the programs work on: a snapshot
// after every complete read, and after a restore or a paste once the timer
// has taken every value (so that the snapshot is what the timer holds). A
// history that cannot be stored never stops the work on the timer: it is
// said in failed(), for the program to tell in its own words.
class VisitRecorder : public QObject
{
    Q_OBJECT
public:
    VisitRecorder(EditSet &edit, Engine &engine, ServiceHistory &history,
                  QObject *parent = nullptr);

    // A restore or a paste has just marked the values for writing.
    void recordOnceWritten(Snapshot::Reason reason);

    // Off: nothing is kept (a run that must leave no file behind, or one
    // that keeps its own snapshot).
    void setEnabled(bool on) { m_enabled = on; }
    // Runs before each snapshot; false (with the reason) fails it. A program
    // that opens the records only when first needed prepares them here.
    void setBeforeRecord(std::function<bool(QString *error)> before)
    {
        m_before = std::move(before);
    }

signals:
    void failed(const QString &error);

private:
    void record(Snapshot::Reason reason);

    EditSet &m_edit;
    Engine &m_engine;
    ServiceHistory &m_history;
    bool m_enabled = true;
    std::function<bool(QString *error)> m_before;
    // Snapshots to make once the timer has taken every value.
    QList<Snapshot::Reason> m_onceWritten;
};

} // namespace vx
