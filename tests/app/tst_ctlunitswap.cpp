// Guards vx308ctl against another timer put on the line during a run: the
// cable is moved from the unit that was read to the next one while `clear`
// waits for its "yes". Nothing of the first unit may be written into the
// second and nothing of it erased; the run stops with its own status.
#include "ctlharness.h"
#include "device.h"
#include "deviceimage.h"
#include "testsuite.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TstCtlUnitSwap : public QObject
{
    Q_OBJECT

private slots:
    void clearStopsWhenTheUnitChanged()
    {
        QTemporaryDir dir;
        vx::emu::Device other;
        other.loadDefaultMemory();
        other.setNumber(96, 3, 153677);
        other.setByte(43, 9);
        other.setNumber(4, 2, 275);
        for (int a = 100; a <= 179; ++a)
            other.setByte(a, 0x33);
        QString error;
        const QString otherFile = dir.filePath(QStringLiteral("other.json"));
        QVERIFY2(vx::emu::DeviceImage::of(other).save(otherFile, &error), qPrintable(error));

        const QString link = dir.filePath(QStringLiteral("vx308"));
        QProcess emulator;
        QVERIFY(launchEmulator(emulator, link, {"--no-pace"}));

        // clear asks only on a terminal: script(1) gives it one.
        QProcess ctl;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        ctl.setProcessEnvironment(env);
        const QString command = QStringList{builtProgram("app/vx308ctl"),
                                            "clear",
                                            "--device",
                                            link,
                                            "--data",
                                            dir.path(),
                                            "--timeout",
                                            "60"}
                                    .join(QLatin1Char(' '));
        ctl.start(QStringLiteral("script"), {"-qec", command, "/dev/null"});
        QVERIFY(ctl.waitForStarted());
        QByteArray question;
        while (!question.contains("yes")) {
            QVERIFY2(ctl.waitForReadyRead(30000), question.constData());
            question += ctl.readAllStandardOutput();
        }
        // The cable goes to the other timer, on the same line.
        QVERIFY(endEmulator(emulator));
        QProcess next;
        QVERIFY(launchEmulator(
            next, link,
            {"--no-pace", "--memory", otherFile, "--save", dir.filePath("after.json")}));
        ctl.write("yes\n");
        ctl.closeWriteChannel();
        QVERIFY(ctl.waitForFinished(60000));
        const QByteArray err = ctl.readAllStandardOutput();
        QCOMPARE(ctl.exitCode(), 12);
        QVERIFY2(err.contains("153677") && err.contains("changed"), err.constData());
        QVERIFY(endEmulator(next));

        const auto after = vx::emu::DeviceImage::load(dir.filePath("after.json"), &error);
        QVERIFY2(after && after->memory, qPrintable(error));
        for (int a = 0; a < 256; ++a)
            if (a < 91 || a > 95) QCOMPARE((*after->memory)[size_t(a)], other.byte(a));
    }
};

VX_TEST_CLASS(TstCtlUnitSwap, Core)
#include "tst_ctlunitswap.moc"
