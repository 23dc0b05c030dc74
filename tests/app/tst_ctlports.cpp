// Guards `vx308ctl ports` and the progress bar: the port list is a JSON array
// of objects with the four fields a script reads, bad arguments exit 64, and
// the progress bar reaches a terminal but never a pipe or a log file, where
// its carriage returns would garble what a script or a technician reads.
#include "testsuite.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

class TstCtlPorts : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QString bin(const char *rel)
    {
        return QStringLiteral(VX_BINARY_DIR "/") + QLatin1String(rel);
    }

    struct Output
    {
        int status;
        QByteArray out, err;
    };
    static Output ctl(const QStringList &args, const QString &stderrFile = {})
    {
        QProcess p;
        if (!stderrFile.isEmpty()) p.setStandardErrorFile(stderrFile);
        p.start(bin("app/vx308ctl"), args);
        if (!p.waitForFinished(60000)) return {-1, {}, {}};
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }

    // A read of an emulated timer, with standard error on `stderrFile`
    // (empty: a pipe). What reached standard error.
    QByteArray readWithStderrOn(const QString &stderrFile, int *status)
    {
        QProcess emulator;
        const QString link = m_dir.filePath(QStringLiteral("vx308"));
        emulator.start(bin("emulator/vx308-emulator"), {"--link", link, "--no-pace"});
        if (!emulator.waitForReadyRead(10000)) return "emulator did not start";
        const Output r = ctl({"read", "--device", link}, stderrFile);
        emulator.terminate();
        emulator.waitForFinished(10000);
        *status = r.status;
        return r.err;
    }

private slots:
    void listIsJsonArray()
    {
        const Output r = ctl({"ports", "--json"});
        QCOMPARE(r.status, 0);
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QVERIFY(doc.isArray());
        for (const QJsonValue &v : doc.array())
            for (const char *key : {"path", "description", "manufacturer", "serialNumber"})
                QVERIFY2(v.toObject().contains(QLatin1String(key)), key);
        QVERIFY(r.err.isEmpty());
    }

    // --probe names the port a timer answers on, and only that one.
    void probeFindsTimer_data()
    {
        QTest::addColumn<QString>("emulatorOption");
        QTest::addColumn<bool>("answers");
        QTest::newRow("responde") << QString() << true;
        QTest::newRow("mudo") << "--no-reply" << false;
    }

    void probeFindsTimer()
    {
        QFETCH(QString, emulatorOption);
        QFETCH(bool, answers);
        QProcess emulator;
        const QString link = m_dir.filePath(QStringLiteral("probe"));
        QStringList args{"--link", link, "--no-pace"};
        if (!emulatorOption.isEmpty()) args << emulatorOption;
        emulator.start(bin("emulator/vx308-emulator"), args);
        QVERIFY(emulator.waitForReadyRead(10000));
        const Output r = ctl({"ports", "--probe", "--json", "--device", link});
        emulator.terminate();
        emulator.waitForFinished(10000);
        QCOMPARE(r.status, 0);
        QJsonObject entry;
        for (const QJsonValue &v : QJsonDocument::fromJson(r.out).array())
            if (v.toObject().value("path").toString() == link) entry = v.toObject();
        QVERIFY2(!entry.isEmpty(), r.out.constData());
        QCOMPARE(entry.value("timer").toBool(), answers);
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("texto") << QStringList{"ports"} << 0;
        QTest::newRow("argumento a mais") << QStringList{"ports", "extra"} << 64;
        QTest::newRow("opcao desconhecida") << QStringList{"ports", "--probes"} << 64;
    }

    void badArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QCOMPARE(ctl(args).status, status);
    }

    void noProgressOnPipe()
    {
        int status = -1;
        const QByteArray err = readWithStderrOn({}, &status);
        QCOMPARE(status, 0);
        QVERIFY2(!err.contains('\r') && !err.contains("reading"), err.constData());
    }

    void progressOnTerminal()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString terminal = QString::fromLocal8Bit(::ptsname(master));
        int status = -1;
        readWithStderrOn(terminal, &status);
        QCOMPARE(status, 0);
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        QByteArray seen;
        char buffer[4096];
        for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
            seen.append(buffer, n);
        ::close(master);
        QVERIFY2(seen.contains("\r[") && seen.contains("reading"), seen.constData());
        // The bar ends complete: every step of the read counted.
        const QRegularExpression last(QStringLiteral("(\\d+)/(\\d+) reading\\s*\\r?\\n"));
        const auto m = last.match(QString::fromLatin1(seen));
        QVERIFY2(m.hasMatch(), seen.constData());
        QCOMPARE(m.captured(1), m.captured(2));
    }
};

VX_TEST_CLASS(TstCtlPorts, Core)
#include "tst_ctlports.moc"
