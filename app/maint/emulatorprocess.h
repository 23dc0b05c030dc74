#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace vx {

// The demo's timer: the vx308-emulator program as a child process. It makes a
// pseudo-terminal and prints the terminal's path on its first line; the
// window reaches it through the real serial port code, exactly as a timer on
// a USB adapter, so the demo also exercises the port and the line.
class EmulatorProcess : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *kProgramName = "vx308-emulator";

    explicit EmulatorProcess(QObject *parent = nullptr);
    ~EmulatorProcess() override;

    // Where the program is looked for, in this order: beside this program,
    // in ../emulator/ next to its folder (the build tree keeps the two
    // programs in sibling folders), then in each folder of `searchPath`.
    static QStringList candidates(const QString &programFolder, const QStringList &searchPath);

    // Starts the first candidate that can be run, with `arguments`, and waits
    // up to `timeoutMs` for its terminal. False with errorText() naming what
    // was looked for or run, where, and what to do about it.
    bool start(const QString &programFolder, const QStringList &searchPath,
               const QStringList &arguments = {}, int timeoutMs = 10000);

    QString program() const { return m_process.program(); }
    QString terminalPath() const { return m_terminal; }
    qint64 processId() const { return m_process.processId(); }
    QString errorText() const { return m_error; }

    // Asks the program to end (SIGTERM) and kills it when it is still there
    // after `graceMs`. Does nothing when it is not running.
    void stop(int graceMs = 2000);

signals:
    // The program ended on its own while the window still needed it.
    void endedUnexpectedly(const QString &text);

private:
    bool fail(const QString &text);
    bool waitForTerminal(int timeoutMs);
    QString notFoundText(const QStringList &lookedAt, const QStringList &searchPath) const;
    QString endedText() const;
    void keepErrorOutput();

    QProcess m_process;
    QString m_terminal;
    QString m_error;
    QString m_errorOutput;
    bool m_stopping = false;
};

} // namespace vx
