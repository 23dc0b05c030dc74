#pragma once

#include "editmessages.h"
#include "recordslocation.h"
#include "terminalprogress.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <memory>

class ConfigCommands;
class NewUnitRun;

namespace vx {
class DeferredEnd;
class EditSet;
class Engine;
class Link;
class MaintenanceSession;
class SerialPort;
class StderrMessages;
class SystemClock;
class TraceFile;
class TrafficTrace;
class QtRecordsDatabase;
struct UnitIdentity;
} // namespace vx

// Drives the maintenance session the way a technician drives the window:
// presses "Lêr", waits for the read, types and confirms values, presses
// "Clear" or "Sair". Nothing is simulated; only the window is missing.
class CtlRunner : public QObject
{
    Q_OBJECT
public:
    enum class Action
    {
        Read,
        Set,
        Clear,
        Config, // save, diff or restore: see ConfigCommands
        NewUnit // see NewUnitRun
    };
    struct Job
    {
        Action action = Action::Read;
        std::unique_ptr<vx::SerialPort> port;
        QString portDescription;
        bool json = false;
        int timeoutSeconds = 30;
        QList<QPair<QString, QString>> values;  // FIELD=TEXT, for Set
        std::shared_ptr<ConfigCommands> config; // for Config
        // --trace: `trace` follows every frame on the line, its lines go to
        // `traceFile`; one that cannot be written ends the run.
        vx::TrafficTrace *trace = nullptr;
        vx::TraceFile *traceFile = nullptr;
        // Clear: whether the erase may go ahead without asking (--yes).
        // The folder of the default values (ValoresPre1.db) and of the PC's
        // own records.
        QString dataFolder;
        // The unit log and service history: new-unit's numbers, clear's
        // snapshot.
        vx::RecordsLocation records;
        bool confirmed = false;
        // The language of the messages: 0 Portuguese, 1 English.
        int idioma = 1;
    };

    // Exit statuses; the usage text documents them.
    enum Status
    {
        kDone = 0,
        kValueRefused = 1,
        kNotFinished = 2,
        kPortMissing = 3,
        kPortPermissionDenied = 4,
        kPortBusy = 5,
        kNoReply = 6,
        kRejectedReplies = 7,
        kClearNotConfirmed = 8,
        kSnapshotNotStored = 9,
        kRecordsUnusable = 10,
        kUnitChanged = 12,
        kUsage = 64
    };

    explicit CtlRunner(Job request);
    ~CtlRunner() override;

    // Starts the work; the process exits from inside when it is done.
    void start();

    // Names accepted by `set`: every writable field.
    static bool isKnownField(const QString &name);

private:
    void onReadFinished();
    void onWriteFinished();
    void finish(int status);
    void print();
    // Why the time limit ran out (silence, bad replies only, or too slow),
    // and the exit status that says it.
    QString timeoutReason(int *status) const;
    // Clear: asks on a terminal unless --yes was given, stores the values,
    // then presses Clear. False (with the status set) when it must not.
    bool clearSafely();
    // The unit's visit is kept in its service history as the window keeps
    // it, where the records were chosen; records that cannot be used are
    // said on standard error and change nothing else.
    void followVisits();
    // The journal is kept where records were chosen, or a records file is
    // there already; added when the run ends.
    void followJournal();
    void keepJournal();
    bool askOnTerminal();
    bool storeBeforeErase(const vx::EditSet &unit);
    static QString unitChangedMessage(const vx::UnitIdentity &read, const vx::UnitIdentity &onLine,
                                      int idioma);

    Job m_job;
    std::unique_ptr<vx::StderrMessages> m_messages;
    EditMessages m_editMessages;
    std::unique_ptr<vx::SystemClock> m_clock;
    std::unique_ptr<vx::DeferredEnd> m_end;
    // Opened on first use: read and set never reach the records.
    std::unique_ptr<vx::QtRecordsDatabase> m_records;
    std::unique_ptr<vx::MaintenanceSession> m_session;
    vx::EditSet &m_edit;
    vx::Link &m_link;
    vx::Engine &m_engine;
    int m_reads = 0;
    int m_status = 0;
    bool m_writing = false;
    // Values confirmed with Enter whose write the timer has not accepted yet.
    QSet<QString> m_unwritten;
    bool m_cleared = false;
    // The read's and the writes' progress, on standard error when it is a
    // terminal.
    TerminalProgress m_progress = TerminalProgress::forStderr();
    int m_toWrite = 0;

    // Config: the first read done, the file's command runs on its values.
    void onConfigRead();

    // NewUnit: the first read done, "Novo" and "Aceitar" are pressed.
    void onNewUnitRead();
    std::unique_ptr<NewUnitRun> m_newUnit;
};
