#include "application.h"

#include "databases.h"
#include "editset.h"
#include "fileerror.h"
#include "formmain.h"
#include "frmsplash.h"
#include "journalrecorder.h"
#include "link.h"
#include "maintenancesession.h"
#include "messagetexts.h"
#include "qttranslations.h"
#include "trafficlogwindow.h"
#include "traffictrace.h"
#include "visitrecorder.h"

#include <cstdio>

namespace vx {

Application::Application(const Setup &setup, const Platform &p, QObject *parent)
    : QObject(parent), m_p(p)
{
    MaintenanceSession::Setup session;
    session.dataFolder = setup.dataFolder;
    session.portMemoryFile = setup.portMemoryFile;
    session.portsFromCommandLine = setup.portsFromCommandLine;
    m_session = std::make_unique<MaintenanceSession>(
        session, MaintenanceSession::Platform{p.port, p.records, p.messages, p.end, p.clock,
                                              &p.printer, p.portInfos});
    connect(&m_session->visits(), &VisitRecorder::failed, this,
            [](const QString &error) { std::fprintf(stderr, "VX308: %s\n", qPrintable(error)); });
    connect(&m_session->journal(), &JournalRecorder::failed, this,
            [](const QString &error) { std::fprintf(stderr, "VX308: %s\n", qPrintable(error)); });
    const Services s = m_session->services();
    m_window = std::make_unique<FormMain>(s, setup.factoryMenu);
    m_window->setFileDialogs(p.fileDialogs);
    if (setup.screen.isValid()) m_window->setScreenSize(setup.screen);
    m_splash = std::make_unique<FrmSplash>(*m_window, databases(), p.clock);
    connect(m_window.get(), &FormMain::trafficLogRequested, this, &Application::openTrafficLog);
    // Portuguese, the default, from the first message on; the language menu's
    // ticks say when it changes.
    m_qtTranslations = std::make_unique<QtTranslations>();
    followLanguage();
    connect(&edit(), &EditSet::controlChanged, this, [this](const QString &name) {
        if (name == QLatin1String("mnu_EN") || name == QLatin1String("mnu_pt")) followLanguage();
    });
}

void Application::followLanguage()
{
    const int idioma = languageOf(edit());
    m_qtTranslations->apply(idioma);
    setProgramLanguage(idioma);
    m_session->journal().setLanguage(idioma);
    m_session->visits().setLanguage(idioma);
    if (m_trafficLog) m_trafficLog->setLanguage(idioma);
}

Application::~Application()
{
    link().setObserver(nullptr);
    m_trafficLog.reset();
    // The window goes before the services it points at.
    m_splash.reset();
    m_window.reset();
}

bool Application::start()
{
    QString error;
    QString failedFile;
    if (!databases().provision(nullptr, &error, &failedFile)) {
        showFileError(m_p.messages, failedFile, error);
        return false;
    }
    m_session->prepareRecords();
    m_splash->start();
    return true;
}

Databases &Application::databases()
{
    return m_session->databases();
}

Link &Application::link()
{
    return m_session->link();
}

EditSet &Application::edit()
{
    return m_session->edit();
}

Engine &Application::engine()
{
    return m_session->engine();
}

PortChooser &Application::ports()
{
    return m_session->ports();
}

Shutdown &Application::shutdown()
{
    return m_session->shutdown();
}

ClearSnapshots &Application::clearSnapshots()
{
    return m_session->clearSnapshots();
}

UnitRecords &Application::unitRecords()
{
    return m_session->unitRecords();
}

ServiceHistory &Application::history()
{
    return m_session->history();
}

VisitRecorder &Application::visits()
{
    return m_session->visits();
}

ConnectionWatcher &Application::connection()
{
    return m_session->connection();
}

TrafficTrace &Application::trafficTrace()
{
    if (!m_trace) {
        m_trace = std::make_unique<TrafficTrace>(m_p.clock);
        // Made with the trace, so that it holds every line from the start.
        m_trafficLog = std::make_unique<TrafficLogWindow>(m_p.fileDialogs, m_p.messages);
        m_trafficLog->setLanguage(languageOf(edit()));
        connect(m_trace.get(), &TrafficTrace::lineAdded, m_trafficLog.get(),
                &TrafficLogWindow::appendLine);
        m_trace->follow(link());
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
