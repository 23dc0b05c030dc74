// Guards the journal from the command line, end to end: the real vx308ctl
// against the real vx308-emulator over a pseudo-terminal. A value set is one
// row with how it was changed, a refused one none; a change, and the visit of
// its read, made while the shared records are down wait on the PC, are
// counted, and are listed once when they are back (the visit in the history
// and the takings), however often the records are reached afterwards.
#include "ctlharness.h"
#include "pgserver.h"
#include "testsuite.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

class TstCtlJournal : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_emu;
    QString m_link;
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();

    QString dataFolder(const char *name) const
    {
        const QString path = m_dir.filePath(QLatin1String(name));
        QDir().mkpath(path);
        return path;
    }
    CtlOutput ctl(const QStringList &args) const { return runCtl(args, m_env); }
    QJsonArray journal(const QStringList &args) const
    {
        const CtlOutput r = ctl(QStringList{"journal", "--json"} + args);
        if (r.status != 0) qWarning("journal: %s", r.err.constData());
        return QJsonDocument::fromJson(r.out).array();
    }
    // The unit's visits as `history` and `takings` count them.
    QList<int> visitsListed(const QString &data, const QString &uri) const
    {
        const CtlOutput history = ctl({"history", "--json", "--data", data, "--records", uri});
        const CtlOutput takings = ctl({"takings", "--json", "--data", data, "--records", uri});
        const QJsonArray units = QJsonDocument::fromJson(history.out).array();
        const QJsonArray taken =
            QJsonDocument::fromJson(takings.out).object().value("units").toArray();
        return {static_cast<int>(units.size()), units.at(0).toObject().value("visits").toInt(),
                static_cast<int>(taken.size()), taken.at(0).toObject().value("visits").toInt()};
    }
    QString tariffOnTimer() const
    {
        const CtlOutput r = ctl({"read", "--json", "--device", m_link});
        return QJsonDocument::fromJson(r.out).object().value("Text_S00").toString();
    }

private slots:
    void initTestCase()
    {
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        m_env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        m_link = m_dir.filePath(QStringLiteral("vx308"));
    }
    void cleanup() { QVERIFY(endEmulator(m_emu)); }

    void setIsJournaledRefusedIsNot()
    {
        const QString data = dataFolder("set");
        QVERIFY(launchEmulator(m_emu, m_link, {"--no-pace"}));
        const QString before = tariffOnTimer();
        const CtlOutput set = ctl(
            {"set", "Text_S00=1,75", "Text_contador=70000", "--device", m_link, "--data", data});
        QVERIFY2(set.status == 1, set.err.constData());
        const QJsonArray rows = journal({"--data", data});
        QCOMPARE(rows.size(), 1);
        const QJsonObject row = rows.at(0).toObject();
        QCOMPARE(row.value("field").toString(), QStringLiteral("Text_S00"));
        QCOMPARE(row.value("before").toString(), before);
        QCOMPARE(row.value("after").toString(), QStringLiteral("1,75"));
        QCOMPARE(row.value("how").toString(), QStringLiteral("vx308ctl set"));
        QVERIFY(!row.value("user").toString().isEmpty());
        const QString unit = row.value("manufacturing_number").toString();
        const CtlOutput csv = ctl({"journal", unit, "--csv", "--data", data});
        QCOMPARE(csv.status, 0);
        QCOMPARE(csv.out.trimmed().split('\n').size(), 2);
        QVERIFY(csv.out.startsWith("id,changed,manufacturing_number,"));
    }

    // A new unit's values are typed over a window whose application serial
    // reads "-"; the timer keeps its own, and so must every row of the unit.
    void newUnitRowsCarryTheTimersSerial()
    {
        const QString data = dataFolder("newunit");
        QVERIFY(launchEmulator(m_emu, m_link, {"--no-pace"}));
        const CtlOutput read = ctl({"read", "--json", "--device", m_link});
        const QString serial =
            QJsonDocument::fromJson(read.out).object().value("Text_sn_apl").toString();
        QVERIFY(!serial.isEmpty());
        const CtlOutput made = ctl({"new-unit", "--json", "--device", m_link, "--data", data});
        QVERIFY2(made.status == 0, made.err.constData());
        const QJsonArray rows = journal({"--data", data});
        QVERIFY(rows.size() > 10);
        for (const QJsonValue &r : rows) {
            QCOMPARE(r.toObject().value("how").toString(), QStringLiteral("new unit"));
            QCOMPARE(r.toObject().value("application_serial").toString(), serial);
        }
    }

    // The server stops, a value is changed: the timer holds it, the change
    // and the visit wait and are said to; with the server back they are
    // listed, once.
    void serverDownChangeWaitsThenListedOnce()
    {
        VX_PG_SERVER_OR_SKIP(server);
        QString database, error;
        QVERIFY2(server->createDatabase(&database, &error), qPrintable(error));
        const QString uri = server->uri(database);
        const QString data = dataFolder("server-down");
        QVERIFY(launchEmulator(m_emu, m_link, {"--no-pace"}));
        QCOMPARE(ctl({"units", "--data", data, "--records", uri}).status, 0);
        QVERIFY2(server->stop(&error), qPrintable(error));
        const CtlOutput set =
            ctl({"set", "Text_S00=2,25", "--device", m_link, "--data", data, "--records", uri});
        QVERIFY2(set.status == 0, set.err.constData());
        QVERIFY2(set.err.contains("records-outbox"), set.err.constData());
        QVERIFY2(set.err.contains("1 visit(s) waiting in"), set.err.constData());
        QCOMPARE(tariffOnTimer(), QStringLiteral("2,25"));
        const CtlOutput pending = ctl({"records", "pending", "--data", data});
        QVERIFY2(pending.err.contains("1 change(s) for the journal waiting"),
                 pending.err.constData());
        QVERIFY2(pending.err.contains("1 visit(s) for the service history waiting"),
                 pending.err.constData());

        QVERIFY2(server->start(&error), qPrintable(error));
        const QJsonArray rows = journal({"--data", data, "--records", uri});
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.at(0).toObject().value("after").toString(), QStringLiteral("2,25"));
        QCOMPARE(journal({"--data", data, "--records", uri}).size(), 1);
        const CtlOutput left = ctl({"records", "pending", "--data", data});
        QVERIFY(left.err.contains("0 change(s) for the journal waiting"));
        QVERIFY(left.err.contains("0 visit(s) for the service history waiting"));
        QCOMPARE(visitsListed(data, uri), (QList<int>{1, 1, 1, 1}));
        QCOMPARE(visitsListed(data, uri), (QList<int>{1, 1, 1, 1}));
    }
};

VX_TEST_CLASS(TstCtlJournal, Core)

#include "tst_ctljournal.moc"
