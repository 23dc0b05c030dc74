#pragma once

#include "servicehistory.h"

#include <QList>
#include <QString>

// `vx308ctl history`: a unit's snapshots as a table of the takings and
// counters, a JSON array or CSV with every value; and the units that have
// snapshots.
class HistoryListing
{
public:
    static QString text(const QList<vx::Snapshot> &visits);
    static QString json(const QList<vx::Snapshot> &visits);
    static QString csv(const QList<vx::Snapshot> &visits);

    static QString unitsText(const QList<vx::SnapshotUnit> &units);
    static QString unitsJson(const QList<vx::SnapshotUnit> &units);
    static QString unitsCsv(const QList<vx::SnapshotUnit> &units);

    // One line of CSV, each cell quoted where it needs it.
    static QString csvRow(const QStringList &cells);
};
