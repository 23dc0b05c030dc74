#pragma once

#include "acceptedchange.h"
#include "changejournal.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

namespace vx {

class Clock;
class RecordsDatabase;

// Keeps the journal of the changes a front end makes: every value the engine
// says the timer accepted becomes a row, stamped when it was accepted. The
// rows go to the records only at flush(), which the front end calls once the
// engine's tick is over: the technician sees the write's state when the timer
// takes the value, never after the records answer. Rows the records do not
// take wait on this PC (RecordsOutbox) and go in with the next rows that do;
// for a minute after such a failure (nominal, like every interval: the
// clock says how long) the records are not tried again.
class JournalRecorder : public QObject
{
    Q_OBJECT
public:
    // Who makes the changes: what the technician's own typing is called
    // ("window", "vx308ctl set"), the PC's name and the operating system's
    // user.
    struct Origin
    {
        QString typed;
        QString host;
        QString user;
    };

    JournalRecorder(RecordsDatabase &db, const Clock &clock, const QString &dataFolder,
                    Origin origin, QObject *parent = nullptr);

    // The user this program runs as.
    static QString osUser();
    // How a change of this kind is named in the journal.
    static QString howOf(ChangeKind kind, const QString &typed);

    // The language of the messages: 0 Portuguese, 1 English.
    void setLanguage(int idioma) { m_idioma = idioma; }
    // Off, flush() leaves the rows noted: for a front end with no records
    // chosen, which says so instead.
    void setEnabled(bool on) { m_enabled = on; }
    bool enabled() const { return m_enabled; }

    void note(const AcceptedChange &change);
    // The rows noted since the last flush, added to the records or kept on
    // this PC.
    void flush();
    // Rows noted and not yet flushed.
    int noted() const { return static_cast<int>(m_noted.size()); }
    // Rows of the journal that wait on this PC for these records.
    int waiting() const;

signals:
    // The records did not take the rows: the records' sentence and where
    // they wait.
    void failed(const QString &error);

private:
    bool ready(QString *error);
    void keepOnThisPc(const QList<JournalEntry> &entries, const QString &why);

    RecordsDatabase &m_db;
    const Clock &m_clock;
    QString m_dataFolder;
    Origin m_origin;
    ChangeJournal m_journal;
    QList<JournalEntry> m_noted;
    bool m_ready = false;
    bool m_enabled = true;
    int m_idioma = 0;
    // After records that could not be reached, rows go straight to this PC
    // for a while: a server out of reach is not waited for at every change.
    QDateTime m_retryAfter;
    QString m_lastError;
};

} // namespace vx
