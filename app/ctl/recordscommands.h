#pragma once

#include "recordslocation.h"

#include <QDate>
#include <QString>

namespace vx {
class QtRecordsDatabase;
class UnitRecords;
} // namespace vx

// The commands on the unit records that need no timer: `units` (the log),
// `records import FILE` (a PC's own Registo.db into the chosen records),
// `records pending [add]` (the rows waiting on this PC for the records) and
// `history [UNIT]` (the snapshots of a unit's values), `journal [UNIT]`
// (every value the timers accepted) and `takings` (the takings of every unit
// between its visits in a period). Each prints on
// standard output and returns the exit status. Every command that reaches
// the records first adds the rows that wait on this PC.
class RecordsCommands
{
public:
    enum Status
    {
        kRecordsUnusable = 10, // not reachable, refused, a newer schema
        kImportRefused = 11,   // numbers already in the records, or none: nothing copied
        // new-unit: the unit is in the timer, its log row waits on this PC
        // for the records (also `records pending add`: rows still wait).
        kLoggedLater = 13
    };
    enum class Format
    {
        Text,
        Json,
        Csv
    };

    // dataFolder: where the rows waiting for the records are kept; empty:
    // the current folder.
    RecordsCommands(vx::RecordsLocation location, int idioma, const QString &dataFolder = {});

    // The words after `records`: import FILE, pending, pending add.
    static bool isRecordsCommand(const QStringList &words);
    int records(const QStringList &words, Format format);

    int units(Format format);
    int import(const QString &file);
    // Lists the rows that wait on this PC; with add, adds them now.
    int pending(bool add, Format format);
    // `unit`: a manufacturing number, optionally /SERIAL; empty: every unit
    // with snapshots.
    int history(const QString &unit, Format format);
    // The takings of every unit visited from `from` to `to`.
    int takings(const QDate &from, const QDate &to, Format format);
    // `unit` as for history; empty: the changes of every unit.
    int journal(const QString &unit, Format format);

    // The records reached and brought up to date before anything else is
    // done with them, and the rows waiting in dataFolder added (said on
    // standard error). False with the sentence said on standard error: the
    // place, what failed and what the technician can do.
    static bool usable(vx::QtRecordsDatabase &db, vx::UnitRecords &records,
                       const vx::RecordsLocation &location, int idioma, const QString &dataFolder);

private:
    int unitHistory(vx::QtRecordsDatabase &db, const QString &unit, Format format);
    int snapshotUnits(vx::QtRecordsDatabase &db, Format format);

    vx::RecordsLocation m_location;
    int m_idioma;
    QString m_dataFolder;
};
