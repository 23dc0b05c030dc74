// Guards several benches sharing one set of unit records, end to end: two
// vx308ctl new-unit started together, each against its own vx308-emulator
// over a pseudo-terminal, on one PostgreSQL database of the test's own server
// (and on one SQLite file in a shared data folder). Each timer must get a
// manufacturing number of its own and the log both units, once each. A server
// that is away must stop new-unit before the timer is touched, with exit
// status 10 and the server named, and the bench must work once it is back.
#include "ctlharness.h"
#include "databases.h"
#include "pgserver.h"
#include "testsuite.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <array>

class TstCtlBenches : public QObject
{
    Q_OBJECT

    struct Bench
    {
        QProcess emulator;
        QString link;
        QString data;
    };

    QTemporaryDir m_dir;
    std::array<Bench, 2> m_benches;
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();

    void startEmulators()
    {
        for (size_t i = 0; i < m_benches.size(); ++i) {
            Bench &b = m_benches[i];
            b.link = m_dir.filePath(QStringLiteral("vx308-%1").arg(i + 1));
            QVERIFY(launchEmulator(b.emulator, b.link, {"--no-pace"}));
        }
    }
    void stopEmulators()
    {
        for (Bench &b : m_benches)
            QVERIFY(endEmulator(b.emulator));
    }
    QString folder(const QString &name) const
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(path);
        return path;
    }
    // The timer's manufacturing number as the log writes it.
    QString timerNumber(const Bench &b) const
    {
        const CtlOutput r = runCtl({"read", "--json", "--device", b.link}, m_env);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        return o.value("text_numfab_ano").toString() + QLatin1Char('/') +
               QString::number(o.value("Text_numfab_num").toString().toInt());
    }
    static QString logNumber(const QString &nfab)
    {
        return nfab.left(5) + QLatin1Char('/') + QString::number(nfab.mid(5).toInt());
    }
    QStringList newUnitArgs(const Bench &b, const QString &records) const
    {
        QStringList args{"new-unit", "--json", "--device", b.link, "--data", b.data};
        if (!records.isEmpty()) args << "--records" << records;
        return args;
    }

private slots:
    void initTestCase()
    {
        // The user's kept choice of records is this test's own.
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        m_env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    }
    // A case that failed half-way leaves no timer running for the next.
    void cleanup() { stopEmulators(); }

    void twoBenchesAtOnce_data()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("one Registo.db") << false;
        QTest::newRow("one PostgreSQL database") << true;
    }
    void twoBenchesAtOnce()
    {
        QFETCH(bool, server);
        QString records;
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
        if (server) {
            VX_PG_SERVER_OR_SKIP(pg);
            QString database, error;
            QVERIFY2(pg->createDatabase(&database, &error), qPrintable(error));
            records = pg->uri(database);
        }
        for (size_t i = 0; i < m_benches.size(); ++i)
            m_benches[i].data = folder(server ? tag + QString::number(i) : tag);
        if (!server) {
            // Two benches of one PC, after the window's first start made the
            // folder's files: the log is what they share.
            vx::Databases databases(m_benches[0].data);
            QString error;
            QVERIFY2(databases.provision(nullptr, &error), qPrintable(error));
        }
        startEmulators();

        std::array<QProcess, 2> runs;
        for (size_t i = 0; i < runs.size(); ++i) {
            runs[i].setProcessEnvironment(m_env);
            runs[i].start(builtProgram("app/vx308ctl"), newUnitArgs(m_benches[i], records));
        }
        QStringList nfabs;
        QList<int> nmecs;
        for (size_t i = 0; i < runs.size(); ++i) {
            QVERIFY(runs[i].waitForFinished(60000));
            QVERIFY2(runs[i].exitCode() == 0, runs[i].readAllStandardError().constData());
            const QJsonObject unit =
                QJsonDocument::fromJson(runs[i].readAllStandardOutput()).object();
            nfabs << unit.value("NFab").toString();
            nmecs << unit.value("NMec").toInt();
            QCOMPARE(timerNumber(m_benches[i]), logNumber(nfabs.last()));
        }
        stopEmulators();
        QVERIFY2(nfabs.at(0) != nfabs.at(1), qPrintable(nfabs.join(' ')));
        std::sort(nmecs.begin(), nmecs.end());
        QCOMPARE(nmecs, (QList<int>{1, 2}));

        QStringList units{"units", "--json", "--data", m_benches[0].data};
        if (server) units << "--records" << records;
        const CtlOutput listed = runCtl(units, m_env);
        QCOMPARE(listed.status, 0);
        QStringList logged;
        for (const QJsonValue &row : QJsonDocument::fromJson(listed.out).array())
            logged << row.toObject().value("NFab").toString();
        logged.sort();
        nfabs.sort();
        QCOMPARE(logged, nfabs);
    }

    // The server stops between two units; the bench's next new-unit writes
    // nothing to its timer, and works again once the server is back.
    void serverAwayStopsNewUnit()
    {
        VX_PG_SERVER_OR_SKIP(pg);
        QString database, error;
        QVERIFY2(pg->createDatabase(&database, &error), qPrintable(error));
        const QString records = pg->uri(database);
        Bench &bench = m_benches[0];
        bench.data = folder(QStringLiteral("away"));
        startEmulators();
        const CtlOutput first = runCtl(newUnitArgs(bench, records), m_env);
        QVERIFY2(first.status == 0, first.err.constData());
        const QString before = timerNumber(bench);

        QVERIFY2(pg->stop(&error), qPrintable(error));
        const CtlOutput away = runCtl(newUnitArgs(bench, records), m_env);
        QVERIFY2(pg->start(&error), qPrintable(error));
        QCOMPARE(away.status, 10);
        QVERIFY2(away.err.contains(database.toUtf8()), away.err.constData());
        QCOMPARE(timerNumber(bench), before);

        const CtlOutput back = runCtl(newUnitArgs(bench, records), m_env);
        stopEmulators();
        QVERIFY2(back.status == 0, back.err.constData());
        QCOMPARE(QJsonDocument::fromJson(back.out).object().value("NMec").toInt(), 2);
    }
};

VX_TEST_CLASS(TstCtlBenches, Core)
#include "tst_ctlbenches.moc"
