#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace vx {

class RecordsDatabase;
struct OutboxRow;

// One row of the journal: a value a timer accepted.
struct JournalEntry
{
    qlonglong id = 0; // the records' number for it; 0 before it is in them
    // Unique across PCs: the row is added once however often it is offered.
    QString key;
    QString manufacturingNumber; // as the history keys it ("A24127")
    QString applicationSerial;
    QString field; // as the edit set names it ("Text_S00")
    QString before;
    QString after;
    QString how;    // "window", "vx308ctl set", "restore", "paste", "clear", "new unit"
    QDateTime when; // the PC's date and time
    QString host;
    QString user; // the operating system's user
};

// The journal of changes in the records database (table ChangeJournal),
// beside the service history and keyed the same way.
class ChangeJournal
{
public:
    explicit ChangeJournal(RecordsDatabase &db);

    // The table, as rows waiting on a PC name it (see RecordsOutbox).
    static QString table();
    QString where() const;
    RecordsDatabase &database() const { return m_db; }

    // Adds the rows in one transaction; a row whose key is in the journal
    // already is not added again. False with the records' sentence.
    bool add(const QList<JournalEntry> &entries, QString *error);

    // One unit's changes, newest first (the number in either form the
    // history takes); an empty serial matches any, an empty number every
    // unit.
    bool changes(const QString &manufacturingNumber, const QString &applicationSerial,
                 QList<JournalEntry> *out, QString *error);

    // A row to wait on this PC for the records at `records`.
    static OutboxRow waitingRow(const JournalEntry &entry, const QString &records);
    // Adds a row that waited, as add() does.
    static bool addWaitingRow(RecordsDatabase &db, const OutboxRow &row, QString *error);
    static bool entryOf(const OutboxRow &row, JournalEntry *out);

private:
    RecordsDatabase &m_db;
};

} // namespace vx
