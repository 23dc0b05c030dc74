#pragma once

#include "recordslocation.h"

#include <QString>

namespace vx {
class QtRecordsDatabase;
class UnitRecords;
} // namespace vx

// The commands on the unit records that need no timer: `units` (the log),
// `records import FILE` (a PC's own Registo.db into the chosen records) and
// `history [UNIT]` (the snapshots of a unit's values). Each prints on
// standard output and returns the exit status.
class RecordsCommands
{
public:
    enum Status
    {
        kRecordsUnusable = 10, // not reachable, refused, a newer schema
        kImportRefused = 11    // numbers already in the records: nothing copied
    };
    enum class Format
    {
        Text,
        Json,
        Csv
    };

    RecordsCommands(vx::RecordsLocation location, int idioma);

    int units(Format format);
    int import(const QString &file);
    // `unit`: a manufacturing number, optionally /SERIAL; empty: every unit
    // with snapshots.
    int history(const QString &unit, Format format);

    // The records reached and brought up to date before anything else is
    // done with them. False with the sentence said on standard error: the
    // place, what failed and what the technician can do.
    static bool usable(vx::QtRecordsDatabase &db, vx::UnitRecords &records,
                       const vx::RecordsLocation &location, int idioma);

private:
    int unitHistory(vx::QtRecordsDatabase &db, const QString &unit, Format format);
    int snapshotUnits(vx::QtRecordsDatabase &db, Format format);

    vx::RecordsLocation m_location;
    int m_idioma;
};
