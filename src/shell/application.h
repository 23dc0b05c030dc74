#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <memory>

namespace vx {

class ClearSnapshots;
class Clock;
class ConnectionWatcher;
class Databases;
class EditSet;
class Engine;
class FileDialogs;
class FormMain;
class FrmSplash;
class Link;
class MaintenanceSession;
class MessageSink;
class PortChooser;
class PortInfoSource;
class ProgramEnd;
class QtTranslations;
class RecordsDatabase;
class ReportPrinter;
class SerialPort;
class ServiceHistory;
class Shutdown;
class TrafficLogWindow;
class TrafficTrace;
class UnitRecords;
class VisitRecorder;

// The maintenance tool with its window: the session (the link on a port, the
// edit set, the engine, the records and the services), the main window, the
// splash and the traffic log. The program hands in the platform pieces (a
// real serial port, SQLite, message boxes, process exit); a test hands in its
// doubles and drives the same wiring.
class Application : public QObject
{
    Q_OBJECT
public:
    struct Platform
    {
        SerialPort &port;
        // The unit log and the service history: the PC's own file or a
        // database shared by several benches.
        RecordsDatabase &records;
        MessageSink &messages;
        ProgramEnd &end;
        Clock &clock;
        ReportPrinter &printer;
        // The system's serial ports for the port menu; none listed without.
        const PortInfoSource *portInfos = nullptr;
        // Where the traffic log is saved to; without, it cannot be saved.
        FileDialogs *fileDialogs = nullptr;
    };

    // What the command line decides for the records and the window.
    struct Setup
    {
        QString dataFolder; // the database files; empty: the current folder
        bool factoryMenu = false;
        QSize screen; // fit the window to a screen of this size when valid
        // Where the chosen port is remembered; empty: the user's
        // configuration folder.
        QString portMemoryFile;
        // The ports were named on the command line (--com, --demo): they are
        // used as given, and the user's remembered port is left alone.
        bool portsFromCommandLine = false;
    };

    Application(const Setup &setup, const Platform &p, QObject *parent = nullptr);
    ~Application() override;

    // Makes the database files that are missing and brings the records up to
    // date, then starts the splash. False when the PC's own files cannot be
    // made (a message has been shown). Records that cannot be reached are
    // told about and the tool starts all the same: reading and writing the
    // timer do not need them.
    bool start();

    MaintenanceSession &session() { return *m_session; }
    Databases &databases();
    Link &link();
    EditSet &edit();
    Engine &engine();
    PortChooser &ports();
    Shutdown &shutdown();
    FormMain &window() { return *m_window; }
    FrmSplash &splash() { return *m_splash; }
    ClearSnapshots &clearSnapshots();
    UnitRecords &unitRecords();
    ServiceHistory &history();
    VisitRecorder &visits();
    ConnectionWatcher &connection();
    // The traffic log. The link reports every frame to it from the first
    // call on (the log window's menu item, --trace), never before: until
    // then the link spends nothing on it.
    TrafficTrace &trafficTrace();
    TrafficLogWindow &trafficLog();
    void openTrafficLog();
    // Qt's own dialogs in the window's language.
    QtTranslations &qtTranslations() { return *m_qtTranslations; }

private:
    // The window's language changed (its menu, or the stored one at start).
    void followLanguage();
    Platform m_p;
    std::unique_ptr<MaintenanceSession> m_session;
    std::unique_ptr<FormMain> m_window;
    std::unique_ptr<FrmSplash> m_splash;
    std::unique_ptr<TrafficTrace> m_trace;
    std::unique_ptr<TrafficLogWindow> m_trafficLog;
    std::unique_ptr<QtTranslations> m_qtTranslations;
};

} // namespace vx
