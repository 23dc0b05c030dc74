// The rows that wait on a PC for the records (RecordsOutbox), on the PC's own
// SQLite file and on a shared PostgreSQL server. Guards against a waiting row
// that is lost (not on disk, removed before the records took it, removed when
// it cannot be read), added twice (a second try, the same row kept by two
// programs, a restart between the add and the removal), added to records it
// was not kept for, or a reservation left held once its row is in; a visit
// that waited and then goes in as of when it was delivered, or is missed by
// the takings.
#include "fixedclock.h"
#include "recordsoutbox.h"
#include "recordsplace.h"
#include "servicehistory.h"
#include "takingsreport.h"
#include "testsuite.h"
#include "unitrecords.h"

#include <QTest>

using namespace vx;

namespace {

UnitRequest outboxRequest(int number)
{
    return benchRequest(number, QStringLiteral("bench-outbox"), QTime(7, 30, 0));
}

void outboxEngines()
{
    QTest::addColumn<RecordsEngine>("engine");
    QTest::newRow("sqlite") << RecordsEngine::Sqlite;
    QTest::newRow("postgresql") << RecordsEngine::Postgres;
}

} // namespace

class TstRecordsOutbox : public QObject
{
    Q_OBJECT

private slots:
    void keptRowsComeBackInOrder();
    void addedOnceWhateverHappens_data() { outboxEngines(); }
    void addedOnceWhateverHappens();
    void visitAddedOnceAsItWasTaken_data() { outboxEngines(); }
    void visitAddedOnceAsItWasTaken();
    void rowsForOtherRecordsWait();
    void unreadableRowIsNamedAndKept();
    void unwritableFolderIsSaid();
};

void TstRecordsOutbox::keptRowsComeBackInOrder()
{
    QTemporaryDir dir;
    RecordsOutbox outbox(dir.path());
    QString error;
    const QDateTime first(QDate(2026, 12, 10), QTime(7, 0), Qt::UTC);
    for (int i : {2, 0, 1}) {
        OutboxRow row{RecordsOutbox::newKey(),
                      QStringLiteral("TbRegisto"),
                      i == 1 ? QStringLiteral("/elsewhere/Registo.db")
                             : QStringLiteral("/here/Registo.db"),
                      {{QStringLiteral("NMec"), qint64(9007199254740993LL) + i}},
                      first.addSecs(i)};
        QVERIFY2(outbox.keep(row, &error), qPrintable(error));
    }
    // Each row is a whole file of its own; nothing half-written is left.
    QCOMPARE(QDir(outbox.where()).entryList(QDir::Files).size(), 3);
    const QList<OutboxRow> rows = outbox.rows();
    QCOMPARE(rows.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(rows.at(i).queued, first.addSecs(i));
        QCOMPARE(rows.at(i).values.value("NMec").toInteger(), 9007199254740993LL + i);
    }
    QCOMPARE(outbox.count(), 3);
    QCOMPARE(outbox.count(QStringLiteral("/here/Registo.db")), 2);
    QVERIFY(outbox.remove(rows.at(0), &error));
    QVERIFY(outbox.remove(rows.at(0), &error)); // gone already: no error
    QCOMPARE(outbox.count(), 2);
}

// A unit's row waits (the records did not answer); then it is added by the
// window and by vx308ctl at once (the same row kept in two data folders
// stands for two programs), and once more after a restart that came before
// its file was removed. The log holds it once, and its reservation is freed.
void TstRecordsOutbox::addedOnceWhateverHappens()
{
    QFETCH(RecordsEngine, engine);
    VX_RECORDS_PLACE(place, engine);
    const auto db = place.open();
    UnitRecords records(*db);
    QString error;
    QVERIFY2(records.prepare(&error), qPrintable(error));
    UnitNumbers numbers;
    QVERIFY2(records.allocate(outboxRequest(7), &numbers, &error), qPrintable(error));

    QTemporaryDir window, ctl;
    RecordsOutbox first(window.path()), second(ctl.path());
    const OutboxRow row = UnitRecords::waitingRow(numbers, RecordsOutbox::placeOf(*db));
    QVERIFY2(first.keep(row, &error), qPrintable(error));
    QVERIFY2(second.keep(row, &error), qPrintable(error));

    const auto other = place.open();
    const RecordsOutbox::Delivery a = first.deliver(*db);
    const RecordsOutbox::Delivery b = second.deliver(*other);
    QCOMPARE(a.added + b.added, 2); // each program thinks it added it...
    QVERIFY2(a.problems.isEmpty() && b.problems.isEmpty(),
             qPrintable((a.problems + b.problems).join('\n')));
    QVERIFY2(first.keep(row, &error), qPrintable(error)); // ...and a restart finds it again
    QCOMPARE(first.deliver(*db).added, 1);
    QCOMPARE(first.count() + second.count(), 0);

    QList<LogRow> log;
    QVERIFY2(records.listUnits(&log, &error), qPrintable(error));
    QCOMPARE(log.size(), 1); // ...but the log holds it once
    QCOMPARE(log.first().NFab, QStringLiteral("A26507"));
    QCOMPARE(log.first().NMec, numbers.row.NMec);
    QCOMPARE(log.first().hora, QTime(7, 30, 0));
    QCOMPARE(place.sql({QStringLiteral(R"(SELECT count(*) FROM "UnitReservations")")}),
             QStringList{QStringLiteral("0")});
    // The next unit carries on after it.
    UnitNumbers next;
    QVERIFY2(records.allocate(outboxRequest(8), &next, &error), qPrintable(error));
    QCOMPARE(next.row.NMec, numbers.row.NMec + 1);
}

// Monday's read went in; Tuesday's could not, and waited on two programs of
// the PC. Both deliver it, a restart offers it again: the history holds it
// once, as it was taken (its day and time, PC, reason and values, not those
// of the delivery), and the takings count Monday to Tuesday.
void TstRecordsOutbox::visitAddedOnceAsItWasTaken()
{
    QFETCH(RecordsEngine, engine);
    VX_RECORDS_PLACE(place, engine);
    const auto db = place.open();
    QString error;
    QVERIFY2(UnitRecords(*db).prepare(&error), qPrintable(error));
    const FixedClock wednesday(QDateTime(QDate(2026, 12, 9), QTime(18, 0)));
    ServiceHistory history(*db, wednesday, QStringLiteral("bench-delivering"));
    const QString band = TakingsReport::bandFields().front();
    Snapshot monday;
    monday.manufacturingNumber = QStringLiteral("A2412007");
    monday.applicationSerial = QStringLiteral("3141");
    monday.taken = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
    monday.host = QStringLiteral("bench-monday");
    monday.values = {{band, QStringLiteral("1,00")}};
    QVERIFY2(history.store(monday, nullptr, &error), qPrintable(error));
    Snapshot tuesday = monday;
    tuesday.key = RecordsOutbox::newKey();
    tuesday.taken = QDateTime(QDate(2026, 12, 8), QTime(16, 40, 59));
    tuesday.host = QStringLiteral("bench-tuesday");
    tuesday.values = {{band, QStringLiteral("3,50")}, {QStringLiteral("Text_contador"), "12"}};

    QTemporaryDir window, ctl;
    RecordsOutbox first(window.path()), second(ctl.path());
    const OutboxRow row = ServiceHistory::waitingRow(tuesday, RecordsOutbox::placeOf(*db));
    QVERIFY2(first.keep(row, &error), qPrintable(error));
    QVERIFY2(second.keep(row, &error), qPrintable(error));
    QCOMPARE(first.count(RecordsOutbox::placeOf(*db), ServiceHistory::table()), 1);
    const auto other = place.open();
    QCOMPARE(first.deliver(*db).added + second.deliver(*other).added, 2);
    QVERIFY2(first.keep(row, &error), qPrintable(error));
    const RecordsOutbox::Delivery again = first.deliver(*db);
    QVERIFY2(again.problems.isEmpty(), qPrintable(again.problems.join('\n')));
    QCOMPARE(first.count() + second.count(), 0);

    QList<Snapshot> visits;
    QVERIFY2(history.visits(QStringLiteral("A24127"), {}, &visits, &error), qPrintable(error));
    QCOMPARE(visits.size(), 2);
    const Snapshot &in = visits.last();
    QCOMPARE(in.key, tuesday.key);
    QCOMPARE(in.taken, tuesday.taken);
    QCOMPARE(in.host, tuesday.host);
    QCOMPARE(in.applicationSerial, tuesday.applicationSerial);
    QCOMPARE(in.values, tuesday.values);
    QVERIFY(!visits.first().key.isEmpty()); // stored directly, it has a key too

    QList<UnitTakings> takings;
    QVERIFY2(TakingsReport::read(history, QDate(2026, 12, 7), QDate(2026, 12, 8), &takings, &error),
             qPrintable(error));
    QCOMPARE(takings.size(), 1);
    QCOMPARE(takings.first().visits, 2);
    QCOMPARE(takings.first().lastVisit, tuesday.taken);
    QCOMPARE(takings.first().bands.front(), 250);
}

// The data folder stays when the technician points the tool at other records:
// a row kept for the shared server is not put into the PC's own file.
void TstRecordsOutbox::rowsForOtherRecordsWait()
{
    VX_RECORDS_PLACE(place, RecordsEngine::Sqlite);
    const auto db = place.open();
    UnitRecords records(*db);
    QString error;
    QVERIFY2(records.prepare(&error), qPrintable(error));
    UnitNumbers numbers;
    QVERIFY2(records.allocate(outboxRequest(3), &numbers, &error), qPrintable(error));
    QTemporaryDir data;
    RecordsOutbox outbox(data.path());
    QVERIFY2(outbox.keep(UnitRecords::waitingRow(numbers,
                                                 QStringLiteral("postgresql://bench@server/vx308")),
                         &error),
             qPrintable(error));
    const RecordsOutbox::Delivery d = outbox.deliver(*db);
    QCOMPARE(d.added, 0);
    QCOMPARE(d.elsewhere, 1);
    QCOMPARE(outbox.count(), 1);
    QCOMPARE(place.sql({QStringLiteral(R"(SELECT count(*) FROM "TbRegisto")")}),
             QStringList{QStringLiteral("0")});
}

void TstRecordsOutbox::unreadableRowIsNamedAndKept()
{
    VX_RECORDS_PLACE(place, RecordsEngine::Sqlite);
    const auto db = place.open();
    QString error;
    QVERIFY2(UnitRecords(*db).prepare(&error), qPrintable(error));
    QTemporaryDir data;
    RecordsOutbox outbox(data.path(), 1);
    QVERIFY(QDir().mkpath(outbox.where()));
    const QString damaged = QDir(outbox.where()).filePath(QStringLiteral("cut-short.json"));
    QFile f(damaged);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(R"({"format": "vx308 records outbox row", "version": 1, "key": )");
    f.close();

    // A row that reads but makes no row of its table (no NFab), ahead of a
    // good one: it is named and kept, and does not hold the good one back.
    OutboxRow noRow;
    noRow.key = QStringLiteral("no-nfab");
    noRow.table = UnitRecords::logTable();
    noRow.records = RecordsOutbox::placeOf(*db);
    noRow.values = {{QStringLiteral("NMec"), 5}};
    noRow.queued = QDateTime::currentDateTimeUtc().addSecs(-60);
    QVERIFY2(outbox.keep(noRow, &error), qPrintable(error));
    UnitNumbers numbers;
    QVERIFY2(UnitRecords(*db).allocate(outboxRequest(4), &numbers, &error), qPrintable(error));
    QVERIFY2(outbox.keep(UnitRecords::waitingRow(numbers, noRow.records), &error),
             qPrintable(error));

    const RecordsOutbox::Delivery d = outbox.deliver(*db);
    QCOMPARE(d.added, 1);
    QCOMPARE(d.waiting, 1);
    QCOMPARE(d.problems.size(), 2);
    QVERIFY2(d.problems.first().contains(damaged) && d.problems.first().contains("left as it is"),
             qPrintable(d.problems.first()));
    QVERIFY2(d.problems.last().contains("no-nfab") && d.problems.last().contains("no row of"),
             qPrintable(d.problems.last()));
    QVERIFY(QFile::exists(damaged));
    QCOMPARE(outbox.count(), 1);
}

void TstRecordsOutbox::unwritableFolderIsSaid()
{
    QTemporaryDir dir;
    // The data folder is a file: nothing can be kept under it.
    const QString notAFolder = dir.filePath(QStringLiteral("data"));
    QFile f(notAFolder);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    RecordsOutbox outbox(notAFolder, 1);
    QString error;
    QVERIFY(!outbox.keep({RecordsOutbox::newKey(),
                          QStringLiteral("TbRegisto"),
                          QStringLiteral("x"),
                          {},
                          QDateTime::currentDateTimeUtc()},
                         &error));
    QVERIFY2(error.contains(outbox.where()), qPrintable(error));
}

VX_TEST_CLASS(TstRecordsOutbox, Core)
#include "tst_recordsoutbox.moc"
