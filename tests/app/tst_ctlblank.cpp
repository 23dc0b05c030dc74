// A timer never set up (every memory byte 0) or erased (every byte 0xFF)
// through vx308ctl on records on a PostgreSQL server of the test's own, and
// that server stopped or refusing. Guards against a code byte that reaches a
// statement raw and cuts it (exit 10 for every unit), Qt's driver speaking on
// the technician's terminal, records on a server called a file, and two
// benches that give two blank timers the same numbers.
#include "ctlharness.h"
#include "pgserver.h"
#include "testsuite.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <array>

namespace {

// The lines of standard error that are Qt's SQL drivers' own, not the tool's.
QStringList driverLines(const QByteArray &err)
{
    static const QRegularExpression driver(
        QStringLiteral("^(QSql|QPSQL|QSQLITE|Unable to free statement|Unable to )"));
    QStringList found;
    for (const QString &line : QString::fromUtf8(err).split(QLatin1Char('\n')))
        if (driver.match(line).hasMatch()) found << line;
    return found;
}

#define VX_VERIFY_NO_DRIVER_LINES(err)                                                             \
    QVERIFY2(driverLines(err).isEmpty(), qPrintable(driverLines(err).join(QLatin1Char('\n'))))

void blankKinds()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("blank") << QStringLiteral("--blank");
    QTest::newRow("erased") << QStringLiteral("--erased");
}

} // namespace

class TstCtlBlank : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();

    QString folder(const QString &name) const
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(path);
        return path;
    }

private slots:
    void initTestCase()
    {
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        m_env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    }

    void serverAwaySaidOnce_data();
    void serverAwaySaidOnce();
    void blankTimerThroughEveryCommand_data() { blankKinds(); }
    void blankTimerThroughEveryCommand();
    void twoBenchesSixBlankTimersEach();
};

// Records that cannot be reached are named as the records at their URI, once
// a line of the tool's own, never as a file and never in the driver's words.
void TstCtlBlank::serverAwaySaidOnce_data()
{
    QTest::addColumn<bool>("stopped"); // else: a database the server does not have
    QTest::addColumn<QStringList>("command");
    QTest::newRow("stopped, new-unit") << true << QStringList{"new-unit"};
    QTest::newRow("stopped, history") << true << QStringList{"history"};
    QTest::newRow("refusing, new-unit") << false << QStringList{"new-unit"};
    QTest::newRow("refusing, units") << false << QStringList{"units"};
}

void TstCtlBlank::serverAwaySaidOnce()
{
    QFETCH(bool, stopped);
    QFETCH(QStringList, command);
    VX_PG_SERVER_OR_SKIP(pg);
    QString database, error;
    QVERIFY2(pg->createDatabase(&database, &error), qPrintable(error));
    const QString records = pg->uri(stopped ? database : database + QStringLiteral("_none"));
    const QString link = m_dir.filePath(QStringLiteral("vx308-away"));
    QProcess emulator;
    QVERIFY(launchEmulator(emulator, link, {"--no-pace", "--blank"}));

    if (stopped) QVERIFY2(pg->stop(&error), qPrintable(error));
    const CtlOutput r =
        runCtl(command + QStringList{"--device", link, "--data", folder(QStringLiteral("away")),
                                     "--records", records},
               m_env);
    if (stopped) QVERIFY2(pg->start(&error), qPrintable(error));
    QVERIFY(endEmulator(emulator));
    QCOMPARE(r.status, 10);
    VX_VERIFY_NO_DRIVER_LINES(r.err);
    QVERIFY2(r.err.contains("records at " + records.toUtf8()), r.err.constData());
    QVERIFY2(!r.err.contains("file postgresql"), r.err.constData());
}

// Every command a technician runs on a blank timer with shared records ends
// as documented, with nothing of the driver on standard error.
void TstCtlBlank::blankTimerThroughEveryCommand()
{
    QFETCH(QString, kind);
    VX_PG_SERVER_OR_SKIP(pg);
    QString database, error;
    QVERIFY2(pg->createDatabase(&database, &error), qPrintable(error));
    const QString records = pg->uri(database);
    const QString data = folder(QStringLiteral("every") + kind);
    const QString link = m_dir.filePath(QStringLiteral("vx308-every"));
    QProcess emulator;
    QVERIFY(launchEmulator(emulator, link, {"--no-pace", kind}));

    const QStringList common{"--device", link, "--data", data, "--records", records};
    const QList<QStringList> commands{
        {"new-unit", "--json"},
        {"clear", "--yes"},
        {"set", "Text_S00=1,50"},
        {"history"},
        {"journal"},
        {"takings"},
        {"records", "pending"},
    };
    for (const QStringList &command : commands) {
        const CtlOutput r = runCtl(command + common, m_env);
        QVERIFY2(r.status == 0,
                 qPrintable(command.join(' ') + QStringLiteral(": ") + QString::number(r.status) +
                            QLatin1Char('\n') + QString::fromUtf8(r.err)));
        VX_VERIFY_NO_DRIVER_LINES(r.err);
    }
    QVERIFY(endEmulator(emulator));
    QString out;
    QVERIFY2(
        pg->psql(database, QStringLiteral(R"(SELECT count(*) FROM "TbRegisto")"), &out, &error),
        qPrintable(error));
    QCOMPARE(out.trimmed(), QStringLiteral("1"));
}

// Two benches of one factory, each with its own data folder, give six blank
// timers each their numbers from one server, two at a time.
void TstCtlBlank::twoBenchesSixBlankTimersEach()
{
    VX_PG_SERVER_OR_SKIP(pg);
    QString database, error;
    QVERIFY2(pg->createDatabase(&database, &error), qPrintable(error));
    const QString records = pg->uri(database);
    const std::array<QString, 2> data{folder(QStringLiteral("bench-a")),
                                      folder(QStringLiteral("bench-b"))};
    QSet<QString> nfabs;
    QSet<int> nmecs;
    for (int round = 0; round < 6; ++round) {
        std::array<QProcess, 2> emulators;
        std::array<QProcess, 2> runs;
        for (size_t i = 0; i < runs.size(); ++i) {
            const QString link = m_dir.filePath(QStringLiteral("vx308-bench-%1").arg(i));
            QVERIFY(launchEmulator(emulators[i], link, {"--no-pace", "--blank"}));
            runs[i].setProcessEnvironment(m_env);
            runs[i].start(builtProgram("app/vx308ctl"), {"new-unit", "--json", "--device", link,
                                                         "--data", data[i], "--records", records});
        }
        for (size_t i = 0; i < runs.size(); ++i) {
            QVERIFY(runs[i].waitForFinished(60000));
            const QByteArray err = runs[i].readAllStandardError();
            QVERIFY(endEmulator(emulators[i]));
            QVERIFY2(runs[i].exitCode() == 0, err.constData());
            VX_VERIFY_NO_DRIVER_LINES(err);
            const QJsonObject unit =
                QJsonDocument::fromJson(runs[i].readAllStandardOutput()).object();
            nfabs.insert(unit.value("NFab").toString());
            nmecs.insert(unit.value("NMec").toInt());
        }
    }
    QCOMPARE(nfabs.size(), 12);
    QCOMPARE(nmecs.size(), 12);

    const CtlOutput listed =
        runCtl({"units", "--json", "--data", data[0], "--records", records}, m_env);
    QCOMPARE(listed.status, 0);
    VX_VERIFY_NO_DRIVER_LINES(listed.err);
    QSet<QString> logged;
    for (const QJsonValue &row : QJsonDocument::fromJson(listed.out).array())
        logged.insert(row.toObject().value("NFab").toString());
    QCOMPARE(logged, nfabs);
}

VX_TEST_CLASS(TstCtlBlank, Core)
#include "tst_ctlblank.moc"
