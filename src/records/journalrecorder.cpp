#include "journalrecorder.h"

#include "clock.h"
#include "recordsdatabase.h"
#include "recordsoutbox.h"
#include "recordsschema.h"
#include "recordstexts.h"
#include "servicehistory.h"

#include <QtGlobal>
#include <array>
#include <pwd.h>
#include <string_view>
#include <unistd.h>
#include <utility>

namespace vx {

namespace {

struct KindName
{
    ChangeKind kind;
    const char *name;
};
constexpr std::array<KindName, 4> kKindNames{{{ChangeKind::Restore, "restore"},
                                              {ChangeKind::Paste, "paste"},
                                              {ChangeKind::Clear, "clear"},
                                              {ChangeKind::NewUnit, "new unit"}}};

// Nominal, as every interval: a hurried clock retries sooner.
constexpr int kRetryMs = 60 * 1000;

QString journalText(std::string_view key, int idioma)
{
    return textOf(kJournalTexts, key, idioma);
}

} // namespace

JournalRecorder::JournalRecorder(RecordsDatabase &db, const Clock &clock, const QString &dataFolder,
                                 Origin origin, QObject *parent)
    : QObject(parent), m_db(db), m_clock(clock), m_dataFolder(dataFolder),
      m_origin(std::move(origin)), m_journal(db)
{
}

QString JournalRecorder::osUser()
{
    if (const passwd *pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
}

QString JournalRecorder::howOf(ChangeKind kind, const QString &typed)
{
    for (const KindName &k : kKindNames)
        if (k.kind == kind) return QString::fromLatin1(k.name);
    return typed;
}

void JournalRecorder::note(const AcceptedChange &change)
{
    JournalEntry e;
    e.key = RecordsOutbox::newKey();
    e.manufacturingNumber = ServiceHistory::unitKey(change.unit.code, change.unit.number);
    e.applicationSerial = change.unit.serial;
    e.field = change.field;
    e.before = change.before;
    e.after = change.after;
    e.how = howOf(change.kind, m_origin.typed);
    e.when = m_clock.now();
    e.host = m_origin.host;
    e.user = m_origin.user;
    m_noted.append(e);
}

bool JournalRecorder::ready(QString *error)
{
    // Once per run: a schema brought up to date stays so.
    if (!m_ready) m_ready = RecordsSchema::bringUpToDate(m_db, nullptr, error, m_idioma);
    return m_ready;
}

void JournalRecorder::flush()
{
    if (!m_enabled || m_noted.isEmpty()) return;
    const QList<JournalEntry> entries = std::exchange(m_noted, {});
    QString error;
    if (m_retryAfter.isValid() && m_clock.now() < m_retryAfter) {
        keepOnThisPc(entries, m_lastError);
        return;
    }
    if (!ready(&error) || !m_journal.add(entries, &error)) {
        m_retryAfter = m_clock.now().addMSecs(m_clock.toReal(kRetryMs));
        m_lastError = error;
        keepOnThisPc(entries, error);
        return;
    }
    m_retryAfter = {};
    // The records answer again: what waited for them (changes, and the
    // visits made meanwhile) goes in behind.
    RecordsOutbox outbox(m_dataFolder, m_idioma);
    if (outbox.count(RecordsOutbox::placeOf(m_db)) > 0) outbox.deliver(m_db);
}

void JournalRecorder::keepOnThisPc(const QList<JournalEntry> &entries, const QString &why)
{
    RecordsOutbox outbox(m_dataFolder, m_idioma);
    const QString place = RecordsOutbox::placeOf(m_db);
    QString problems;
    for (const JournalEntry &e : entries) {
        QString error;
        if (!outbox.keep(ChangeJournal::waitingRow(e, place), &error))
            problems += QLatin1Char(' ') +
                        journalText("notKept", m_idioma).arg(e.field, e.before, e.after, error);
    }
    Q_EMIT failed(journalText("notAdded", m_idioma)
                      .arg(m_db.where(), why, outbox.waitingText(waiting()) + problems));
}

int JournalRecorder::waiting() const
{
    return RecordsOutbox(m_dataFolder, m_idioma)
        .count(RecordsOutbox::placeOf(m_db), ChangeJournal::table());
}

} // namespace vx
