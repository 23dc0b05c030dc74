// Guards Clear's safety net: before the erase is asked for, every value of
// the unit must be in the service history, one snapshot per Clear, findable
// by the unit's manufacturing number and application serial, with when and
// where it was taken; and when it cannot be stored (the records file is not
// a database, another program holds it, the folder is gone) the erase must
// not be asked for.
#include "clearsnapshots.h"
#include "clock.h"
#include "datafolder.h"
#include "editset.h"
#include "fixedclock.h"
#include "messages.h"
#include "recordingmessages.h"
#include "servicehistory.h"
#include "testsuite.h"

#include <QTest>

using namespace vx;

class TstClearSnapshots : public QObject
{
    Q_OBJECT

    // A unit as a read leaves the window.
    static void fillAsRead(EditSet &edit, const QString &number, const QString &totals)
    {
        edit.session.modo = 0; // no numeric check while filling
        for (const QString &f : EditSet::clearedFields())
            if (!f.startsWith(QLatin1String("Check_"))) edit.setText(f, QStringLiteral("7"));
        edit.setText(QStringLiteral("text_numfab_ano"), QStringLiteral("A0705"));
        edit.setText(QStringLiteral("Text_numfab_num"), number);
        edit.setText(QStringLiteral("Text_sn_apl"), QStringLiteral("4711"));
        edit.setText(QStringLiteral("Text_total08"), totals);
        edit.setText(QStringLiteral("Text_acumulado"), QStringLiteral("999,00"));
        edit.setText(QStringLiteral("Text_rtc_data"), QStringLiteral("01-12-2026"));
        edit.setChecked(QStringLiteral("Check_contador"), true);
        edit.lowerAll();
        edit.alteracao_pendente = false;
        edit.session.modo = 2;
        edit.setEnabled(QStringLiteral("Command_clear"), true);
    }

private slots:
    void rowPerClearWithEveryValue()
    {
        DataFolder data;
        QVERIFY2(data.provisioned, qPrintable(data.error));
        RecordingMessages messages;
        EditSet edit(messages);
        FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(17, 5, 30)));
        ServiceHistory history(data.recordsDatabase, clock, QStringLiteral("bancada-3"));
        ClearSnapshots snapshots(history);
        const QString file = data.databases.logFile();

        fillAsRead(edit, QStringLiteral("12"), QStringLiteral("12,50"));
        SnapshotPlace first;
        QString error;
        QVERIFY2(snapshots.store(edit, &first, &error), qPrintable(error));
        QCOMPARE(first.where, QDir::toNativeSeparators(file));
        QCOMPARE(first.row, 1);

        fillAsRead(edit, QStringLiteral("13"), QStringLiteral("3,00"));
        SnapshotPlace second;
        QVERIFY(snapshots.store(edit, &second, &error));
        QCOMPARE(second.row, 2);

        QList<Snapshot> visits;
        QVERIFY2(history.visits("A070512", "4711", &visits, &error), qPrintable(error));
        QCOMPARE(visits.size(), 1);
        const Snapshot &s = visits.first();
        QCOMPARE(s.reason, Snapshot::Reason::Clear);
        QCOMPARE(s.taken, QDateTime(QDate(2026, 12, 9), QTime(17, 5, 30)));
        QCOMPARE(s.host, QStringLiteral("bancada-3"));
        QCOMPARE(s.values.value("Text_total08"), QStringLiteral("12,50"));
        QCOMPARE(s.values.value("Text_acumulado"), QStringLiteral("999,00"));
        QCOMPARE(s.values.value("Check_contador"), QStringLiteral("1"));
        QCOMPARE(s.values.value("Check_ibut"), QStringLiteral("0"));
        QCOMPARE(s.values.value("Text_rtc_data"), QStringLiteral("01-12-2026"));
        // Every value a read fills is kept.
        QCOMPARE(s.values.size(), ServiceHistory::valueFields().size());
        QVERIFY(history.visits("A070513", "", &visits, &error));
        QCOMPARE(visits.size(), 1);
        QCOMPARE(visits.first().values.value("Text_total08"), QStringLiteral("3,00"));
        // The history of a unit is looked up through the index on its keys.
        const auto plan = DataFolder::sql(
            file, {"EXPLAIN QUERY PLAN SELECT * FROM ServiceSnapshots WHERE "
                   "manufacturing_number = 'A070512' AND application_serial = '4711'"});
        QVERIFY(!plan.isEmpty());
        QVERIFY2(plan.last().last().toString().contains("ServiceSnapshots_unit"),
                 qPrintable(plan.last().last().toString()));
        // The log was not touched.
        QCOMPARE(DataFolder::count(file, "TbRegisto"), 0);
    }

    void noSnapshotNoClear_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("nao e base de dados") << "foreign";
        QTest::newRow("bloqueado") << "locked";
        QTest::newRow("pasta inexistente") << "missing folder";
    }
    void noSnapshotNoClear()
    {
        QFETCH(QString, how);
        DataFolder data(false);
        const QString file = how == "missing folder" ? data.dir.filePath("nowhere/Registo.db")
                                                     : QDir(data.dir.path()).filePath("Registo.db");
        std::unique_ptr<DataFolder::WriteLock> lock;
        if (how == "foreign") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a database, keep me");
        } else if (how == "locked") {
            DataFolder::sql(file, {"CREATE TABLE notes (t TEXT)"});
            lock = std::make_unique<DataFolder::WriteLock>(file);
            QVERIFY(lock->active);
        }
        QtRecordsDatabase records(RecordsLocation::sqliteFile(file),
                                  QtRecordsDatabase::Mode::CreateIfMissing);
        records.setBusyTimeoutMs(50);
        RecordingMessages messages;
        EditSet edit(messages);
        FixedClock clock;
        ServiceHistory history(records, clock, QStringLiteral("pc"));
        ClearSnapshots snapshots(history);
        fillAsRead(edit, QStringLiteral("1"), QStringLiteral("5,00"));
        SnapshotPlace place;
        QString error;
        QVERIFY(!snapshots.store(edit, &place, &error));
        QVERIFY2(error.contains("Registo.db"), qPrintable(error));
        if (how == "foreign") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("not a database, keep me"));
        }
    }
};

VX_TEST_CLASS(TstClearSnapshots, Core)
#include "tst_clearsnapshots.moc"
