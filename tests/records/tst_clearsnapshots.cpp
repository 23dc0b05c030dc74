// Guards Clear's safety net: before the erase is asked for, every value of
// the unit must be in the snapshot file, one row per Clear, findable by the
// unit's manufacturing number and application serial, with when and where
// it was taken; and when the row cannot be stored (the file is not a
// database, or another program holds it) the erase must not be asked for.
#include "clearsnapshots.h"
#include "clock.h"
#include "datafolder.h"
#include "editset.h"
#include "memoryrecordstore.h"
#include "messages.h"
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
        ClearSnapshots snapshots(data.databases, clock, QStringLiteral("bancada-3"));
        const QString file = snapshots.file();
        QVERIFY(!QFile::exists(file));

        fillAsRead(edit, QStringLiteral("12"), QStringLiteral("12,50"));
        SnapshotPlace first;
        QString error;
        QVERIFY2(snapshots.storeThenClear(edit, QStringLiteral("T"), &first, &error),
                 qPrintable(error));
        QCOMPARE(first.file, file);
        QCOMPARE(first.row, 1);
        // The snapshot holds the values as read, not the zeros Clear then shows.
        QVERIFY(edit.session.limpar_pedido);
        QCOMPARE(edit.text(QStringLiteral("Text_total08")), QStringLiteral("0"));

        fillAsRead(edit, QStringLiteral("13"), QStringLiteral("3,00"));
        SnapshotPlace second;
        QVERIFY(snapshots.store(edit, &second, &error));
        QCOMPARE(second.row, 2);

        const auto rows = DataFolder::sql(
            file, {"SELECT snapshot_id, manufacturing_number, application_serial, taken_date, "
                   "taken_time, host_name, Text_total08, Text_acumulado, Check_contador, "
                   "Check_ibut, Text_rtc_data FROM ClearSnapshots ORDER BY snapshot_id"});
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0], (QVariantList{1, "A070512", "4711", "2026-12-09", "17:05:30", "bancada-3",
                                        "12,50", "999,00", 1, 0, "01-12-2026"}));
        QCOMPARE(rows[1].value(1).toString(), QStringLiteral("A070513"));
        QCOMPARE(rows[1].value(6).toString(), QStringLiteral("3,00"));
        // Every value column the table promises is there, and the history of a
        // unit is looked up through the index on its two keys.
        const auto columns = DataFolder::sql(file, {"PRAGMA table_info(ClearSnapshots)"});
        QCOMPARE(columns.size(), 6 + ClearSnapshots::valueFields().size());
        const auto plan = DataFolder::sql(
            file, {"EXPLAIN QUERY PLAN SELECT * FROM ClearSnapshots WHERE "
                   "manufacturing_number = 'A070512' AND application_serial = '4711'"});
        QVERIFY(!plan.isEmpty());
        QVERIFY2(plan.last().last().toString().contains("ClearSnapshots_lookup"),
                 qPrintable(plan.last().last().toString()));
        // The other files were not touched.
        QCOMPARE(DataFolder::count(data.databases.logFile(), "TbRegisto"), 0);
    }

    // The table is added to a file that already holds other tables, and
    // their rows stay.
    void addedToExistingFile()
    {
        DataFolder data;
        const QString file = QDir(data.dir.path()).filePath("Snapshots.db");
        DataFolder::sql(file, {"CREATE TABLE notes (t TEXT)", "INSERT INTO notes VALUES ('x')"});
        RecordingMessages messages;
        EditSet edit(messages);
        FixedClock clock;
        ClearSnapshots snapshots(data.databases, clock, QStringLiteral("pc"));
        fillAsRead(edit, QStringLiteral("1"), QStringLiteral("1,00"));
        SnapshotPlace place;
        QString error;
        QVERIFY2(snapshots.store(edit, &place, &error), qPrintable(error));
        QCOMPARE(DataFolder::count(file, "notes"), 1);
        QCOMPARE(DataFolder::count(file, "ClearSnapshots"), 1);
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
        DataFolder data;
        const QString file = QDir(data.dir.path()).filePath("Snapshots.db");
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
        Databases databases(data.store, how == "missing folder" ? data.dir.filePath("nowhere")
                                                                : data.dir.path());
        RecordingMessages messages;
        EditSet edit(messages);
        FixedClock clock;
        ClearSnapshots snapshots(databases, clock, QStringLiteral("pc"));
        fillAsRead(edit, QStringLiteral("1"), QStringLiteral("5,00"));
        SnapshotPlace place;
        QString error;
        QVERIFY(!snapshots.storeThenClear(edit, QStringLiteral("T"), &place, &error));
        QVERIFY2(error.contains("Snapshots.db"), qPrintable(error));
        QVERIFY(!edit.session.limpar_pedido);
        QCOMPARE(edit.text(QStringLiteral("Text_total08")), QStringLiteral("5,00"));
        QVERIFY(!edit.anyPending());
        if (how == "foreign") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("not a database, keep me"));
        }
    }

    // The in-memory store keeps the same promises, so the window's tests
    // can rely on it.
    void memoryStoreNumbersRows()
    {
        MemoryRecordStore store;
        const QString file = QStringLiteral("/tmp/vx-memory/Snapshots.db");
        qlonglong row = 0;
        QString error;
        QVERIFY(store.ensureTable(file, ClearSnapshots::table(), &error));
        QVERIFY(store.ensureTable(file, ClearSnapshots::table(), &error));
        for (qlonglong expected : {1, 2}) {
            QVERIFY(
                store.appendNumbered(file, "ClearSnapshots", {{"host_name", "pc"}}, &row, &error));
            QCOMPARE(row, expected);
        }
        store.setLocked(file, true);
        QVERIFY(!store.appendNumbered(file, "ClearSnapshots", {}, &row, &error));
        store.addForeignFile(QStringLiteral("/tmp/vx-memory/other.db"));
        QVERIFY(!store.ensureTable(QStringLiteral("/tmp/vx-memory/other.db"),
                                   ClearSnapshots::table(), &error));
    }
};

VX_TEST_CLASS(TstClearSnapshots, Core)
#include "tst_clearsnapshots.moc"
