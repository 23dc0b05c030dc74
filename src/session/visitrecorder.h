#pragma once

#include "servicehistory.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

namespace vx {

class EditSet;
class Engine;

// Keeps the service history of the units the programs work on: a snapshot
// after every complete read, and after a restore or a paste once the timer
// has taken every value (so that the snapshot is what the timer holds). A
// history that cannot be stored never stops the work on the timer: the visit
// waits on this PC (RecordsOutbox, in the data folder) as the row it would
// have been, and goes in behind the next visit the records take, or whenever
// the program next delivers what waits; failed() says so.
class VisitRecorder : public QObject
{
    Q_OBJECT
public:
    VisitRecorder(EditSet &edit, Engine &engine, ServiceHistory &history, QString dataFolder,
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
    // The language of the messages: 0 Portuguese, 1 English.
    void setLanguage(int idioma) { m_idioma = idioma; }
    // Visits that wait on this PC for these records.
    int waiting() const;

signals:
    // The records did not take a visit: their sentence, and whether (and
    // where) it waits.
    void failed(const QString &error);

private:
    void record(Snapshot::Reason reason);
    void keepOnThisPc(const Snapshot &visit, const QString &cause);

    EditSet &m_edit;
    Engine &m_engine;
    ServiceHistory &m_history;
    QString m_dataFolder;
    int m_idioma = 0;
    bool m_enabled = true;
    std::function<bool(QString *error)> m_before;
    // Snapshots to make once the timer has taken every value.
    QList<Snapshot::Reason> m_onceWritten;
};

} // namespace vx
