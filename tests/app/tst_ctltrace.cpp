// Guards --trace, the traffic log a technician sends with a problem report:
// the real vx308ctl against the real vx308-emulator over a pseudo-terminal
// must log every frame with the fields it concerns and never the timer's
// passwords, and a trace file that cannot be written must stop both programs
// before they touch the port.
#include "ctlharness.h"
#include "testsuite.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

class TstCtlTrace : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_emu;
    QString m_link;

    static QString bin(const QString &rel) { return QStringLiteral(VX_BINARY_DIR "/") + rel; }

    void startEmulator(const QStringList &extra = {})
    {
        m_link = m_dir.filePath(QStringLiteral("vx308"));
        QVERIFY(launchEmulator(m_emu, m_link, extra));
    }
    void stopEmulator() { QVERIFY(endEmulator(m_emu)); }

    // The lines of a `vx308ctl read --trace` of the emulated timer.
    QStringList tracedRead(const QString &name)
    {
        const QString trace = m_dir.filePath(name);
        QProcess ctl;
        ctl.start(bin(QStringLiteral("app/vx308ctl")),
                  {QStringLiteral("read"), QStringLiteral("--device"), m_link,
                   QStringLiteral("--trace"), trace});
        if (!ctl.waitForFinished(60000) || ctl.exitCode() != 0) return {};
        QFile f(trace);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static int hexByte(const QString &lowHigh)
    {
        return lowHigh.mid(1, 1).toInt(nullptr, 16) * 16 + lowHigh.mid(0, 1).toInt(nullptr, 16);
    }

private slots:
    void cleanup()
    {
        if (m_emu.state() == QProcess::NotRunning) return;
        m_emu.kill();
        m_emu.waitForFinished(10000);
    }

    // A read logs each request and its reply; the memory reads name their
    // fields and show the values as the window does.
    void readNamesFields()
    {
        startEmulator();
        QStringList lines = tracedRead(QStringLiteral("read.trace"));
        stopEmulator();
        QVERIFY(!lines.isEmpty());
        QCOMPARE(lines.takeFirst(), QStringLiteral("VX308 traffic log; the passwords "
                                                   "(Text_pwdtarifas and Text_pwdrelogio, "
                                                   "addresses 0 to 3) are masked: their data "
                                                   "characters show as *"));
        // Header characters, data characters (a password's masked), checksum.
        static const QRegularExpression shape(
            QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} (sent     #AF|received !AF)[0-9A-F]{11}"
                           "[0-9A-F*]{12}[0-9A-F]{2}% {2}\\S"));
        for (const QString &l : lines)
            QVERIFY2(shape.match(l).hasMatch(), qPrintable(l));
        QVERIFY(lines.filter(QStringLiteral(" sent ")).size() ==
                lines.filter(QStringLiteral(" received ")).size());
        for (const char *expected :
             {"ReadMemory address 4 (Text_S00), 2 bytes: Text_S00 = 2,00",
              "ReadMemory address 55 (Text_total00), 3 bytes: Text_total00 = 1523,00",
              "ReadMemory address 43 (Text_numfab_num), 4 bytes: Text_numfab_num = 3, "
              "text_numfab_ano = A2415",
              "ReadClock ", "ReadBattery level 120", "WriteMemory address 91, 3 bytes"})
            QVERIFY2(!lines.filter(QLatin1String(expected)).isEmpty(), expected);
    }

    // The emulated timer's passwords (1234 and 4321) are read, and never
    // logged: not as values, not as the data characters of any frame that
    // carries a byte of them.
    void passwordsNeverInTrace()
    {
        startEmulator();
        const QStringList lines = tracedRead(QStringLiteral("passwords.trace"));
        stopEmulator();
        QVERIFY(!lines.isEmpty());
        int carriers = 0;
        for (const QString &l : lines.mid(1)) {
            const QString frame = l.mid(22, 29);
            QVERIFY2(!l.mid(22 + 29).contains(QLatin1String("1234")) &&
                         !l.mid(22 + 29).contains(QLatin1String("4321")),
                     qPrintable(l));
            const int command = hexByte(frame.mid(8, 2));
            const int address = hexByte(frame.mid(10, 2));
            const int count = hexByte(frame.mid(12, 2));
            const bool carries = command == 2 || (command == 1 && frame.startsWith('!'));
            for (int k = 0; carries && k < count && k < 6 && address + k <= 3; ++k) {
                QVERIFY2(frame.mid(14 + 2 * k, 2) == QLatin1String("**"), qPrintable(l));
                ++carriers;
            }
        }
        QVERIFY(carriers >= 4);
        QVERIFY(!lines.filter(QStringLiteral("Text_pwdtarifas = masked")).isEmpty());
        QVERIFY(!lines.filter(QStringLiteral("Text_pwdrelogio = masked")).isEmpty());
    }

    // A trace path that cannot be written: exit status 64 and a message that
    // names the file, and not one character on the line.
    void unwritableTrace_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("trace"); // in the test's folder unless absolute
        QTest::addColumn<QString>("says");
        const QStringList ctl{"read", "--device", "%1"};
        const QStringList maint{"--com", "1=%1"};
        for (const auto &[name, program, arguments] :
             {std::tuple{"vx308ctl", "app/vx308ctl", ctl},
              std::tuple{"vx308-maint", "app/vx308-maint", maint}}) {
            QTest::addRow("%s, no folder", name) << program << arguments << "no-such-folder/x.trace"
                                                 << "No such file";
            QTest::addRow("%s, /dev/full", name) << program << arguments << "/dev/full"
                                                 << "is a device, not a regular file";
            QTest::addRow("%s, FIFO", name) << program << arguments << "fifo.trace"
                                            << "is a FIFO, not a regular file";
        }
    }
    void unwritableTrace()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, trace);
        QFETCH(QString, says);
        const QString requests = m_dir.filePath(QStringLiteral("requests.log"));
        QFile::remove(requests);
        startEmulator({QStringLiteral("--log"), requests});
        arguments.last() = arguments.last().arg(m_link);
        if (!trace.startsWith('/')) trace = m_dir.filePath(trace);
        if (trace.endsWith("fifo.trace") && !QFileInfo::exists(trace))
            QCOMPARE(::mkfifo(QFile::encodeName(trace).constData(), 0600), 0);
        QProcess p;
        p.start(bin(program), arguments + QStringList{QStringLiteral("--trace"), trace});
        QVERIFY(p.waitForFinished(30000));
        const QByteArray err = p.readAllStandardError();
        QCOMPARE(p.exitCode(), 64);
        QVERIFY2(err.contains(trace.toUtf8()), err.constData());
        QVERIFY2(err.contains("cannot write the trace file") && err.contains(says.toUtf8()),
                 err.constData());
        stopEmulator();
        QFile log(requests);
        QVERIFY(!log.exists() || (log.open(QIODevice::ReadOnly) && log.readAll().isEmpty()));
    }

    // A trace that stops taking lines halfway (a full disk) stops the run
    // with the trace's status, naming the file: a problem report must not
    // miss frames without a word.
    void traceThatFillsUpStopsTheRun()
    {
        startEmulator({QStringLiteral("--no-pace")});
        const QString trace = m_dir.filePath(QStringLiteral("full.trace"));
        QProcess ctl;
        // Past 2 kB the writes fail with EFBIG, as they would with ENOSPC.
        ctl.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{2048, 2048};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        ctl.start(bin(QStringLiteral("app/vx308ctl")),
                  {QStringLiteral("read"), QStringLiteral("--device"), m_link,
                   QStringLiteral("--trace"), trace});
        QVERIFY(ctl.waitForFinished(60000));
        const QByteArray err = ctl.readAllStandardError();
        QCOMPARE(ctl.exitCode(), 64);
        QVERIFY2(err.contains("cannot write the trace file " + trace.toUtf8()), err.constData());
        QVERIFY(ctl.readAllStandardOutput().isEmpty());
        stopEmulator();
    }
};

VX_TEST_CLASS(TstCtlTrace, Core)
#include "tst_ctltrace.moc"
