#include "application.h"

#include "clearsnapshots.h"
#include "databases.h"
#include "defaults.h"
#include "editset.h"
#include "engine.h"
#include "fileerror.h"
#include "formmain.h"
#include "frmsplash.h"
#include "link.h"
#include "messagetexts.h"
#include "newunit.h"
#include "portchooser.h"
#include "portmemory.h"
#include "qttranslations.h"
#include "recordsdatabase.h"
#include "recordsoutbox.h"
#include "replywatch.h"
#include "report.h"
#include "servicehistory.h"
#include "shutdown.h"
#include "trafficlogwindow.h"
#include "traffictrace.h"
#include "unitrecords.h"
#include "visitrecorder.h"

#include <QDir>
#include <QSysInfo>
#include <cstdio>

namespace vx {

Application::Application(const Setup &setup, const Platform &p, QObject *parent)
    : QObject(parent), m_p(p)
{
    const QString folder = setup.dataFolder.isEmpty() ? QDir::currentPath() : setup.dataFolder;
    m_databases = std::make_unique<Databases>(p.store, folder);
    m_link = std::make_unique<Link>(p.port, p.messages, &p.end);
    m_edit = std::make_unique<EditSet>(p.messages);
    m_engine = std::make_unique<Engine>(*m_edit, *m_link, p.clock, p.messages, p.end);
    m_unitRecords = std::make_unique<UnitRecords>(p.records);
    m_history = std::make_unique<ServiceHistory>(p.records, p.clock, QSysInfo::machineHostName());
    m_newUnit = std::make_unique<NewUnit>(*m_edit, *m_engine, *m_databases, *m_unitRecords,
                                          p.messages, p.clock);
    m_report = std::make_unique<Report>(*m_edit, *m_databases, p.printer, p.messages, p.clock);
    m_defaults = std::make_unique<Defaults>(*m_edit, *m_databases, p.messages);
    m_ports = std::make_unique<PortChooser>(*m_edit, p.port, *m_databases, p.messages,
                                            [this] { return m_engine->active(); });
    m_portMemory = std::make_unique<PortMemory>(setup.portMemoryFile);
    if (!setup.portsFromCommandLine) m_ports->setMemory(m_portMemory.get());
    m_ports->setPortInfoSource(p.portInfos);
    m_shutdown = std::make_unique<Shutdown>(*m_edit, *m_link, *m_engine, p.end,
                                            [this] { m_newUnit->cancel(); });
    m_clearSnapshots = std::make_unique<ClearSnapshots>(*m_history);
    m_visits = std::make_unique<VisitRecorder>(*m_edit, *m_engine, *m_history);
    m_replyWatch = std::make_unique<ReplyWatch>(*m_link, *m_engine, p.clock);
    // A stopped engine has no silence to tell about, whatever the counters say.
    connect(m_engine.get(), &Engine::engineStopped, m_replyWatch.get(), &ReplyWatch::update);
    const Services s{*m_edit,     *m_engine,         *m_link,       *m_databases, p.messages,
                     p.clock,     *m_ports,          *m_shutdown,   *m_newUnit,   *m_report,
                     *m_defaults, *m_clearSnapshots, *m_replyWatch, *m_history,   *m_visits};
    m_window = std::make_unique<FormMain>(s, setup.factoryMenu);
    m_window->setFileDialogs(p.fileDialogs);
    if (setup.screen.isValid()) m_window->setScreenSize(setup.screen);
    m_splash = std::make_unique<FrmSplash>(*m_window, *m_databases);
    connect(m_window.get(), &FormMain::trafficLogRequested, this, &Application::openTrafficLog);
    // Portuguese, the default, from the first message on; the language menu's
    // ticks say when it changes.
    m_qtTranslations = std::make_unique<QtTranslations>();
    followLanguage();
    connect(m_edit.get(), &EditSet::controlChanged, this, [this](const QString &name) {
        if (name == QLatin1String("mnu_EN") || name == QLatin1String("mnu_pt")) followLanguage();
    });
}

void Application::followLanguage()
{
    const int idioma = languageOf(*m_edit);
    m_qtTranslations->apply(idioma);
    setProgramLanguage(idioma);
    if (m_trafficLog) m_trafficLog->setLanguage(idioma);
}

Application::~Application()
{
    m_link->setObserver(nullptr);
    m_trafficLog.reset();
    // The window goes before the services it points at.
    m_splash.reset();
    m_window.reset();
}

bool Application::start()
{
    QString error;
    QString failedFile;
    if (!m_databases->provision(nullptr, &error, &failedFile)) {
        showFileError(m_p.messages, failedFile, error);
        return false;
    }
    prepareRecords();
    m_splash->start();
    return true;
}

void Application::prepareRecords()
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
        std::fprintf(stderr, "VX308: criado %s\n", qPrintable(m_p.records.where()));
    int added = 0;
    int waiting = 0;
    if (!m_newUnit->addWaitingRows(&added, &waiting))
        showFileError(m_p.messages, m_p.records.where(), outbox.waitingText(waiting));
    else if (added > 0)
        std::fprintf(stderr, "VX308: %d linha(s) à espera acrescentada(s) a %s\n", added,
                     qPrintable(m_p.records.where()));
}

TrafficTrace &Application::trafficTrace()
{
    if (!m_trace) {
        m_trace = std::make_unique<TrafficTrace>(m_p.clock);
        // Made with the trace, so that it holds every line from the start.
        m_trafficLog = std::make_unique<TrafficLogWindow>(m_p.fileDialogs, m_p.messages);
        m_trafficLog->setLanguage(languageOf(*m_edit));
        connect(m_trace.get(), &TrafficTrace::lineAdded, m_trafficLog.get(),
                &TrafficLogWindow::appendLine);
        m_link->setObserver(m_trace.get());
    }
    return *m_trace;
}

TrafficLogWindow &Application::trafficLog()
{
    trafficTrace();
    return *m_trafficLog;
}

void Application::openTrafficLog()
{
    TrafficLogWindow &log = trafficLog();
    log.setLanguage(m_window->idioma());
    log.show();
    log.raise();
    log.activateWindow();
}

} // namespace vx
