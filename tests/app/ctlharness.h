#pragma once

// Running the built vx308ctl program from a test, as a script would.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// A program of the build folder, by its path there ("app/vx308ctl").
inline QString builtProgram(const char *relative)
{
    return QStringLiteral(VX_BINARY_DIR "/") + QLatin1String(relative);
}

struct CtlOutput
{
    int status;
    QByteArray out, err;
};

// Runs vx308ctl with `args` in `environment` and waits for it to end (60 s
// at most; status -1 when it does not).
inline CtlOutput
runCtl(const QStringList &args,
       const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(builtProgram("app/vx308ctl"), args);
    if (!p.waitForFinished(60000)) return {-1, {}, {}};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// Starts the built vx308-emulator with its pseudo-terminal at `link` and waits
// for it to say it is ready (10 s at most).
inline bool launchEmulator(QProcess &emulator, const QString &link, const QStringList &extra = {})
{
    emulator.start(builtProgram("emulator/vx308-emulator"),
                   QStringList{QStringLiteral("--link"), link} + extra);
    return emulator.waitForReadyRead(10000);
}

// Ends an emulator started by launchEmulator (nothing to do when it has ended).
inline bool endEmulator(QProcess &emulator)
{
    if (emulator.state() == QProcess::NotRunning) return true;
    emulator.terminate();
    return emulator.waitForFinished(10000);
}
