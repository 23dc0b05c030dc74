#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

namespace vx {

class Clock;
class EditSet;
class RecordsDatabase;
struct OutboxRow;

// One visit to a unit: every value the window showed of it, when and on
// which PC, and what the technician did.
struct Snapshot
{
    enum class Reason
    {
        Read,    // a complete read
        Clear,   // just before the erase
        Restore, // after a configuration file was written into the timer
        Paste    // after "PC -> Pic"
    };

    qlonglong id = 0;
    // Unique across PCs: a visit that waited on a PC is added once however
    // often it is offered. Empty for visits stored before there were keys.
    QString key;
    Reason reason = Reason::Read;
    QString manufacturingNumber; // the manufacturing code and number
    QString applicationSerial;
    QDateTime taken; // the PC's date and time
    QString host;
    // Field name (as read --json names it) to the text the window showed; the
    // tick boxes as "0" or "1".
    QMap<QString, QString> values;

    static QString reasonName(Reason r); // "read", "clear", "restore", "paste"
    static bool reasonNamed(const QString &name, Reason *r);
};

// A unit that has snapshots, for choosing one in a list.
struct SnapshotUnit
{
    QString manufacturingNumber;
    QString applicationSerial;
    int visits = 0;
    QDateTime last;
};

// The service history: snapshots of a unit's values, kept in the records
// database beside the unit log (table ServiceSnapshots), keyed by
// manufacturing number and application serial.
class ServiceHistory
{
public:
    ServiceHistory(RecordsDatabase &db, const Clock &clock, QString hostName);

    // The table, as rows waiting on a PC name it (see RecordsOutbox).
    static QString table();
    QString where() const;
    RecordsDatabase &database() const { return m_db; }

    // The window values a snapshot holds.
    static const QStringList &valueFields();
    // A unit's manufacturing number as the log writes it (NFab): the code and
    // the running number without leading zeros, "A24127", whether given as a
    // read shows it ("A2412" + "07") or whole ("A241207"). Anything else is
    // kept as it is.
    static QString unitKey(const QString &code, const QString &number);
    static QString unitKey(const QString &manufacturingNumber);
    // A snapshot of what the edit set shows now, with a new key.
    Snapshot take(const EditSet &edit, Snapshot::Reason reason) const;

    // Stores it (given no key, it gets a new one); *id is its row's number.
    // A snapshot whose key is in the history already is not added again:
    // *id is then the row that holds it. False with a sentence in *error
    // naming the records' place.
    bool store(const Snapshot &snapshot, qlonglong *id, QString *error);
    bool record(const EditSet &edit, Snapshot::Reason reason, qlonglong *id, QString *error);

    // One unit's snapshots, oldest first (the number in either form, see
    // unitKey()). An empty serial matches any.
    bool visits(const QString &manufacturingNumber, const QString &applicationSerial,
                QList<Snapshot> *out, QString *error);
    // Every snapshot taken from `from` to `to` (whole days), unit by unit and
    // each unit's in the order they were taken; with `fields`, only their
    // values (a year of a fleet is many snapshots).
    bool visitsBetween(const QDate &from, const QDate &to, QList<Snapshot> *out, QString *error,
                       const QStringList &fields = {});
    // Every unit with snapshots, most recently visited first.
    bool units(QList<SnapshotUnit> *out, QString *error);
    // The unit's last snapshot of a day before `day` (the previous visit), for
    // "since the last visit"; *found false when there is none.
    bool previousVisit(const QString &manufacturingNumber, const QString &applicationSerial,
                       const QDate &day, Snapshot *out, bool *found, QString *error);

    // A visit to wait on this PC for the records at `records`: the row it
    // would have been, with its own date and time, PC and reason.
    static OutboxRow waitingRow(const Snapshot &snapshot, const QString &records);
    // Adds a visit that waited, as store() does.
    static bool addWaitingRow(RecordsDatabase &db, const OutboxRow &row, QString *error);
    static bool snapshotOf(const OutboxRow &row, Snapshot *out);

private:
    RecordsDatabase &m_db;
    const Clock &m_clock;
    QString m_hostName;
};

} // namespace vx
