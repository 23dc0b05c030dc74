#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

namespace vx {

class RecordsDatabase;

// One row of the new-unit log TbRegisto.
struct LogRow
{
    int NMec = 0; // running count of all units ever logged
    QString NFab; // manufacturing number as shown: year-week code + running number
    int NAct = 0; // running number within the week, 0..255
    int SAct = 0; // week of the year the row was written in, 0..53
    QDate Data;   // PC date when written
    QTime hora;   // PC time when written
};

// What the new-unit flow needs of the last log row. With an empty log,
// exists is false and the counts are zero.
struct LastLogRow
{
    bool exists = false;
    int NMec = 0;
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
};

// The numbers a unit was given, held for it until it is logged.
struct UnitNumbers
{
    LogRow row;
    qlonglong reservation = 0;
    // True when another bench took the proposed number meanwhile and the unit
    // got the next free one.
    bool moved = false;
};

// What an import did: rows copied, or the rows refused and why.
struct ImportOutcome
{
    int copied = 0;
    QStringList refused; // one sentence per row whose numbers already exist
};

// The unit log and the numbers of new units, in the records database that one
// PC or several benches share.
//
// Numbers are allocated in one transaction under the records' write lock:
// two benches accepting a unit at the same moment never get the same log
// number (NMec) or manufacturing number (NFab). The numbers are held in
// UnitReservations until the timer has taken the unit and its row is logged;
// numbers of a unit never logged stay taken, leaving a gap rather than a
// duplicate.
class UnitRecords
{
public:
    explicit UnitRecords(RecordsDatabase &db);

    // The database's place, for messages.
    QString where() const;

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
    bool allocate(const UnitRequest &request, UnitNumbers *out, QString *error);
    // Logs the unit whose numbers these are and frees the reservation, in one
    // transaction.
    bool log(const UnitNumbers &numbers, QString *error);

    // The whole log, oldest first.
    bool listUnits(QList<LogRow> *out, QString *error);

    // Copies the rows of another log (a PC's own Registo.db), keeping their
    // numbers. All or nothing: when any row's NMec or NFab is already in this
    // log or held, nothing is copied and every such row is named.
    bool importUnits(const QList<LogRow> &rows, ImportOutcome *outcome, QString *error);

    // Reads the log of any records database, for import.
    static bool readLog(RecordsDatabase &db, QList<LogRow> *out, QString *error);

private:
    RecordsDatabase &m_db;
};

} // namespace vx
