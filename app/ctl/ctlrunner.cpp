#include "ctlrunner.h"

#include "ctltexts.h"

#include "clearrequest.h"
#include "clearsnapshots.h"
#include "clock.h"
#include "configcommands.h"
#include "databases.h"
#include "editset.h"
#include "engine.h"
#include "fieldtable.h"
#include "journalrecorder.h"
#include "jsonshape.h"
#include "link.h"
#include "maintenancesession.h"
#include "messages.h"
#include "newunitrun.h"
#include "programend.h"
#include "qtrecordsdatabase.h"
#include "serialport.h"
#include "servicehistory.h"
#include "tracefile.h"
#include "traffictrace.h"
#include "troublemessages.h"
#include "unitrecords.h"
#include "visitrecorder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <unistd.h>

using namespace vx;

namespace {

MaintenanceSession::Setup sessionSetup(const CtlRunner::Job &job)
{
    MaintenanceSession::Setup setup;
    setup.dataFolder = job.dataFolder;
    // The port is the one given on the command line, never the one the
    // window remembers.
    setup.portsFromCommandLine = true;
    setup.typedChanges = QStringLiteral("vx308ctl set");
    return setup;
}

} // namespace

CtlRunner::CtlRunner(Job request)
    : m_job(std::move(request)), m_messages(std::make_unique<StderrMessages>()),
      m_editMessages(*m_messages), m_clock(std::make_unique<SystemClock>()),
      m_end(std::make_unique<DeferredEnd>()),
      m_records(std::make_unique<QtRecordsDatabase>(m_job.records,
                                                    QtRecordsDatabase::Mode::CreateIfMissing)),
      m_session(std::make_unique<MaintenanceSession>(
          sessionSetup(m_job),
          MaintenanceSession::Platform{*m_job.port, *m_records, *m_messages, *m_end, *m_clock,
                                       nullptr, nullptr, &m_editMessages})),
      m_edit(m_session->edit()), m_link(m_session->link()), m_engine(m_session->engine())
{
    if (m_job.trace) m_job.trace->follow(m_link);
    if (m_job.trace && m_job.traceFile)
        connect(m_job.trace, &TrafficTrace::lineAdded, this, [this](const QString &line) {
            if (m_job.traceFile->write(line)) return;
            m_progress.finish();
            std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(m_job.traceFile->errorText()));
            finish(kUsage);
        });
    followVisits();
    followJournal();
    // The engine's and the records' messages in the language of the rest.
    m_edit.setLanguage(m_job.idioma);
    m_engine.setBaseTitle(QStringLiteral("Manutenção VX308 v3.5"));
    connect(&m_engine, &Engine::readFinished, this, &CtlRunner::onReadFinished);
    connect(&m_engine, &Engine::tickFinished, this, &CtlRunner::onWriteFinished);
    connect(&m_engine, &Engine::readProgress, this, [this](int done, int steps) {
        m_progress.show(QStringLiteral("reading"), done, steps);
    });
    connect(&m_engine, &Engine::readFinished, this, [this] { m_progress.finish(); });
    connect(&m_edit, &EditSet::valueRefused, this, [this](const QString &c, const QString &t) {
        m_progress.finish();
        std::fprintf(stderr, "vx308ctl: %s: \"%s\" cannot be stored in the device; not written\n",
                     qPrintable(c), qPrintable(t));
        m_unwritten.remove(c);
        m_status = 1;
    });
    connect(&m_edit, &EditSet::valueWritten, this,
            [this](const QString &c) { m_unwritten.remove(c); });
    connect(&m_edit, &EditSet::valueWritten, this, [this] {
        if (m_toWrite > 0)
            m_progress.show(QStringLiteral("writing"),
                            m_toWrite - static_cast<int>(m_unwritten.size()), m_toWrite);
    });
    connect(&m_engine, &Engine::engineStopped, this, [this] { finish(m_status); });
    // Another timer on the line: nothing more is written to it.
    connect(&m_engine, &Engine::unitChanged, this,
            [this](const UnitIdentity &read, const UnitIdentity &onLine) {
                m_progress.finish();
                std::fprintf(stderr, "vx308ctl: %s\n",
                             qPrintable(unitChangedMessage(read, onLine, m_job.idioma)));
                m_status = kUnitChanged;
                m_writing = false;
                m_engine.Command_testar_Click();
            });
    if (m_job.action == Action::NewUnit)
        m_newUnit = std::make_unique<NewUnitRun>(m_editMessages, m_session->newUnit(),
                                                 m_session->unitRecords(), m_session->databases(),
                                                 *m_records);
}

CtlRunner::~CtlRunner() = default;

bool CtlRunner::isKnownField(const QString &name)
{
    return fieldIndex(name.toStdString()) >= 0;
}

void CtlRunner::start()
{
    // Before the port: a bench that cannot use the records writes nothing.
    if (m_newUnit && !m_newUnit->ready(m_job.records, m_job.idioma)) finish(kRecordsUnusable);
    if (!m_job.port->open()) {
        const Trouble trouble = troubleOf(m_job.port->openFailure());
        std::fprintf(stderr, "vx308ctl: %s\n",
                     qPrintable(troubleMessage(trouble, m_job.idioma, m_job.portDescription,
                                               m_job.port->errorText())));
        finish(trouble == Trouble::PortPermissionDenied ? kPortPermissionDenied
               : trouble == Trouble::PortBusy           ? kPortBusy
                                                        : kPortMissing);
    }
    m_job.port->close();
    // The whole job must be done within the time limit; a device that stays
    // silent keeps the engine retrying, so the limit is what ends it.
    QTimer::singleShot(std::chrono::seconds(m_job.timeoutSeconds), this, [this] {
        int status = kNotFinished;
        const QString reason = timeoutReason(&status);
        std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(reason));
        // A new unit cut off halfway: what the timer holds of it.
        const QString half = m_newUnit ? m_newUnit->giveUp(m_job.idioma) : QString();
        if (!half.isEmpty()) std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(half));
        finish(status);
    });
    m_engine.Command_ler_Click();
}

void CtlRunner::onReadFinished()
{
    ++m_reads;
    switch (m_job.action) {
    case Action::Read:
        print();
        m_engine.Command_testar_Click();
        break;
    case Action::Set:
        if (m_reads > 1) return;
        for (const auto &[field, text] : m_job.values) {
            if (field.startsWith(QLatin1String("Check_"))) {
                m_edit.setChecked(field, text != QLatin1String("0"));
                continue;
            }
            if (!m_session->enterValue(field, text)) {
                std::fprintf(stderr, "vx308ctl: %s: \"%s\" refused\n", qPrintable(field),
                             qPrintable(text));
                m_status = 1;
                continue;
            }
            m_unwritten.insert(field);
        }
        m_writing = true;
        m_toWrite = static_cast<int>(m_unwritten.size());
        break;
    case Action::Clear:
        if (m_reads == 1) {
            if (!clearSafely()) m_engine.Command_testar_Click();
        } else {
            print();
            m_engine.Command_testar_Click();
        }
        break;
    case Action::Config:
        if (m_reads == 1) onConfigRead();
        break;
    case Action::NewUnit:
        if (m_reads == 1) onNewUnitRead();
        break;
    }
}

void CtlRunner::onWriteFinished()
{
    // The tick after the values were confirmed has taken them all. Each is
    // done only once the timer accepted its write; one that was taken but
    // not accepted is said, never passed over as written.
    if (!m_writing || m_edit.anyPending()) return;
    m_writing = false;
    m_progress.finish();
    for (const QString &field : std::as_const(m_unwritten)) {
        std::fprintf(stderr, "vx308ctl: %s: the timer did not confirm the write\n",
                     qPrintable(field));
        m_status = 2;
    }
    if (m_newUnit) m_status = m_newUnit->conclude(m_status, m_job.json);
    m_engine.Command_testar_Click();
}

void CtlRunner::followVisits()
{
    VisitRecorder &visits = m_session->visits();
    // A plain read leaves no file behind in whatever folder it was run from:
    // the history is kept where the records were chosen (--data, --records,
    // or a shared database the window remembers). Clear keeps its own
    // snapshot, before the erase.
    visits.setEnabled(
        m_job.action != Action::Clear &&
        (!m_job.dataFolder.isEmpty() || m_job.records.kind == RecordsLocation::Kind::Postgres));
    visits.setBeforeRecord(
        [this](QString *error) { return m_session->unitRecords().prepare(error); });
    visits.setLanguage(m_job.idioma);
    connect(&visits, &VisitRecorder::failed, this,
            [](const QString &why) { std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(why)); });
}

void CtlRunner::followJournal()
{
    JournalRecorder &journal = m_session->journal();
    // As the visits: no records file is made in whatever folder a command
    // was run from without --data; one that is there already is used.
    journal.setEnabled(!m_job.dataFolder.isEmpty() ||
                       m_job.records.kind == RecordsLocation::Kind::Postgres ||
                       QFile::exists(m_job.records.file));
    journal.setLanguage(m_job.idioma);
    connect(&journal, &JournalRecorder::failed, this,
            [](const QString &why) { std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(why)); });
}

void CtlRunner::keepJournal()
{
    JournalRecorder &journal = m_session->journal();
    if (journal.enabled())
        journal.flush();
    else if (journal.noted() > 0)
        std::fprintf(stderr, "%s\n",
                     qPrintable(ctlText("journalNotKept", m_job.idioma).arg(journal.noted())));
}

namespace {

// What `read` prints of a field: a tick box as 0 or 1, any other as its text.
QString printedValue(const EditSet &edit, const QString &name)
{
    if (name.startsWith(QLatin1String("Check_")))
        return QString::number(edit.checked(name) ? 1 : 0);
    return edit.text(name);
}

QByteArray readJson(const EditSet &edit, const QStringList &names)
{
    QJsonObject o;
    for (const QString &n : names) {
        if (n.startsWith(QLatin1String("Check_")))
            o.insert(n, edit.checked(n) ? 1 : 0);
        else
            o.insert(n, edit.text(n));
    }
    o.insert(QStringLiteral("title"), edit.title());
    // The values no text says ("-"), by the bytes the timer holds.
    QJsonObject raw;
    for (const QString &n : names)
        if (const QByteArray bytes = edit.rawBytes(n); !bytes.isEmpty())
            raw.insert(n, JsonShape::bytes(bytes));
    if (!raw.isEmpty()) o.insert(QStringLiteral("bytes"), raw);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace

void CtlRunner::print()
{
    QStringList names;
    for (const Field &c : kFields)
        names << toQString(c.name);
    // Then what the timer shows that is never written.
    for (const Field &c : kDisplayFields)
        if (c.form != TextForm::Text) names << toQString(c.name);
    if (m_job.json) {
        std::printf("%s", readJson(m_edit, names).constData());
    } else {
        std::printf("%-18s %s\n", "title", qPrintable(m_edit.title()));
        for (const QString &n : names)
            std::printf("%-18s %s\n", qPrintable(n), qPrintable(printedValue(m_edit, n)));
    }
    std::fflush(stdout);
}

bool CtlRunner::askOnTerminal()
{
    std::fprintf(
        stderr, "%s\n%s ",
        qPrintable(clearQuestion(m_edit, m_job.idioma, m_session->clearSnapshots().where())),
        qPrintable(ctlText("typeYes", m_job.idioma)));
    std::fflush(stderr);
    // The engine waits between two ticks while the technician reads.
    char answer[16] = {};
    if (!std::fgets(answer, sizeof answer, stdin)) return false;
    const QString a = QString::fromLocal8Bit(answer).trimmed().toLower();
    return a == QLatin1String("yes") || a == QLatin1String("sim") || a == QLatin1String("y") ||
           a == QLatin1String("s");
}

bool CtlRunner::clearSafely()
{
    if (!m_job.confirmed && !askOnTerminal()) {
        std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(ctlText("notConfirmed", m_job.idioma)));
        m_status = kClearNotConfirmed;
        return false;
    }
    // The values are kept from a read made right before the erase, under
    // the identity of the unit that holds them.
    m_engine.setBeforeErase([this](const EditSet &unit) { return storeBeforeErase(unit); });
    m_engine.Command_clear_Click();
    return true;
}

bool CtlRunner::storeBeforeErase(const EditSet &unit)
{
    SnapshotPlace place;
    QString error;
    if (!m_session->unitRecords().prepare(&error) ||
        !m_session->clearSnapshots().store(unit, &place, &error)) {
        const bool server = m_job.records.kind == RecordsLocation::Kind::Postgres;
        const QString what =
            server ? ctlText("checkServer", m_job.idioma)
                   : ctlText("checkFolder", m_job.idioma)
                         .arg(QDir::toNativeSeparators(m_session->databases().folder()));
        std::fprintf(stderr, "%s\n",
                     qPrintable(ctlText("notStored", m_job.idioma).arg(error, what)));
        m_status = kSnapshotNotStored;
        // Nothing more to do: the erase is not made.
        QTimer::singleShot(0, &m_engine, &Engine::Command_testar_Click);
        return false;
    }
    std::fprintf(stderr, "%s\n",
                 qPrintable(ctlText("storedBeforeErase", m_job.idioma)
                                .arg(place.where, QString::number(place.row))));
    return true;
}

QString CtlRunner::unitChangedMessage(const UnitIdentity &read, const UnitIdentity &onLine,
                                      int idioma)
{
    return ctlText("unitChanged", idioma).arg(read.label(), onLine.label());
}

QString CtlRunner::timeoutReason(int *status) const
{
    const LinkStats &s = m_link.stats;
    const QString port = m_job.portDescription;
    const int limit = m_job.timeoutSeconds;
    const LinkFault fault = linkFault(s, m_job.port->isOpen());
    if (s.acceptedTotal == 0 || fault == LinkFault::PortUnavailable) {
        const Trouble trouble = troubleOf(fault, m_job.port->openFailure());
        *status = trouble == Trouble::NoReply                ? kNoReply
                  : trouble == Trouble::RejectedReplies      ? kRejectedReplies
                  : trouble == Trouble::PortPermissionDenied ? kPortPermissionDenied
                  : trouble == Trouble::PortBusy             ? kPortBusy
                                                             : kPortMissing;
        return troubleMessage(trouble, m_job.idioma, port, m_job.port->errorText()) +
               QStringLiteral(" (%1 s: %2 time-outs, %3 rejected replies)")
                   .arg(limit)
                   .arg(s.timeoutsTotal)
                   .arg(s.rejectedTotal);
    }
    *status = kNotFinished;
    return QStringLiteral("the work on %1 was not finished within %2 s: %3 replies accepted, %4 "
                          "rejected, %5 late, %6 time-outs. The timer answers slowly or the line "
                          "is bad; try again with a longer --timeout.")
        .arg(port)
        .arg(limit)
        .arg(s.acceptedTotal)
        .arg(s.rejectedTotal)
        .arg(s.lateReplies)
        .arg(s.timeoutsTotal);
}

void CtlRunner::finish(int status)
{
    // The engine may be deep inside nested waits: leave from here. The port
    // is closed first, so that its lock file goes with the program.
    m_progress.finish();
    m_job.port->close();
    keepJournal();
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(status);
}

void CtlRunner::onConfigRead()
{
    // The title carries the device version as a suffix such as ".5".
    QString firmware = m_edit.title().mid(m_engine.titulo_base.size());
    if (firmware.startsWith(QLatin1Char('.'))) firmware.remove(0, 1);
    bool writes = false;
    m_status = std::max(
        m_status, m_job.config->afterRead(m_edit, firmware, m_clock->now(), &writes, &m_unwritten));
    if (writes) {
        m_writing = true;
        if (m_job.config->command() == ConfigCommands::Command::Restore)
            m_session->visits().recordOnceWritten(Snapshot::Reason::Restore);
    } else
        m_engine.Command_testar_Click();
}

void CtlRunner::onNewUnitRead()
{
    if (!m_newUnit->accept()) {
        m_status = kRecordsUnusable;
        m_engine.Command_testar_Click();
        return;
    }
    const QStringList fields = m_newUnit->unwrittenFields();
    m_unwritten = QSet<QString>(fields.cbegin(), fields.cend());
    m_toWrite = static_cast<int>(m_unwritten.size());
    m_writing = true;
}
