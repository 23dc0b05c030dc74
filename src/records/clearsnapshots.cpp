#include "clearsnapshots.h"

#include "editset.h"
#include "servicehistory.h"

namespace vx {

ClearSnapshots::ClearSnapshots(ServiceHistory &history) : m_history(history) {}

QString ClearSnapshots::where() const
{
    return m_history.where();
}

bool ClearSnapshots::store(const EditSet &edit, SnapshotPlace *place, QString *error)
{
    qlonglong id = 0;
    if (!m_history.record(edit, Snapshot::Reason::Clear, &id, error)) return false;
    place->where = where();
    place->row = id;
    return true;
}

} // namespace vx
