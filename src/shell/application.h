#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <memory>

namespace vx {

class Databases;
class Clock;
class EditSet;
class Engine;
class FileDialogs;
class FormMain;
class FrmSplash;
class Link;
class MessageSink;
class NewUnit;
class PortChooser;
class PortInfoSource;
class PortMemory;
class QtTranslations;
class Defaults;
class ProgramEnd;
class RecordStore;
class RecordsDatabase;
class ServiceHistory;
class UnitRecords;
class VisitRecorder;
class Report;
class ReportPrinter;
class SerialPort;
class Shutdown;
class ClearSnapshots;
class ReplyWatch;
class TrafficLogWindow;
class TrafficTrace;

// Everything the maintenance tool is made of, wired together: the link on a
// port, the edit set, the engine, the records, the shell's services, the
// main window and the splash. The program hands in the platform pieces (a
// real serial port, SQLite, message boxes, process exit); a test hands in its
// doubles and drives the same wiring.
class Application : public QObject
{
    Q_OBJECT
public:
    struct Platform
    {
        SerialPort &port;
        RecordStore &store;
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

    Databases &databases() { return *m_databases; }
    Link &link() { return *m_link; }
    EditSet &edit() { return *m_edit; }
    Engine &engine() { return *m_engine; }
    PortChooser &ports() { return *m_ports; }
    Shutdown &shutdown() { return *m_shutdown; }
    FormMain &window() { return *m_window; }
    FrmSplash &splash() { return *m_splash; }
    ClearSnapshots &clearSnapshots() { return *m_clearSnapshots; }
    UnitRecords &unitRecords() { return *m_unitRecords; }
    ServiceHistory &history() { return *m_history; }
    VisitRecorder &visits() { return *m_visits; }
    ReplyWatch &replyWatch() { return *m_replyWatch; }
    // The traffic log. The link reports every frame to it from the first
    // call on (the log window's menu item, --trace), never before: until
    // then the link spends nothing on it.
    TrafficTrace &trafficTrace();
    TrafficLogWindow &trafficLog();
    void openTrafficLog();
    // Qt's own dialogs in the window's language.
    QtTranslations &qtTranslations() { return *m_qtTranslations; }

private:
    void prepareRecords();
    // The window's language changed (its menu, or the stored one at start).
    void followLanguage();
    Platform m_p;
    std::unique_ptr<Databases> m_databases;
    std::unique_ptr<Link> m_link;
    std::unique_ptr<EditSet> m_edit;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<NewUnit> m_newUnit;
    std::unique_ptr<Report> m_report;
    std::unique_ptr<Defaults> m_defaults;
    std::unique_ptr<PortMemory> m_portMemory;
    std::unique_ptr<PortChooser> m_ports;
    std::unique_ptr<Shutdown> m_shutdown;
    std::unique_ptr<UnitRecords> m_unitRecords;
    std::unique_ptr<ServiceHistory> m_history;
    std::unique_ptr<VisitRecorder> m_visits;
    std::unique_ptr<ClearSnapshots> m_clearSnapshots;
    std::unique_ptr<ReplyWatch> m_replyWatch;
    std::unique_ptr<FormMain> m_window;
    std::unique_ptr<FrmSplash> m_splash;
    std::unique_ptr<TrafficTrace> m_trace;
    std::unique_ptr<TrafficLogWindow> m_trafficLog;
    std::unique_ptr<QtTranslations> m_qtTranslations;
};

} // namespace vx
