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

// Clear made undoable by hand: right before the erase, every value of the
// unit (as a read made just then found it) goes into the service history,
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

private:
    ServiceHistory &m_history;
};

} // namespace vx
