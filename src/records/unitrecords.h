#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <limits>

namespace vx {

class RecordsDatabase;
struct OutboxRow;

// One row of the new-unit log TbRegisto.
struct LogRow
{
    qint64 NMec = 0; // running count of all units ever logged
    QString NFab;    // manufacturing number as shown: year-week code + running number
    int NAct = 0;    // running number within the week, 0..255
    int SAct = 0;    // week of the year the row was written in, 0..53
    QDate Data;      // PC date when written
    QTime hora;      // PC time when written
};

// What the new-unit flow needs of the last log row. With an empty log,
// exists is false and the counts are zero.
struct LastLogRow
{
    bool exists = false;
    qint64 NMec = 0;
    int NAct = 0;
    int SAct = 0;
    QDate Data; // invalid when the row has none
};

// What a bench asks for when the technician accepts a new unit.
struct UnitRequest
{
    QString code;     // year-week code as typed, "A2650"
    int number = 0;   // running number as typed, 0..255
    int proposed = 0; // the number the proposal showed
    int basis = 0;    // the week's highest number the proposal was made from
    int week = 0;     // this week of the year, 0..53
    QDate date;
    QTime time;
    QString host; // the PC's name, kept with the reservation
    // The unit on the line when the numbers are asked for, as the log writes
    // a manufacturing number ("A24153"), and its application serial; empty
    // when not known. A unit whose writes were cut off is found by them.
    QString forUnit;
    QString forSerial;
};

// The numbers a unit was given, held for it until it is logged.
struct UnitNumbers
{
    LogRow row;
    qlonglong reservation = 0;
    // The key the log row carries: logging it again adds nothing.
    QString key;
    // True when another bench took the proposed number meanwhile and the unit
    // got the next free one.
    bool moved = false;
    // True when these are the numbers of an earlier new unit on the same
    // timer whose writes did not all reach it: the same unit is finished.
    bool resumed = false;
    // When allocate() refuses a running number the technician typed because
    // another unit has it: that unit's log number, and the next free running
    // number of the week (0 when none is left).
    qint64 takenBy = 0;
    int nextFree = 0;
};

// What an import did: rows copied, or the rows refused and why.
struct ImportOutcome
{
    int copied = 0;
    // One sentence per row that cannot be copied: its numbers already exist,
    // are missing or out of range.
    QStringList refused;
};

// The unit log and the numbers of new units, in the records database that one
// PC or several benches share.
//
// Numbers are allocated in one transaction under the records' write lock:
// two benches accepting a unit at the same moment never get the same log
// number (NMec) or manufacturing number (NFab). The numbers are held in
// UnitReservations until the timer has taken the unit and its row is logged;
// numbers of a unit never logged stay taken, leaving a gap rather than a
// duplicate, unless the same timer comes back for a new unit: its numbers
// are then given to it again.
//
// NMec is 64 bits wide in memory and in both engines' columns; the log is
// refused a unit past the largest.
class UnitRecords
{
public:
    explicit UnitRecords(RecordsDatabase &db);

    // The largest NMec the log holds.
    static constexpr qint64 kLargestNMec = std::numeric_limits<qint64>::max();
    // The table of the rows that wait on a PC (see RecordsOutbox).
    static QString logTable();

    // The language of the messages: 0 Portuguese (the default), 1 English.
    void setLanguage(int idioma) { m_idioma = idioma; }

    // The database's place, for messages.
    QString where() const;
    RecordsDatabase &database() { return m_db; }

    // The schema version this build writes.
    static int schemaVersion();
    // Creates the tables on first use and brings an older schema up to date,
    // one ordered step at a time, all under the write lock. Refuses a database
    // of a newer schema than this build knows. *createdLog tells whether the
    // unit log was made now.
    bool prepare(QString *error, bool *createdLog = nullptr);
    // The version the database holds now (0 before prepare()).
    bool storedVersion(int *version, QString *error);

    bool readLastLogRow(LastLogRow *last, QString *error);

    // The numbers of a new unit: NMec one past the highest in the log or held;
    // the running number as typed when it is free, else (when the technician
    // kept the proposal) the next free one of this week. A number the
    // technician typed that is already taken is refused, naming the unit.
    // When the technician kept the proposal and numbers are still held for
    // the unit on the line (request.forUnit and forSerial) and released by
    // the program that gave up writing it, those are given again
    // (out->resumed), once.
    bool allocate(const UnitRequest &request, UnitNumbers *out, QString *error);
    // Logs the unit whose numbers these are and frees the reservation, in one
    // transaction. A row with the same key already in the log is not added
    // again.
    bool log(const UnitNumbers &numbers, QString *error);

    // The program writing this unit gives up before the timer took all of
    // it: its numbers are left for the same timer to finish it with, found by
    // the identity it had, the new one, or a mix of the two (findInterrupted).
    bool release(const UnitNumbers &numbers, QString *error);

    // The log row of a unit the timer has taken, to wait on the PC for
    // records at `records` (RecordsOutbox::placeOf).
    static OutboxRow waitingRow(const UnitNumbers &numbers, const QString &records);
    // Adds a row that waited, as log() does.
    static bool addWaitingRow(RecordsDatabase &db, const OutboxRow &row, QString *error);
    // The numbers a waiting row of the log is for; false when it holds none.
    static bool numbersOf(const OutboxRow &row, UnitNumbers *out);

    // The whole log, oldest first.
    bool listUnits(QList<LogRow> *out, QString *error);

    // Copies the rows of another log (a PC's own Registo.db), keeping their
    // numbers. All or nothing: when any row's NMec or NFab is already in this
    // log or held, nothing is copied and every such row is named.
    bool importUnits(const QList<LogRow> &rows, ImportOutcome *outcome, QString *error);

    // Reads the log of any records database, for import. With `unusable`,
    // rows without a whole NMec from 1 to kLargestNMec or without an NFab are
    // named there (by their place in the log) instead of being read.
    static bool readLog(RecordsDatabase &db, QList<LogRow> *out, QString *error,
                        QStringList *unusable = nullptr, int idioma = 0);

private:
    bool findInterrupted(const UnitRequest &request, UnitNumbers *out, bool *found, QString *error);
    bool pickNumber(const UnitRequest &request, qlonglong highestInWeek, qlonglong holder,
                    UnitNumbers *numbers, QString *error);

    RecordsDatabase &m_db;
    int m_idioma = 0;
};

} // namespace vx
