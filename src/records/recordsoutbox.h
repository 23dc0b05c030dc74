#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

namespace vx {

class RecordsDatabase;

// A row for the records that could not be added when it was made: kept on
// this PC until the records take it.
struct OutboxRow
{
    // Unique; carried into the records, so that a row added twice (a second
    // try after an answer that was lost, another program on this PC) is
    // there once.
    QString key;
    QString table;      // the table it goes into ("TbRegisto")
    QString records;    // the records it is for, as RecordsOutbox::placeOf() names them
    QJsonObject values; // the row's values, by column
    QDateTime queued;   // when it was kept, UTC
};

// What waits for the records on this PC: one small file per row in the
// folder "records-outbox" of the data folder. A row is written whole to a
// file of its own and flushed to the disk (the file and the folder) before
// anything is said about it, so that a program that ends, or a PC that goes
// down, loses none; the rows never share a file, so two programs on one PC
// (the window and vx308ctl) never overwrite each other's.
//
// deliver() adds each row to the records through the table's own adder, in
// one transaction of the records, then removes its file. A row whose file
// is removed only after a failure is added again later: the key makes that
// second add change nothing. A file that cannot be read is never removed:
// it is named, and stays for someone to look at.
class RecordsOutbox
{
public:
    // idioma: the language of the messages, 0 Portuguese, 1 English.
    explicit RecordsOutbox(const QString &dataFolder, int idioma = 0);

    // The folder the rows are kept in.
    QString where() const;
    // A new key, unique across PCs.
    static QString newKey();
    // How the rows name the records they are for: the file, made absolute,
    // or the server's URI without its password.
    static QString placeOf(const RecordsDatabase &db);

    // Keeps one row, flushed to the disk. False, naming the file and the
    // cause, when it cannot be written (nothing is then kept).
    bool keep(const OutboxRow &row, QString *error);
    // Every row kept, oldest first. Files that cannot be read are named in
    // *unreadable, with the reason.
    QList<OutboxRow> rows(QStringList *unreadable = nullptr) const;
    // How many rows wait; for `records` alone, and of `table` alone, when
    // given.
    int count(const QString &records = {}, const QString &table = {}) const;
    // Forgets a row the records have taken; a row already gone is no error.
    bool remove(const OutboxRow &row, QString *error);

    // What deliver() did.
    struct Delivery
    {
        int added = 0;
        int waiting = 0;   // rows for these records still waiting
        int elsewhere = 0; // rows kept for other records
        // Why a row could not be added (the records' sentence) or a file
        // read; empty when every row went in.
        QStringList problems;
    };
    // Adds every row kept for these records, oldest first. Stops at the
    // first the records refuse: when they cannot be reached, the others
    // would fail the same way.
    Delivery deliver(RecordsDatabase &db);

    // "%1 rows wait in %2", in the outbox's language, for messages.
    QString waitingText(int count) const;

private:
    QString fileOf(const QString &key) const;
    QString m_folder;
    int m_idioma;
};

} // namespace vx
