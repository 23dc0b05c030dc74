#pragma once

#include "recordstore.h"

#include <QString>
#include <QStringList>

namespace vx {

class Clock;
class Databases;
class EditSet;

// Where a snapshot went: the database file and the row's number in it.
struct SnapshotPlace
{
    QString file;
    qlonglong row = 0;
};

// Clear made undoable by hand: before the erase is asked for, every value the
// window shows of the unit (as it was read) goes into a row of ClearSnapshots
// in Snapshots.db, with the unit's manufacturing number and application
// serial to find it by, and when and on which PC it was taken. The file and
// the table are made on first use. When the row cannot be stored, nothing is
// erased.
//
// One row per Clear, one column per window value named after its control,
// all as text as the window showed them (the tick boxes as 0 or 1), so that a
// history of a unit is one query on the two key columns, in row order.
class ClearSnapshots
{
public:
    ClearSnapshots(Databases &databases, const Clock &clock, QString hostName);

    QString file() const;
    static RecordStore::Table table();
    // The window values a row holds, in column order.
    static const QStringList &valueFields();

    // Stores the window's values now. False with a sentence in *error that
    // names the file.
    bool store(const EditSet &edit, SnapshotPlace *place, QString *error);

    // Clear without regret: the snapshot, then (only when it was stored) the
    // clear request of the "Clear" button.
    bool storeThenClear(EditSet &edit, const QString &titulo_base, SnapshotPlace *place,
                        QString *error);

private:
    Databases &m_databases;
    const Clock &m_clock;
    QString m_hostName;
};

} // namespace vx
