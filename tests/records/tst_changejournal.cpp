// Every value the timer accepted is one row of the journal, once. Guards
// against: a change kind that makes no row or the wrong "how"; a refused,
// unconfirmed or unchanged value written down as a change; Clear's
// erase journaled as one row, or its values as the pass rewrote them instead of
// what the erase left; the records written before the write's state is shown;
// rows lost while the records cannot be reached, or added twice afterwards.
#include "changejournal.h"
#include "clearrequest.h"
#include "configfile.h"
#include "datafolder.h"
#include "enginebench.h"
#include "journalrecorder.h"
#include "messagetexts.h"
#include "recordsoutbox.h"
#include "testsuite.h"

#include <QSignalSpy>
#include <QTest>

using namespace vx;

namespace {

// A bench whose changes go to the journal of a real records file, wired as
// the window wires it.
struct JournalBench
{
    JournalBench()
    {
        QObject::connect(&b.engine, &Engine::valueAccepted, &recorder, &JournalRecorder::note);
        QObject::connect(&b.engine, &Engine::tickFinished, &recorder, &JournalRecorder::flush);
        emu::Device &d = b.device();
        d.setNumber(4, 2, 100); // Text_S00 1,00
        d.setNumber(6, 2, 200); // Text_S08 2,00
        d.setNumber(8, 2, 300); // Text_S12 3,00
        d.setNumber(70, 2, 5);  // Text_power
    }
    EngineBench b;
    DataFolder data;
    JournalRecorder recorder{
        data.recordsDatabase,
        b.clock,
        data.databases.folder(),
        {QStringLiteral("window"), QStringLiteral("bench-1"), QStringLiteral("tecnico")}};

    // "field|before|after|how" of every row, oldest first.
    QStringList rows()
    {
        QList<JournalEntry> all;
        QString error;
        if (!ChangeJournal(data.recordsDatabase).changes({}, {}, &all, &error)) return {error};
        QStringList out;
        for (auto e = all.crbegin(); e != all.crend(); ++e)
            out << QStringList{e->field, e->before, e->after, e->how}.join('|');
        return out;
    }
    // Waits for the tick that takes every marked value.
    bool written()
    {
        bool done = false;
        auto c = QObject::connect(&b.engine, &Engine::tickFinished,
                                  [&] { done = done || !b.edit.anyPending(); });
        const bool ok = EngineBench::waitFor([&] { return done; });
        QObject::disconnect(c);
        return ok;
    }
    void type(const QString &field, const QString &text, bool enter = true)
    {
        b.edit.gotFocus(field);
        b.edit.setText(field, text);
        if (enter) b.edit.confirmValue(field);
    }
};

enum JournalAction
{
    TypeTariff,
    RestoreTariff,
    PasteOldTariff,
    NewUnitTariff,
    TypeSameValue,
    TypeSameValueOtherwise,
    TypeNoEnter,
    TypeOutOfRange
};

void journalAct(JournalBench &j, int action)
{
    EditSet &edit = j.b.edit;
    switch (action) {
    case TypeTariff:
        j.type(QStringLiteral("Text_S00"), QStringLiteral("1,50"));
        break;
    case RestoreTariff: {
        ConfigFile file = ConfigFile::fromEditSet(edit, QString(), j.b.clock.now());
        file.setValue(QStringLiteral("Text_S08"), QStringLiteral("2,25"));
        file.applyTo(edit, ConfigFile::Scope::Settings);
        break;
    }
    case PasteOldTariff:
        // Copied at 3,00, changed on the timer meanwhile, pasted back.
        j.b.engine.command_copy1_Click();
        j.b.device().setNumber(8, 2, 350);
        j.b.readAll();
        j.b.engine.command_paste1_Click();
        break;
    case NewUnitTariff:
        edit.setText(QStringLiteral("Text_S12"), QStringLiteral("4,00"));
        edit.mark({QStringLiteral("Text_S12")}, ChangeKind::NewUnit);
        break;
    case TypeSameValue:
        j.type(QStringLiteral("Text_S00"), QStringLiteral("1,00"));
        break;
    case TypeSameValueOtherwise:
        j.type(QStringLiteral("Text_S00"), QStringLiteral("1,0"));
        break;
    case TypeNoEnter:
        j.type(QStringLiteral("Text_S00"), QStringLiteral("1,50"), false);
        j.type(QStringLiteral("Text_S08"), QStringLiteral("2,00"));
        break;
    case TypeOutOfRange:
        j.type(QStringLiteral("Text_contador"), QStringLiteral("65536"));
        j.type(QStringLiteral("Text_S08"), QStringLiteral("2,00"));
        break;
    }
}

} // namespace

class TstChangeJournal : public QObject
{
    Q_OBJECT

private slots:
    void changeMakesItsRows_data();
    void changeMakesItsRows();
    void clearJournalsEachZeroedValue();
    void writeStateShownBeforeTheRecordsAreWritten();
    void cutOffRecordsKeepRowsUntilReachedOnce();
};

void TstChangeJournal::changeMakesItsRows_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("typed") << int(TypeTariff) << QStringList{"Text_S00|1,00|1,50|window"};
    QTest::newRow("restore") << int(RestoreTariff) << QStringList{"Text_S08|2,00|2,25|restore"};
    // The timer keeps the power-down count it is sent and a read shows one
    // less, so pasting the shown count back takes one off: a change too.
    QTest::newRow("paste") << int(PasteOldTariff)
                           << QStringList{"Text_S12|3,50|3,00|paste", "Text_power|4|3|paste"};
    QTest::newRow("typed as read") << int(TypeSameValueOtherwise) << QStringList{};
    QTest::newRow("new unit") << int(NewUnitTariff) << QStringList{"Text_S12|3,00|4,00|new unit"};
    QTest::newRow("same value") << int(TypeSameValue) << QStringList{};
    QTest::newRow("not confirmed") << int(TypeNoEnter) << QStringList{};
    QTest::newRow("refused at Enter") << int(TypeOutOfRange) << QStringList{};
}

void TstChangeJournal::changeMakesItsRows()
{
    QFETCH(int, action);
    QFETCH(QStringList, expected);
    JournalBench j;
    QVERIFY2(j.data.provisioned, qPrintable(j.data.error));
    QVERIFY(j.b.readAll());
    journalAct(j, action);
    QVERIFY(j.written());
    QCOMPARE(j.rows(), expected);
    QCOMPARE(j.recorder.waiting(), 0);
}

// Each value the erase zeroed is a row of its own: from what the read just
// before the erase found, to what the erase leaves.
void TstChangeJournal::clearJournalsEachZeroedValue()
{
    JournalBench j;
    QVERIFY2(j.data.provisioned, qPrintable(j.data.error));
    emu::Device &d = j.b.device();
    d.setNumber(37, 3, 500);  // Text_a_pagar
    d.setNumber(40, 3, 600);  // Text_parcial
    d.setNumber(53, 2, 1000); // Text_contador
    for (int band = 0; band < 5; ++band)
        d.setNumber(55 + 3 * band, 3, 1234 + band);
    d.setNumber(72, 2, 77); // Text_aberturas
    d.setNumber(74, 1, 4);  // Text_prog
    QVERIFY(j.b.readAll());
    QStringList expected;
    for (const Text &z : kZeroedByClear) {
        const QString field = toQString(z.key);
        expected << QStringList{field, j.b.edit.text(field), shownAfterClear(z.key),
                                QStringLiteral("clear")}
                        .join('|');
    }
    int reads = 0;
    QObject::connect(&j.b.engine, &Engine::readFinished, [&] { ++reads; });
    j.b.engine.Command_clear_Click();
    QVERIFY(EngineBench::waitFor([&] { return reads == 1; }));
    j.recorder.flush();
    QStringList rows = j.rows();
    rows.sort();
    expected.sort();
    QCOMPARE(rows, expected);
}

namespace {

// The records as a front end reaches them, telling when a journal row
// arrives.
class WatchedRecords : public RecordsDatabase
{
public:
    WatchedRecords(RecordsDatabase &inner, std::function<void()> onJournalRow)
        : m_inner(inner), m_onJournalRow(std::move(onJournalRow))
    {
    }
    Engine engine() const override { return m_inner.engine(); }
    QString where() const override { return m_inner.where(); }
    bool run(const QString &sql, const QVariantList &binds, QList<Row> *rows,
             QString *error) override
    {
        if (sql.startsWith(QLatin1String(R"(INSERT INTO "ChangeJournal")"))) m_onJournalRow();
        return m_inner.run(sql, binds, rows, error);
    }
    bool columns(const QString &table, QList<Column> *out, QString *error) override
    {
        return m_inner.columns(table, out, error);
    }
    bool writeTransaction(const std::function<bool(QString *)> &work, QString *error) override
    {
        return m_inner.writeTransaction(work, error);
    }
    bool transaction(const std::function<bool(QString *)> &work, QString *error) override
    {
        return m_inner.transaction(work, error);
    }

private:
    RecordsDatabase &m_inner;
    std::function<void()> m_onJournalRow;
};

} // namespace

// The technician sees "written" when the timer takes the value: the journal's
// row goes to the records only after that, once the tick is over.
void TstChangeJournal::writeStateShownBeforeTheRecordsAreWritten()
{
    JournalBench j;
    QVERIFY2(j.data.provisioned, qPrintable(j.data.error));
    QList<WriteState> stateAtRow;
    QList<bool> inTickAtRow;
    WatchedRecords watched(j.data.recordsDatabase, [&] {
        stateAtRow << j.b.edit.control(QStringLiteral("Text_S00")).write;
        inTickAtRow << j.b.engine.inTick();
    });
    JournalRecorder recorder(watched, j.b.clock, j.data.databases.folder(),
                             {QStringLiteral("window"), QString(), QString()});
    QObject::disconnect(&j.b.engine, nullptr, &j.recorder, nullptr);
    QObject::connect(&j.b.engine, &Engine::valueAccepted, &recorder, &JournalRecorder::note);
    QObject::connect(&j.b.engine, &Engine::tickFinished, &recorder, &JournalRecorder::flush);
    QVERIFY(j.b.readAll());
    j.type(QStringLiteral("Text_S00"), QStringLiteral("1,50"));
    QVERIFY(j.written());
    QCOMPARE(stateAtRow, QList<WriteState>{WriteState::Written});
    QCOMPARE(inTickAtRow, QList<bool>{false});
}

// Records that cannot be written: the timer takes the value all the same,
// its row waits on this PC, with those of the minute after, and is added
// with the first change past that minute, once; offered again (a lost
// answer, another program on the PC) it adds nothing.
void TstChangeJournal::cutOffRecordsKeepRowsUntilReachedOnce()
{
    JournalBench j;
    QVERIFY2(j.data.provisioned, qPrintable(j.data.error));
    QSignalSpy failed(&j.recorder, &JournalRecorder::failed);
    QVERIFY(j.b.readAll());
    RecordsOutbox outbox(j.data.databases.folder());
    {
        DataFolder::WriteLock lock(j.data.databases.logFile());
        QVERIFY(lock.active);
        j.type(QStringLiteral("Text_S00"), QStringLiteral("1,50"));
        QVERIFY(j.written());
        QCOMPARE(j.b.edit.control(QStringLiteral("Text_S00")).write, WriteState::Written);
    }
    QCOMPARE(j.b.device().byte(4), uint8_t(150));
    QCOMPARE(failed.size(), 1);
    QVERIFY2(failed.at(0).at(0).toString().contains(outbox.where()),
             qPrintable(failed.at(0).at(0).toString()));
    QCOMPARE(j.recorder.waiting(), 1);
    QCOMPARE(j.rows(), QStringList{});
    const QList<OutboxRow> waited = outbox.rows();

    // Not tried again at every change: only once a minute has passed, a
    // minute at the clock's pace.
    const QDateTime failedAt = j.b.clock.now();
    const int minute = j.b.clock.toReal(60 * 1000);
    j.b.clock.set(failedAt.addMSecs(minute - 1));
    j.type(QStringLiteral("Text_S12"), QStringLiteral("3,50"));
    QVERIFY(j.written());
    QCOMPARE(j.recorder.waiting(), 2);
    QCOMPARE(j.rows(), QStringList{});
    j.b.clock.set(failedAt.addMSecs(minute));
    j.type(QStringLiteral("Text_S08"), QStringLiteral("2,50"));
    QVERIFY(j.written());
    QStringList rows = j.rows();
    rows.sort();
    QCOMPARE(rows, (QStringList{"Text_S00|1,00|1,50|window", "Text_S08|2,00|2,50|window",
                                "Text_S12|3,00|3,50|window"}));
    QCOMPARE(j.recorder.waiting(), 0);

    // The same row kept again, as after a restart whose answer was lost.
    QString error;
    QVERIFY2(outbox.keep(waited.first(), &error), qPrintable(error));
    const RecordsOutbox::Delivery again = outbox.deliver(j.data.recordsDatabase);
    QCOMPARE(again.added, 1);
    QCOMPARE(DataFolder::count(j.data.databases.logFile(), QStringLiteral("ChangeJournal")), 3);
    QCOMPARE(outbox.count(), 0);
}

VX_TEST_CLASS(TstChangeJournal, Core)

#include "tst_changejournal.moc"
