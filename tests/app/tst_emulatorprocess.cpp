// Guards the demo's timer, the emulator program run as a child process: it is
// found where a build or an installation puts it, a missing, broken or mute
// program gives a message naming what was looked for and where instead of a
// window talking to nothing, and no emulator outlives its stop, not even one
// that ignores the polite request.

#include "emulatorprocess.h"
#include "testsuite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace vx;

namespace {

const QString kBuiltEmulatorFolder = QStringLiteral(VX_BINARY_DIR "/emulator");

// A stand-in for the emulator: a shell script that writes its process id to
// `pid` beside itself, then runs `body`.
void writeScript(const QString &path, const QByteArray &body, bool executable = true)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\necho $$ > \"$(dirname \"$0\")/pid\"\n" + body + "\n");
    f.close();
    QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) p |= QFile::ExeOwner;
    QVERIFY(f.setPermissions(p));
}

// Runs until the terminal is asked for, as the real program does.
const QByteArray kServes = "echo /dev/null\nexec sleep 30";

qint64 scriptPid(const QString &scriptPath)
{
    QFile f(QFileInfo(scriptPath).absolutePath() + QStringLiteral("/pid"));
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toLongLong() : -1;
}

// The process is gone and reaped: nothing left of it.
bool gone(qint64 pid)
{
    return pid > 0 && !QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
}

} // namespace

class TstEmulatorProcess : public QObject
{
    Q_OBJECT

private slots:
    // Layouts: "b" beside the program (<root>/app), "t" the build tree's
    // sibling folder (<root>/emulator), "p" a folder of PATH (<root>/path);
    // an upper-case letter is a file there that cannot be run.
    void findsTheProgram_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("expected");
        QTest::newRow("beside") << "b"
                                << "app";
        QTest::newRow("build tree") << "t"
                                    << "emulator";
        QTest::newRow("on PATH") << "p"
                                 << "path";
        QTest::newRow("beside before build tree") << "bt"
                                                  << "app";
        QTest::newRow("build tree before PATH") << "tp"
                                                << "emulator";
        QTest::newRow("skips one that cannot be run") << "Btp"
                                                      << "emulator";
        QTest::newRow("PATH when the others cannot be run") << "BTp"
                                                            << "path";
    }
    void findsTheProgram()
    {
        QFETCH(QString, layout);
        QFETCH(QString, expected);
        QTemporaryDir root;
        const auto at = [&root](const char *folder) {
            return root.filePath(QLatin1String(folder) + QStringLiteral("/vx308-emulator"));
        };
        for (const QChar c : layout) {
            const char *folder = c.toLower() == QLatin1Char('b')   ? "app"
                                 : c.toLower() == QLatin1Char('t') ? "emulator"
                                                                   : "path";
            writeScript(at(folder), kServes, c.isLower());
        }
        QDir(root.path()).mkpath(QStringLiteral("app"));

        EmulatorProcess emulator;
        QVERIFY2(emulator.start(root.filePath(QStringLiteral("app")),
                                {root.filePath(QStringLiteral("nothing")),
                                 root.filePath(QStringLiteral("path"))}),
                 qPrintable(emulator.errorText()));
        QCOMPARE(emulator.program(), at(expected.toLatin1().constData()));
        QCOMPARE(emulator.terminalPath(), QStringLiteral("/dev/null"));
        emulator.stop();
    }

    // What the technician reads when the demo cannot start.
    void reportsWhatFailed_data()
    {
        QTest::addColumn<QByteArray>("script"); // empty: no program anywhere
        QTest::addColumn<bool>("executable");
        QTest::addColumn<QStringList>("mentions");
        const QStringList nowhere{"vx308-emulator", "/app/vx308-emulator",
                                  "/emulator/vx308-emulator", "PATH", "--target vx308-emulator"};
        QTest::newRow("nowhere") << QByteArray() << true << nowhere;
        QTest::newRow("cannot be run")
            << kServes << false << (nowhere + QStringList{"there, but it cannot be run"});
        QTest::newRow("ends at once")
            << QByteArray("echo 'vx308-emulator: cannot make a pseudo-terminal' >&2\nexit 1")
            << true
            << QStringList{"/app/vx308-emulator", "exit status 1", "cannot make a pseudo-terminal",
                           "Run it by hand"};
        QTest::newRow("prints something else")
            << QByteArray("echo 'usage: other program'\nexec sleep 30") << true
            << QStringList{"/app/vx308-emulator", "\"usage: other program\"",
                           "Is it the vx308-emulator program"};
        QTest::newRow("mute") << QByteArray("exec sleep 30") << true
                              << QStringList{"/app/vx308-emulator", "gave no terminal within"};
    }
    void reportsWhatFailed()
    {
        QFETCH(QByteArray, script);
        QFETCH(bool, executable);
        QFETCH(QStringList, mentions);
        QTemporaryDir root;
        QDir(root.path()).mkpath(QStringLiteral("app"));
        const QString program = root.filePath(QStringLiteral("app/vx308-emulator"));
        if (!script.isEmpty()) writeScript(program, script, executable);

        EmulatorProcess emulator;
        QVERIFY(!emulator.start(root.filePath(QStringLiteral("app")),
                                {root.filePath(QStringLiteral("path"))}, {}, 1500));
        for (const QString &m : mentions)
            QVERIFY2(emulator.errorText().contains(m), qPrintable(emulator.errorText()));
        QVERIFY(emulator.terminalPath().isEmpty());
        // A program that was started and then given up on is not left running.
        // (No pid file: stopped before it got that far, so gone as well.)
        const qint64 pid = scriptPid(program);
        QVERIFY(pid < 0 || gone(pid));
    }

    // The real program: a terminal that exists, and after stop() no process.
    void stopsTheRealProgram()
    {
        EmulatorProcess emulator;
        QVERIFY2(emulator.start(kBuiltEmulatorFolder, {}, {QStringLiteral("--no-pace")}),
                 qPrintable(emulator.errorText()));
        QVERIFY(emulator.terminalPath().startsWith(QStringLiteral("/dev/")));
        QVERIFY(QFileInfo::exists(emulator.terminalPath()));
        const qint64 pid = emulator.processId();
        QSignalSpy ended(&emulator, &EmulatorProcess::endedUnexpectedly);
        emulator.stop();
        QVERIFY(gone(pid));
        QCOMPARE(ended.count(), 0);
    }

    // One that ignores SIGTERM is killed once the grace time is over.
    void killsAProgramThatWillNotEnd()
    {
        QTemporaryDir root;
        const QString program = root.filePath(QStringLiteral("app/vx308-emulator"));
        writeScript(program, "trap '' TERM\n" + kServes);
        EmulatorProcess emulator;
        QVERIFY2(emulator.start(root.filePath(QStringLiteral("app")), {}),
                 qPrintable(emulator.errorText()));
        const qint64 pid = emulator.processId();
        emulator.stop(300);
        QVERIFY(gone(pid));
    }

    // The window hears of an emulator that went away under it.
    void tellsOfAnUnexpectedEnd()
    {
        EmulatorProcess emulator;
        QVERIFY2(emulator.start(kBuiltEmulatorFolder, {}, {QStringLiteral("--no-pace")}),
                 qPrintable(emulator.errorText()));
        QSignalSpy ended(&emulator, &EmulatorProcess::endedUnexpectedly);
        ::kill(static_cast<pid_t>(emulator.processId()), SIGKILL);
        QVERIFY(ended.wait(5000));
        const QString text = ended.first().first().toString();
        QVERIFY2(text.contains(QStringLiteral("/emulator/vx308-emulator")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("crashed")), qPrintable(text));
    }
};

VX_TEST_CLASS(TstEmulatorProcess, Core)
#include "tst_emulatorprocess.moc"
