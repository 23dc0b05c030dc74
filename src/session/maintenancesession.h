#pragma once

#include "services.h"

#include <QObject>
#include <QString>
#include <memory>

namespace vx {

class PortInfoSource;
class PortMemory;
class ProgramEnd;
class RecordsDatabase;
class ReportPrinter;
class SerialPort;
class UnitRecords;
class JournalRecorder;

// The maintenance tool without its window: the link on a port, the edit
// set, the engine, the records and the services the technician's actions go
// to, wired together once for both programs. The window is a view of it;
// vx308ctl drives it from the command line.
class MaintenanceSession : public QObject
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
        // Without a printer there is no report (vx308ctl prints none).
        ReportPrinter *printer = nullptr;
        // The system's serial ports for the port menu; none listed without.
        const PortInfoSource *portInfos = nullptr;
        // Where the edit set's own messages go; `messages` without.
        MessageSink *editMessages = nullptr;
    };

    struct Setup
    {
        QString dataFolder; // the database files; empty: the current folder
        // Where the chosen port is remembered; empty: the user's
        // configuration folder.
        QString portMemoryFile;
        // The ports were named on the command line: they are used as given,
        // and the user's remembered port is left alone.
        bool portsFromCommandLine = false;
        // What the journal calls a value the technician confirmed in this
        // program.
        QString typedChanges = QStringLiteral("window");
    };

    MaintenanceSession(const Setup &setup, const Platform &p, QObject *parent = nullptr);
    ~MaintenanceSession() override;

    // Brings the records up to date and adds the rows of new units that
    // waited on this PC for them. Records that cannot be reached are told
    // about and the work goes on: reading and writing the timer do not need
    // them.
    void prepareRecords();

    // What the window forwards the technician's actions to (needs a
    // printer).
    Services services();

    // Enter in FIELD's box after `text` was put there: the value is marked
    // for the next write pass when the field takes it. False when it was
    // refused (the edit set has said why).
    bool enterValue(const QString &field, const QString &text);

    Databases &databases() { return *m_databases; }
    Link &link() { return *m_link; }
    EditSet &edit() { return *m_edit; }
    Engine &engine() { return *m_engine; }
    PortChooser &ports() { return *m_ports; }
    Shutdown &shutdown() { return *m_shutdown; }
    NewUnit &newUnit() { return *m_newUnit; }
    UnitRecords &unitRecords() { return *m_unitRecords; }
    ServiceHistory &history() { return *m_history; }
    ClearSnapshots &clearSnapshots() { return *m_clearSnapshots; }
    VisitRecorder &visits() { return *m_visits; }
    // Every value the timer accepts, noted as it does and added to the
    // records' journal once the engine's tick is over.
    JournalRecorder &journal() { return *m_journal; }
    ConnectionWatcher &connection() { return *m_connection; }
    const Clock &clock() const { return m_p.clock; }
    MessageSink &messages() { return m_p.messages; }

private:
    Platform m_p;
    std::unique_ptr<Databases> m_databases;
    std::unique_ptr<Link> m_link;
    std::unique_ptr<EditSet> m_edit;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<UnitRecords> m_unitRecords;
    std::unique_ptr<ServiceHistory> m_history;
    std::unique_ptr<NewUnit> m_newUnit;
    std::unique_ptr<Report> m_report;
    std::unique_ptr<Defaults> m_defaults;
    std::unique_ptr<PortMemory> m_portMemory;
    std::unique_ptr<PortChooser> m_ports;
    std::unique_ptr<Shutdown> m_shutdown;
    std::unique_ptr<ClearSnapshots> m_clearSnapshots;
    std::unique_ptr<VisitRecorder> m_visits;
    std::unique_ptr<JournalRecorder> m_journal;
    std::unique_ptr<ConnectionWatcher> m_connection;
};

} // namespace vx
