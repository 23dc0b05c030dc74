// Guards the command-line tool end to end: the real vx308ctl against the real
// vx308-emulator over a pseudo-terminal. What it prints must be what the
// device holds, what it sets must end up in the device's memory, and a silent
// device or bad arguments must give the documented exit status.
#include "ctlharness.h"
#include "qtserialport.h"
#include "testsuite.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <array>

class TstCtl : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_emu;
    QString m_link;

    static QString bin(const char *rel) { return builtProgram(rel); }

    using Output = CtlOutput;
    static Output ctl(const QStringList &args, const QString &language = QStringLiteral("C"))
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), language);
        return runCtl(args, env);
    }

    void startEmulator(const QStringList &extra = {})
    {
        m_link = m_dir.filePath(QStringLiteral("vx308"));
        // Answers at once rather than at the pace of the cable: the exchanges
        // are the same, the read takes milliseconds instead of seconds.
        QVERIFY(launchEmulator(
            m_emu, m_link, QStringList{"--save", m_dir.filePath("mem.json"), "--no-pace"} + extra));
    }
    void stopEmulator() { QVERIFY(endEmulator(m_emu)); }
    QJsonObject savedMemory()
    {
        QFile f(m_dir.filePath("mem.json"));
        f.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(f.readAll()).object();
    }

private slots:
    void readSetClear()
    {
        startEmulator();
        Output r = ctl({"read", "--device", m_link, "--json"});
        QCOMPARE(r.status, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QVERIFY(o.contains("Text_S00"));
        QVERIFY(o.value("title").toString().startsWith(QStringLiteral("Manutenção VX308 v3.5.")));
        for (const QString &k : o.keys())
            QVERIFY2(o.value(k).toString() != "-" || k == "Text_ibutsn", qPrintable(k));

        r = ctl(
            {"set", "Text_S00=1,50", "Text_contador=77", "Check_contador=0", "--device", m_link});
        QCOMPARE(r.status, 0);
        r = ctl({"set", "Text_prog=300", "--device", m_link});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("Text_prog"));

        r = ctl({"clear", "--device", m_link, "--json", "--yes", "--data", m_dir.path()});
        QCOMPARE(r.status, 0);
        // Where the values went before the erase, to find them again: the
        // records, here the data folder's own.
        const QString records = m_dir.filePath("Registo.db");
        QVERIFY2(r.err.contains(
                     QStringLiteral("%1, table ServiceSnapshots, row 1").arg(records).toUtf8()),
                 r.err.constData());
        const QJsonObject after = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(after.value("Text_contador").toString(), QStringLiteral("0"));
        QCOMPARE(after.value("Text_S00").toString(), QStringLiteral("1,50"));
        QCOMPARE(after.value("Text_acumulado").toString(), o.value("Text_acumulado").toString());
        stopEmulator();

        const QJsonArray memory = savedMemory().value("memory").toArray();
        QCOMPARE(memory.size(), 256);
        QCOMPARE(memory.at(4).toInt() + 256 * memory.at(5).toInt(), 150);
        QCOMPARE(memory.at(25).toInt(), 0);
        for (int a = 53; a <= 74; ++a)
            QCOMPARE(memory.at(a).toInt(), 0);
    }

    // A silent timer and one that answers garbage need different fixes
    // (cable and power, against device and line): the message tells them
    // apart, with the counts. Each run waits out its time limit, so the three
    // run side by side, each on a timer of its own.
    void silentOrWrongDevice()
    {
        struct Case
        {
            const char *failure, *language;
            int status;
            const char *says;
        };
        const std::array<Case, 3> cases{{{"--no-reply", "C", 6, "does not answer. Check the cable"},
                                         {"--bad-checksum", "C", 7, "every reply is rejected"},
                                         {"--no-reply", "pt_PT.UTF-8", 6, "não responde"}}};
        std::array<QProcess, 3> timers, runs;
        QStringList links;
        for (size_t k = 0; k < cases.size(); ++k) {
            links << m_dir.filePath(QStringLiteral("silent-%1").arg(k));
            QVERIFY(launchEmulator(timers[k], links.last(), {"--no-pace", cases[k].failure}));
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("LC_ALL"), QLatin1String(cases[k].language));
            runs[k].setProcessEnvironment(env);
            runs[k].start(bin("app/vx308ctl"),
                          {"read", "--device", links.last(), "--timeout", "2"});
        }
        for (size_t k = 0; k < cases.size(); ++k) {
            QVERIFY(runs[k].waitForFinished(60000));
            const QByteArray err = runs[k].readAllStandardError();
            QVERIFY2(runs[k].exitCode() == cases[k].status, err.constData());
            QVERIFY2(err.contains(cases[k].says) && err.contains(links.at(int(k)).toUtf8()),
                     err.constData());
            QVERIFY(endEmulator(timers[k]));
        }
    }

    // Clear must not zero a unit's takings unasked, nor without its values
    // stored first: either way the timer keeps every value.
    void clearRefused_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<bool>("foreignSnapshots");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("sem --yes") << QStringList{} << false << 8 << "add --yes";
        QTest::newRow("registo impossivel")
            << QStringList{"--yes"} << true << 9 << "nothing was zeroed";
    }
    void clearRefused()
    {
        QFETCH(QStringList, extra);
        QFETCH(bool, foreignSnapshots);
        QFETCH(int, status);
        QFETCH(QString, says);
        QTemporaryDir data;
        if (foreignSnapshots) {
            QFile f(data.filePath("Registo.db"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a database");
        }
        startEmulator();
        const Output before = ctl({"read", "--device", m_link, "--json"});
        QCOMPARE(before.status, 0);
        const Output r =
            ctl(QStringList{"clear", "--device", m_link, "--data", data.path()} + extra);
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains(says.toUtf8()), r.err.constData());
        const Output after = ctl({"read", "--device", m_link, "--json"});
        stopEmulator();
        const QJsonObject o = QJsonDocument::fromJson(before.out).object();
        const QJsonObject p = QJsonDocument::fromJson(after.out).object();
        for (const char *field : {"Text_total00", "Text_contador", "Text_aberturas", "Text_power"})
            QCOMPARE(p.value(field).toString(), o.value(field).toString());
        QCOMPARE(QFile::exists(data.filePath("Registo.db")), foreignSnapshots);
    }

    // On a terminal Clear shows what it will zero and waits for the answer:
    // anything but yes sends nothing.
    void terminalAsks_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("status");
        QTest::newRow("nao") << QByteArray("no\n") << 8;
        QTest::newRow("sim") << QByteArray("yes\n") << 0;
    }
    void terminalAsks()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, status);
        const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
        if (script.isEmpty()) QSKIP("needs script(1) to give vx308ctl a terminal");
        QTemporaryDir data;
        startEmulator();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        p.setProcessEnvironment(env);
        p.start(script, {"-qec",
                         QStringLiteral("%1 clear --device %2 --data %3")
                             .arg(bin("app/vx308ctl"), m_link, data.path()),
                         "/dev/null"});
        QVERIFY(p.waitForStarted());
        p.write(answer);
        QVERIFY(p.waitForFinished(60000));
        stopEmulator();
        const QByteArray out = p.readAll();
        QCOMPARE(p.exitCode(), status);
        QVERIFY2(out.contains("These values go to zero in the timer:") &&
                     out.contains("Type yes to go ahead"),
                 out.constData());
        QCOMPARE(QFile::exists(data.filePath("Registo.db")), status == 0);
    }

    // A port that is not there and one another program holds: each its
    // own status and words.
    void portTrouble()
    {
        const Output missing = ctl({"read", "--device", m_dir.filePath("ttyNothing")});
        QCOMPARE(missing.status, 3);
        QVERIFY2(missing.err.contains("does not exist"), missing.err.constData());
        startEmulator();
        vx::PortMap map;
        map.set(1, m_link);
        vx::QtSerialPort holder(map);
        QVERIFY(holder.open());
        const Output busy = ctl({"read", "--device", m_link, "--timeout", "5"});
        QCOMPARE(busy.status, 5);
        QVERIFY2(busy.err.contains("held by another program"), busy.err.constData());
        holder.close();
        stopEmulator();
    }

    void arguments()
    {
        QCOMPARE(ctl({"read"}).status, 64);
        QCOMPARE(ctl({"bogus", "--port", "1"}).status, 64);
        QCOMPARE(ctl({"set", "Text_nada=1", "--port", "1"}).status, 64);
        QCOMPARE(ctl({"read", "--port", "x"}).status, 64);
        // Seconds that would overflow as milliseconds are refused up front.
        QCOMPARE(ctl({"read", "--port", "1", "--timeout", "3000000"}).status, 64);
        const Output unknown = ctl({"read", "--port", "1", "--fast"});
        QCOMPARE(unknown.status, 64);
        QVERIFY2(unknown.err.contains("fast") && unknown.err.contains("usage:"),
                 unknown.err.constData());
        // Asked for, usage and version go to standard output with success.
        const Output help = ctl({"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.startsWith("usage: vx308ctl"));
        for (const char *status :
             {" 3  the port does not exist", " 4  no permission", " 5  the port is held",
              " 6  the timer does not answer", " 7  only rejected replies",
              " 8  clear not confirmed", " 9  the values could not be stored",
              " 10  the records cannot be used", " 11  records import refused"})
            QVERIFY2(help.out.contains(status), status);
        const Output version = ctl({"--version"});
        QCOMPARE(version.status, 0);
        QCOMPARE(version.out, QByteArray("vx308ctl " VX_VERSION "\n"));
    }
};

VX_TEST_CLASS(TstCtl, Core)
#include "tst_ctl.moc"
