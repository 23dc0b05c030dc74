#pragma once

#include "recordslocation.h"

#include <QString>
#include <vector>

// The takings by unit over a year of the service history: `units` units
// visited `visits` times each, every tenth visit a Clear, then the year's
// report read and worked out five times.
struct TakingsRun
{
    std::vector<double> ms;     // one per report
    std::vector<double> readMs; // of which reading the snapshots
    int rows = 0;               // units in the last report
    double fillSeconds = 0;     // putting the snapshots in
    QString error;              // the first failure, empty when none
};

TakingsRun takingsRun(const vx::RecordsLocation &where, int units, int visits);
