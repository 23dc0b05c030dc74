// A new unit the timer has taken is always logged, and a new unit cut off in
// the middle of its writes is finished with its own numbers. Guards against
// the row of a unit in the timer lost when the records cannot take it (said
// as "not logged", its numbers held for ever), that row added twice or not
// at all once they can, and a timer whose new unit was cut off given a second
// set of numbers. (The write pass is the engine's; here the test plays it.)
#include "newunitfixture.h"
#include "recordsoutbox.h"
#include "recordsplace.h"
#include "testsuite.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// The unit on the line, as a read leaves it in the window.
void readUnit(NewUnitFixture &m, const QString &code, const QString &number, const QString &serial)
{
    m.edit.setText("text_numfab_ano", code);
    m.edit.setText("Text_numfab_num", number);
    m.edit.setText("Text_sn_apl", serial);
}

int reservations(NewUnitFixture &m)
{
    return DataFolder::count(m.a.databases.logFile(), "UnitReservations");
}

} // namespace

class TstUnitLogWaits : public QObject
{
    Q_OBJECT

private slots:
    void rowWaitsThenIsAddedOnce();
    void sharedServerGoneMidWrite();
    void cutOffUnitIsFinishedWithItsNumbers_data();
    void cutOffUnitIsFinishedWithItsNumbers();
};

// The records are held by another program from the acceptance until the
// timer has taken the last value: the row waits on the PC, the technician is
// told so, and the next new unit adds it before its own.
void TstUnitLogWaits::rowWaitsThenIsAddedOnce()
{
    NewUnitFixture m;
    m.log(10, 3, 5, QDate(2007, 2, 1));
    QSignalSpy waiting(&m.newUnit, &NewUnit::unitWaiting);
    QSignalSpy logged(&m.newUnit, &NewUnit::unitLogged);
    QVERIFY(m.newUnit.prepare());
    QVERIFY(m.newUnit.accept());
    m.msgs.clear();
    {
        DataFolder::WriteLock lock(m.a.databases.logFile());
        QVERIFY(lock.active);
        m.writeAll();
    }
    QCOMPARE(logged.size(), 0);
    QCOMPARE(waiting.size(), 1);
    QCOMPARE(waiting.at(0).at(0).toString(), QStringLiteral("A07054"));
    QCOMPARE(waiting.at(0).at(1).toLongLong(), 11);
    QCOMPARE(waiting.at(0).at(2).toInt(), 1);
    QCOMPARE(m.msgs.messages.size(), size_t(1));
    const QString said = m.msgs.messages[0].text;
    const RecordsOutbox outbox(m.a.databases.folder());
    QVERIFY2(said.contains("A07054") && said.contains("Registo.db") &&
                 said.contains(outbox.where()) && said.contains("1 linha(s)"),
             qPrintable(said));
    QCOMPARE(m.rows(), 1);
    QCOMPARE(outbox.count(), 1);

    // The next unit: its own row, and the one that waited, each once.
    m.msgs.clear();
    QVERIFY(m.newUnit.prepare());
    QVERIFY(m.newUnit.accept());
    m.writeAll();
    QVERIFY2(m.msgs.messages.empty(), qPrintable(m.msgs.texts().join('\n')));
    QCOMPARE(logged.size(), 1);
    QCOMPARE(outbox.count(), 0);
    const auto rows = DataFolder::sql(m.a.databases.logFile(),
                                      {"SELECT NMec, NFab FROM TbRegisto ORDER BY NMec"});
    QCOMPARE(rows, (QList<QVariantList>{{10, "A00003"}, {11, "A07054"}, {12, "A07055"}}));
    QCOMPARE(reservations(m), 0);
    int added = -1;
    QVERIFY(m.newUnit.addWaitingRows(&added));
    QCOMPARE(added, 0);
}

// The shared server stops after the acceptance: the row waits on this bench,
// and once the server is back the next "Novo" adds it before proposing.
void TstUnitLogWaits::sharedServerGoneMidWrite()
{
    VX_RECORDS_PLACE(place, RecordsEngine::Postgres);
    const auto db = place.open();
    UnitRecords records(*db);
    QString error;
    QVERIFY2(records.prepare(&error), qPrintable(error));
    NewUnitFixture m;
    QObject::disconnect(&m.edit, nullptr, &m.newUnit, nullptr);
    NewUnit bench(m.edit, m.engine, m.a.databases, records, m.msgs, m.clock);
    QSignalSpy waiting(&bench, &NewUnit::unitWaiting);
    QVERIFY(bench.prepare());
    QVERIFY(bench.accept());
    QVERIFY2(place.server->stop(&error), qPrintable(error));
    m.writeAll();
    QCOMPARE(waiting.size(), 1);
    QVERIFY2(m.msgs.texts().join('\n').contains(place.database),
             qPrintable(m.msgs.texts().join('\n')));
    QVERIFY2(place.server->start(&error), qPrintable(error));

    QVERIFY(bench.prepare());
    QCOMPARE(RecordsOutbox(m.a.databases.folder()).count(), 0);
    QCOMPARE(bench.n_unidades(), 1);
    QCOMPARE(m.edit.text("Text_numfab_num"), QStringLiteral("2"));
    QCOMPARE(place.sql({QStringLiteral(R"(SELECT "NMec", "NFab" FROM "TbRegisto")")}),
             QStringList{QStringLiteral("1|A07051")});
    QCOMPARE(place.sql({QStringLiteral(R"(SELECT count(*) FROM "UnitReservations")")}),
             QStringList{QStringLiteral("0")});
}

void TstUnitLogWaits::cutOffUnitIsFinishedWithItsNumbers_data()
{
    QTest::addColumn<QStringList>("reached"); // the timer took these before the cut
    QTest::addColumn<bool>("abandoned");      // the first program gave up (else still writing)
    QTest::addColumn<QString>("serialAfter"); // the serial the next read finds
    QTest::addColumn<bool>("sameNumbers");
    const QStringList tariffs{"Text_pwdtarifas", "Text_pwdrelogio", "Text_S00", "Text_S08"};
    QTest::newRow("identity not yet written") << tariffs << true << "1234" << true;
    QTest::newRow("identity written")
        << tariffs + QStringList{"Text_numfab_num", "text_numfab_ano"} << true << "1234" << true;
    // Cut off between the number and the code: the timer holds a mix.
    QTest::newRow("number written, code not")
        << tariffs + QStringList{"Text_numfab_num"} << true << "1234" << true;
    QTest::newRow("another timer") << tariffs << true << "4321" << false;
    // Another bench's timer of the same identity, while the first is written.
    QTest::newRow("same identity, still being written") << tariffs << false << "1234" << false;
}

// "Novo" and "Aceitar" on a timer, the program gives up with part of the
// values written; the same or another timer is read again and given a new
// unit. A bench still writing its unit keeps its numbers from another timer
// that looks the same.
void TstUnitLogWaits::cutOffUnitIsFinishedWithItsNumbers()
{
    QFETCH(QStringList, reached);
    QFETCH(bool, abandoned);
    QFETCH(QString, serialAfter);
    QFETCH(bool, sameNumbers);
    NewUnitFixture m;
    m.log(10, 3, 5, QDate(2007, 2, 1));
    readUnit(m, "A2415", "03", "01234");
    QVERIFY(m.newUnit.prepare());
    QVERIFY(m.newUnit.accept());
    const UnitNumbers first = m.newUnit.lastNumbers();
    QStringList unanswered;
    for (const Field &c : kFields)
        if (!reached.contains(toQString(c.name))) unanswered << toQString(c.name);
    m.writeAll(unanswered);
    QVERIFY(m.newUnit.unitPending());
    QCOMPARE(m.newUnit.writtenFields(), reached);
    QVERIFY(m.newUnit.unwrittenFields().contains("Text_acumulado"));

    // The program gives up (a time-out); a new one reads the timer.
    QCOMPARE(abandoned && m.newUnit.abandon(), abandoned);
    QObject::disconnect(&m.edit, nullptr, &m.newUnit, nullptr);
    NewUnit again(m.edit, m.engine, m.a.databases, m.a.records, m.msgs, m.clock);
    m.edit.session.modo = 2;
    const bool codeWritten = abandoned && reached.contains("text_numfab_ano");
    const bool numberWritten = abandoned && reached.contains("Text_numfab_num");
    readUnit(m, codeWritten ? first.row.NFab.left(5) : QStringLiteral("A2415"),
             numberWritten ? first.row.NFab.mid(5) : QStringLiteral("03"), serialAfter);
    m.msgs.clear();
    m.clock.set(QDateTime(QDate(2007, 2, 12), QTime(8, 0))); // another week
    QVERIFY(again.prepare());
    QVERIFY(again.accept());
    m.writeAll();

    const UnitNumbers second = again.lastNumbers();
    QCOMPARE(second.row.NMec == first.row.NMec, sameNumbers);
    QCOMPARE(second.row.NFab == first.row.NFab, sameNumbers);
    QCOMPARE(m.edit.text("text_numfab_ano") + m.edit.text("Text_numfab_num"), second.row.NFab);
    // Said when the same unit is finished, and only then.
    QCOMPARE(m.msgs.texts().filter("A07054").size(), sameNumbers ? 1 : 0);
    // Logged once; another timer leaves the first unit's numbers held.
    QCOMPARE(m.rows(), 2);
    QCOMPARE(reservations(m), sameNumbers ? 0 : 1);
    QCOMPARE(m.lastRow()[0][0].toLongLong(), second.row.NMec);
}

VX_TEST_CLASS(TstUnitLogWaits, Widgets)
#include "tst_unitlogwaits.moc"
