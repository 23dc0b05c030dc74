#pragma once

#include <QString>

namespace vx {

class EditSet;
class ServiceHistory;

// Where a snapshot went: the records' place and the row's number in it.
struct SnapshotPlace
{
    QString where;
    qlonglong row = 0;
};

// Clear made undoable by hand: before the erase is asked for, every value the
// window shows of the unit (as it was read) goes into the service history,
// with the unit's manufacturing number and application serial to find it by,
// and when and on which PC it was taken. When the snapshot cannot be stored,
// nothing is erased.
class ClearSnapshots
{
public:
    explicit ClearSnapshots(ServiceHistory &history);

    QString where() const;

    // Stores the window's values now. False with a sentence in *error that
    // names the records' place.
    bool store(const EditSet &edit, SnapshotPlace *place, QString *error);

    // Clear without regret: the snapshot, then (only when it was stored) the
    // clear request of the "Clear" button.
    bool storeThenClear(EditSet &edit, const QString &titulo_base, SnapshotPlace *place,
                        QString *error);

private:
    ServiceHistory &m_history;
};

} // namespace vx
