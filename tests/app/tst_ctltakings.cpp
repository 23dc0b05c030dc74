// Guards `vx308ctl takings` as a script reads it: one line (or object, or CSV
// row) per unit visited in the period with its takings added up across a
// Clear and money as the window writes it, the signs named, and a period that
// is not one refused before the records are touched.
#include "ctlharness.h"
#include "fixedclock.h"
#include "qtrecordsdatabase.h"
#include "servicehistory.h"
#include "testsuite.h"
#include "unitrecords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A snapshot of the unit's takings as the service history keeps it.
vx::Snapshot takingsSnapshot(const QString &unit, const QDateTime &taken, vx::Snapshot::Reason why,
                             const QString &accumulated, const QString &band00,
                             const QString &games)
{
    vx::Snapshot s;
    s.reason = why;
    s.manufacturingNumber = unit;
    s.applicationSerial = QStringLiteral("77");
    s.taken = taken;
    s.host = QStringLiteral("bancada-1");
    s.values = {{"Text_acumulado", accumulated},
                {"Text_total00", band00},
                {"Text_aberturas", games},
                {"Text_power", "0"}};
    return s;
}

} // namespace

class TstCtlTakings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();

    CtlOutput takings(const QStringList &args) const
    {
        return runCtl(QStringList{"takings", "--data", m_dir.path()} + args, m_env);
    }

private slots:
    void initTestCase()
    {
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        m_env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        vx::QtRecordsDatabase db(vx::RecordsLocation::sqliteFile(m_dir.filePath("Registo.db")),
                                 vx::QtRecordsDatabase::Mode::CreateIfMissing);
        QString error;
        QVERIFY2(vx::UnitRecords(db).prepare(&error), qPrintable(error));
        const vx::FixedClock clock;
        vx::ServiceHistory history(db, clock, QStringLiteral("bancada-1"));
        using R = vx::Snapshot::Reason;
        const QDate d(2026, 3, 2);
        const QList<vx::Snapshot> visits{
            takingsSnapshot("A26101", QDateTime(d, QTime(9, 0)), R::Read, "100,00", "10,00", "5"),
            takingsSnapshot("A26101", QDateTime(d.addDays(30), QTime(9, 0)), R::Clear, "130,00",
                            "40,00", "9"),
            takingsSnapshot("A26101", QDateTime(d.addDays(60), QTime(9, 0)), R::Read, "160,00",
                            "30,00", "4"),
            takingsSnapshot("A26102", QDateTime(d, QTime(10, 0)), R::Read, "900,00", "50,00", "8"),
            takingsSnapshot("A26102", QDateTime(d.addDays(30), QTime(10, 0)), R::Read, "850,00",
                            "1,00", "1"),
            // Outside the period asked for below.
            takingsSnapshot("A26103", QDateTime(d.addYears(-1), QTime(10, 0)), R::Read, "1,00",
                            "1,00", "1")};
        for (const vx::Snapshot &s : visits)
            QVERIFY2(history.store(s, nullptr, &error), qPrintable(error));
    }

    void textTable()
    {
        const CtlOutput r = takings({"--from", "2026-01-01", "--to", "2026-12-31"});
        QVERIFY2(r.status == 0, r.err.constData());
        const QList<QByteArray> lines = r.out.split('\n');
        QVERIFY2(lines[0].startsWith("manufacturing_number\tapplication_serial\tvisits\tclears\t"
                                     "accumulated_first\taccumulated_last\ttakings\ttotal00\t"),
                 lines[0].constData());
        QVERIFY2(lines[1].startsWith("A26101\t77\t3\t1\t100,00\t160,00\t60,00\t60,00\t"),
                 lines[1].constData());
        QVERIFY2(lines[2].startsWith("A26102\t77\t2\t0\t900,00\t850,00\t0,00\t1,00\t"),
                 lines[2].constData());
        QVERIFY2(lines[2].endsWith("\ttotal down; reset without Clear"), lines[2].constData());
        QVERIFY2(lines[3].startsWith("total\t\t5\t1\t1000,00\t1010,00\t60,00\t61,00\t"),
                 lines[3].constData());
        QVERIFY(r.out.contains("A26102/77: 01-04-2026: the accumulated takings went down from "
                               "900,00 to 850,00\n"));
        QVERIFY(!r.out.contains("A26103"));
    }

    void jsonAndCsv()
    {
        const CtlOutput json = takings({"--from", "2026-01-01", "--to", "2026-12-31", "--json"});
        QVERIFY2(json.status == 0, json.err.constData());
        const QJsonObject o = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(o.value("from").toString(), QStringLiteral("2026-01-01"));
        const QJsonArray units = o.value("units").toArray();
        QCOMPARE(units.size(), 2);
        const QJsonObject first = units[0].toObject();
        QCOMPARE(first.value("takings").toString(), QStringLiteral("60,00"));
        QCOMPARE(first.value("games").toInt(), 8);
        QCOMPARE(first.value("bands").toObject().value("Text_total00").toString(),
                 QStringLiteral("60,00"));
        const QJsonArray signs = units[1].toObject().value("signs").toArray();
        QCOMPARE(signs.size(), 3); // the total, a band and the games went down
        QCOMPARE(signs[0].toObject().value("kind").toString(), QStringLiteral("total_down"));
        QCOMPARE(o.value("total").toObject().value("visits").toInt(), 5);

        const CtlOutput csv = takings({"--from", "2026-01-01", "--to", "2026-12-31", "--csv"});
        QVERIFY2(csv.status == 0, csv.err.constData());
        const QList<QByteArray> rows = csv.out.trimmed().split('\n');
        QCOMPARE(rows.size(), 3);
        QVERIFY2(rows[1].startsWith("A26101,77,2026-03-02T09:00:00,2026-05-01T09:00:00,3,1,"
                                    "\"100,00\",\"160,00\",\"60,00\""),
                 rows[1].constData());
    }

    // A period that is not one, or options of another command, are said
    // with the status of bad arguments.
    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("says");
        QTest::newRow("not a date") << QStringList{"--from", "2026-13-01"} << "yyyy-MM-dd";
        QTest::newRow("backwards")
            << QStringList{"--from", "2026-05-01", "--to", "2026-04-01"} << "is after";
        QTest::newRow("csv and json") << QStringList{"--csv", "--json"} << "cannot be used";
        QTest::newRow("a unit") << QStringList{"A26101"} << "unexpected argument";
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, says);
        const CtlOutput r = takings(args);
        QCOMPARE(r.status, 64);
        QVERIFY2(r.err.contains(says.toUtf8()), r.err.constData());
        const CtlOutput other =
            runCtl({"history", "--to", "2026-01-01", "--data", m_dir.path()}, m_env);
        QCOMPARE(other.status, 64);
    }
};

VX_TEST_CLASS(TstCtlTakings, Core)
#include "tst_ctltakings.moc"
