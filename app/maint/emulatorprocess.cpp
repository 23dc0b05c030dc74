#include "emulatorprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace vx {

namespace {

// What the program said last on standard error is what explains a failure;
// keep that much of it.
constexpr qsizetype kErrorOutputKept = 2000;

bool runnable(const QFileInfo &file)
{
    return file.isFile() && file.isExecutable();
}

} // namespace

EmulatorProcess::EmulatorProcess(QObject *parent) : QObject(parent)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
#ifdef Q_OS_LINUX
    // A window that crashes or is killed never runs its own stop: the kernel
    // then sends the emulator the SIGTERM instead, so no emulator is left
    // holding a terminal nobody reads.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    connect(&m_process, &QProcess::readyReadStandardError, this, &EmulatorProcess::keepErrorOutput);
    connect(&m_process, &QProcess::finished, this, [this] {
        if (!m_stopping && !m_terminal.isEmpty()) Q_EMIT endedUnexpectedly(endedText());
    });
}

EmulatorProcess::~EmulatorProcess()
{
    stop();
}

QStringList EmulatorProcess::candidates(const QString &programFolder, const QStringList &searchPath)
{
    const QString name = QLatin1String(kProgramName);
    const QDir here(programFolder);
    QStringList out{here.filePath(name),
                    QDir::cleanPath(here.filePath(QStringLiteral("../emulator/") + name))};
    for (const QString &folder : searchPath)
        if (!folder.isEmpty()) out << QDir(folder).filePath(name);
    return out;
}

bool EmulatorProcess::start(const QString &programFolder, const QStringList &searchPath,
                            const QStringList &arguments, int timeoutMs)
{
    m_terminal.clear();
    m_error.clear();
    m_errorOutput.clear();
    m_stopping = false;
    QString found;
    // The search path's candidates are listed by folder in the message, not
    // one by one: PATH can be long.
    const QStringList all = candidates(programFolder, searchPath);
    for (const QString &c : all) {
        if (runnable(QFileInfo(c))) {
            found = c;
            break;
        }
    }
    if (found.isEmpty()) return fail(notFoundText(all.mid(0, 2), searchPath));

    m_process.setProgram(found);
    m_process.setArguments(arguments);
    m_process.start();
    if (!m_process.waitForStarted(timeoutMs)) {
        return fail(QStringLiteral("the demo device %1 could not be started: %2. Check that it is "
                                   "the %3 program and that it may be run (chmod +x), or "
                                   "rebuild it.")
                        .arg(found, m_process.errorString(), QLatin1String(kProgramName)));
    }
    return waitForTerminal(timeoutMs);
}

bool EmulatorProcess::waitForTerminal(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning) {
            keepErrorOutput();
            return fail(endedText());
        }
        if (!m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime())) &&
            deadline.hasExpired()) {
            const QString program = m_process.program();
            stop();
            return fail(QStringLiteral("the demo device %1 gave no terminal within %2 s. Run it by "
                                       "hand to see what it does.")
                            .arg(program)
                            .arg(timeoutMs / 1000.0));
        }
    }
    const QString line = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    if (!line.startsWith(QLatin1Char('/')) || !QFileInfo::exists(line)) {
        const QString program = m_process.program();
        stop();
        return fail(QStringLiteral("the demo device %1 printed \"%2\" where the path of its "
                                   "terminal was expected. Is it the %3 program? Rebuild it or "
                                   "remove it so that the next one is found.")
                        .arg(program, line.left(80), QLatin1String(kProgramName)));
    }
    m_terminal = line;
    return true;
}

void EmulatorProcess::stop(int graceMs)
{
    if (m_process.state() == QProcess::NotRunning) return;
    m_stopping = true;
    m_process.terminate();
    if (!m_process.waitForFinished(graceMs)) {
        m_process.kill();
        m_process.waitForFinished(graceMs);
    }
}

bool EmulatorProcess::fail(const QString &text)
{
    m_error = text;
    return false;
}

QString EmulatorProcess::notFoundText(const QStringList &lookedAt,
                                      const QStringList &searchPath) const
{
    QStringList places;
    for (const QString &c : lookedAt) {
        const QFileInfo file(c);
        places << (file.exists() && !runnable(file)
                       ? QStringLiteral("%1 (there, but it cannot be run)").arg(c)
                       : c);
    }
    const QString path =
        searchPath.isEmpty() ? QStringLiteral("empty") : searchPath.join(QDir::listSeparator());
    return QStringLiteral("the demo needs the %1 program and it was not found. Looked at %2, and "
                          "in the folders of PATH (%3). Build it (cmake --build <build folder> "
                          "--target %1), put it beside vx308-maint, or add its folder to PATH.")
        .arg(QLatin1String(kProgramName), places.join(QStringLiteral(", ")), path);
}

QString EmulatorProcess::endedText() const
{
    const QString said = m_errorOutput.trimmed();
    const QString status = m_process.exitStatus() == QProcess::CrashExit
                               ? QStringLiteral("it crashed")
                               : QStringLiteral("exit status %1").arg(m_process.exitCode());
    return QStringLiteral("the demo device %1 ended (%2)%3. Run it by hand to see why, then start "
                          "vx308-maint --demo again.")
        .arg(m_process.program(), status,
             said.isEmpty() ? QString() : QStringLiteral(", saying: ") + said);
}

void EmulatorProcess::keepErrorOutput()
{
    m_errorOutput += QString::fromLocal8Bit(m_process.readAllStandardError());
    if (m_errorOutput.size() > kErrorOutputKept)
        m_errorOutput = m_errorOutput.right(kErrorOutputKept);
}

} // namespace vx
