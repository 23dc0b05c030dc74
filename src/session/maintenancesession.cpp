#include "maintenancesession.h"

#include "clearsnapshots.h"
#include "connectionwatcher.h"
#include "databases.h"
#include "defaults.h"
#include "editset.h"
#include "engine.h"
#include "fileerror.h"
#include "journalrecorder.h"
#include "link.h"
#include "messagetexts.h"
#include "newunit.h"
#include "portchooser.h"
#include "portmemory.h"
#include "recordsdatabase.h"
#include "recordsoutbox.h"
#include "recordstexts.h"
#include "report.h"
#include "servicehistory.h"
#include "shutdown.h"
#include "unitrecords.h"
#include "visitrecorder.h"

#include <QDir>
#include <QSysInfo>
#include <cstdio>

namespace vx {

MaintenanceSession::MaintenanceSession(const Setup &setup, const Platform &p, QObject *parent)
    : QObject(parent), m_p(p)
{
    const QString folder = setup.dataFolder.isEmpty() ? QDir::currentPath() : setup.dataFolder;
    m_databases = std::make_unique<Databases>(folder);
    m_link = std::make_unique<Link>(p.port, p.messages, p.clock, &p.end);
    m_edit = std::make_unique<EditSet>(p.editMessages ? *p.editMessages : p.messages);
    m_engine = std::make_unique<Engine>(*m_edit, *m_link, p.clock, p.messages, p.end);
    m_unitRecords = std::make_unique<UnitRecords>(p.records);
    m_history = std::make_unique<ServiceHistory>(p.records, p.clock, QSysInfo::machineHostName());
    m_newUnit = std::make_unique<NewUnit>(*m_edit, *m_engine, *m_databases, *m_unitRecords,
                                          p.messages, p.clock);
    if (p.printer)
        m_report = std::make_unique<Report>(*m_edit, *m_databases, *p.printer, p.messages, p.clock);
    m_defaults = std::make_unique<Defaults>(*m_edit, *m_databases, p.messages);
    m_ports = std::make_unique<PortChooser>(*m_edit, p.port, *m_databases, p.messages, p.clock,
                                            [this] { return m_engine->active(); });
    m_portMemory = std::make_unique<PortMemory>(setup.portMemoryFile);
    if (!setup.portsFromCommandLine) m_ports->setMemory(m_portMemory.get());
    m_ports->setPortInfoSource(p.portInfos);
    m_shutdown = std::make_unique<Shutdown>(*m_edit, *m_link, *m_engine, p.end,
                                            [this] { m_newUnit->cancel(); });
    m_clearSnapshots = std::make_unique<ClearSnapshots>(*m_history);
    m_visits = std::make_unique<VisitRecorder>(*m_edit, *m_engine, *m_history, folder);
    m_journal = std::make_unique<JournalRecorder>(
        p.records, p.clock, folder,
        JournalRecorder::Origin{setup.typedChanges, QSysInfo::machineHostName(),
                                JournalRecorder::osUser()});
    // The records are written once the tick that wrote the values is over,
    // so that they never hold up the write's state.
    connect(m_engine.get(), &Engine::valueAccepted, m_journal.get(), &JournalRecorder::note);
    connect(m_engine.get(), &Engine::tickFinished, m_journal.get(), &JournalRecorder::flush);
    m_connection = std::make_unique<ConnectionWatcher>(*m_engine, *m_link, p.clock);
}

MaintenanceSession::~MaintenanceSession()
{
    // A tick cut short by the end of the program never finished: what its
    // writes changed goes to the journal still.
    m_journal->flush();
    m_link->setObserver(nullptr);
}

Services MaintenanceSession::services()
{
    Q_ASSERT(m_report);
    return Services{*m_edit,     *m_engine,         *m_link,       *m_databases, m_p.messages,
                    m_p.clock,   *m_ports,          *m_shutdown,   *m_newUnit,   *m_report,
                    *m_defaults, *m_clearSnapshots, *m_connection, *m_history,   *m_visits};
}

bool MaintenanceSession::enterValue(const QString &field, const QString &text)
{
    m_edit->gotFocus(field);
    m_edit->setText(field, text);
    m_edit->confirmValue(field);
    return m_edit->pending(field);
}

void MaintenanceSession::prepareRecords()
{
    QString error;
    bool created = false;
    // Rows of new units that waited on this PC for the records are said with
    // the rest, and added as soon as the records can be reached.
    const RecordsOutbox outbox(m_databases->folder());
    if (!m_unitRecords->prepare(&error, &created)) {
        const int waiting = outbox.count();
        // Told once here; "Novo" says it again whenever it needs them.
        showFileError(
            m_p.messages, m_p.records.where(),
            error + QStringLiteral("\n") + messageText(MessageId::RecordsUnavailable, 0) +
                (waiting > 0 ? QStringLiteral("\n") + outbox.waitingText(waiting) : QString()));
        return;
    }
    if (created && m_p.records.engine() == RecordsDatabase::Engine::Sqlite)
        std::fprintf(stderr, "VX308: %s\n",
                     qPrintable(textOf(kOutboxTexts, "created").arg(m_p.records.where())));
    int added = 0;
    int waiting = 0;
    if (!m_newUnit->addWaitingRows(&added, &waiting))
        showFileError(m_p.messages, m_p.records.where(), outbox.waitingText(waiting));
    else if (added > 0)
        std::fprintf(stderr, "VX308: %s\n",
                     qPrintable(textOf(kOutboxTexts, "added").arg(added).arg(m_p.records.where())));
}

} // namespace vx
