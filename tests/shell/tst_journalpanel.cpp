// Guards the changes shown in the history window: only the unit's own (not
// another unit's or application serial's), newest first, narrowed to one
// field when asked; captions in the technician's language; the changes that
// wait on this PC said with their number and folder; the window still whole at
// the size it opens with; the window's own Clear journaled as each value it
// zeroed. With VX_SCREENSHOT_FOLDER set, the Portuguese window
// showing the changes is saved there as history-changes.png.
#include "appbench.h"
#include "changejournal.h"
#include "clearrequest.h"
#include "editset.h"
#include "filedialogs.h"
#include "fixedclock.h"
#include "historywindow.h"
#include "journalpanel.h"
#include "messages.h"
#include "messagetexts.h"
#include "qtrecordsdatabase.h"
#include "recordingmessages.h"
#include "recordsoutbox.h"
#include "servicehistory.h"
#include "testsuite.h"
#include "unitrecords.h"

#include <QComboBox>
#include <QSysInfo>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace vx;

namespace {

struct ChangesBench
{
    QTemporaryDir dir;
    RecordingMessages messages;
    EditSet edit{messages};
    FixedClock clock;
    QtRecordsDatabase db{RecordsLocation::sqliteFile(dir.filePath(QStringLiteral("Registo.db"))),
                         QtRecordsDatabase::Mode::CreateIfMissing};
    ServiceHistory history{db, clock, QStringLiteral("bancada-1")};

    bool prepare()
    {
        QString error;
        edit.setText(QStringLiteral("text_numfab_ano"), QStringLiteral("A2415"));
        edit.setText(QStringLiteral("Text_numfab_num"), QStringLiteral("3"));
        edit.setText(QStringLiteral("Text_sn_apl"), QStringLiteral("104233"));
        const auto change = [](const char *unit, const char *serial, const char *field,
                               const char *before, const char *after, const char *how,
                               const QDateTime &when) {
            JournalEntry e;
            e.key = RecordsOutbox::newKey();
            e.manufacturingNumber = QLatin1String(unit);
            e.applicationSerial = QLatin1String(serial);
            e.field = QLatin1String(field);
            e.before = QLatin1String(before);
            e.after = QLatin1String(after);
            e.how = QLatin1String(how);
            e.when = when;
            e.host = QStringLiteral("bancada-1");
            e.user = QStringLiteral("tecnico");
            return e;
        };
        const QDate day(2026, 11, 3);
        const QList<JournalEntry> changes{
            change("A24153", "104233", "Text_S00", "1,00", "1,50", "window", {day, QTime(9, 0)}),
            change("A24153", "104233", "Text_total00", "152,30", "0,00", "clear",
                   {day.addDays(7), QTime(10, 0)}),
            change("A24153", "104233", "Text_S00", "1,50", "1,75", "vx308ctl set",
                   {day.addDays(14), QTime(11, 0)}),
            change("A24153", "999", "Text_S00", "1,00", "9,00", "window", {day, QTime(12, 0)}),
            change("B08017", "5", "Text_S08", "2,00", "2,50", "paste", {day, QTime(13, 0)})};
        if (UnitRecords(db).prepare(&error) && ChangeJournal(db).add(changes, &error)) return true;
        qWarning() << error;
        return false;
    }
    QStringList column(const QTableWidget *t, int c) const
    {
        QStringList out;
        for (int row = 0; row < t->rowCount(); ++row)
            out << t->item(row, c)->text();
        return out;
    }
};

} // namespace

class TstJournalPanel : public QObject
{
    Q_OBJECT

private slots:
    void showsTheUnitsChangesNewestFirst()
    {
        ChangesBench b;
        QVERIFY(b.prepare());
        HistoryWindow w(b.history, b.edit, nullptr, b.messages);
        w.showWindowUnit();
        const QTableWidget *t = w.journal()->table();
        QCOMPARE(b.column(t, 0), (QStringList{"17-11-2026", "10-11-2026", "03-11-2026"}));
        QCOMPARE(b.column(t, 2), (QStringList{"Text_S00", "Text_total00", "Text_S00"}));
        QCOMPARE(b.column(t, 3), (QStringList{"1,50", "152,30", "1,00"}));
        QCOMPARE(b.column(t, 5), (QStringList{"vx308ctl set", "Clear", "Janela"}));
        QCOMPARE(w.tabs()->tabText(1), QStringLiteral("Alterações (3)"));

        w.journal()->filterField(QStringLiteral("Text_S00"));
        QCOMPARE(b.column(t, 4), (QStringList{"1,75", "1,50"}));
        QCOMPARE(w.journal()->fields()->currentText(), QStringLiteral("Text_S00"));
        w.setLanguage(1);
        QCOMPARE(t->horizontalHeaderItem(3)->text(), QStringLiteral("Before"));
        QCOMPARE(b.column(t, 5), (QStringList{"vx308ctl set", "Window"}));
        w.journal()->filterField({});
        QCOMPARE(t->rowCount(), 3);
        QVERIFY(b.messages.messages.empty());
    }

    void saysWhatWaitsOnThisPc()
    {
        ChangesBench b;
        QVERIFY(b.prepare());
        JournalEntry e;
        e.key = RecordsOutbox::newKey();
        e.field = QStringLiteral("Text_S12");
        e.how = QStringLiteral("window");
        e.when = b.clock.now();
        RecordsOutbox outbox(b.dir.path());
        QString error;
        QVERIFY2(outbox.keep(ChangeJournal::waitingRow(e, RecordsOutbox::placeOf(b.db)), &error),
                 qPrintable(error));
        HistoryWindow w(b.history, b.edit, nullptr, b.messages);
        w.setOutboxFolder(b.dir.path());
        w.showWindowUnit();
        QVERIFY2(w.journal()->notice().startsWith(QStringLiteral("1 alteração(ões) à espera")),
                 qPrintable(w.journal()->notice()));
        QVERIFY(w.journal()->notice().contains(outbox.where()));
    }

    void windowsClearJournalsWhatItZeroed()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        o.port.device().setNumber(55, 3, 4321); // Text_total00 43,21
        o.port.device().setNumber(72, 2, 17);   // Text_aberturas
        QVERIFY(o.read());
        QStringList expected;
        for (const Text &z : kZeroedByClear) {
            const QString field = toQString(z.key);
            if (o.edit().text(field) != shownAfterClear(z.key))
                expected << field + '|' + o.edit().text(field) + QStringLiteral("|clear");
        }
        bool reread = false;
        QObject::connect(&o.engine(), &Engine::readFinished, [&] { reread = true; });
        QVERIFY(o.clearAndConfirm());
        QVERIFY(waitFor([&] { return reread; }));
        QList<JournalEntry> rows;
        QVERIFY(waitFor([&] {
            ChangeJournal(a.records).changes({}, {}, &rows, nullptr);
            return rows.size() >= expected.size();
        }));
        o.engine().stop();
        QStringList shown;
        for (const JournalEntry &e : std::as_const(rows))
            shown << e.field + '|' + e.before + '|' + e.how;
        shown.sort();
        expected.sort();
        QVERIFY(expected.contains(QStringLiteral("Text_total00|43,21|clear")));
        QCOMPARE(shown, expected);
        QCOMPARE(rows.first().host, QSysInfo::machineHostName());
    }

    void fitsWhenItOpens()
    {
        ChangesBench b;
        QVERIFY(b.prepare());
        // Visits around the changes, for the picture.
        for (int i = 0; i < 4; ++i) {
            b.edit.setText(QStringLiteral("Text_acumulado"), QStringLiteral("%1,00").arg(150 * i));
            b.edit.setText(QStringLiteral("Text_aberturas"), QString::number(400 * i));
            b.clock.set(QDateTime(QDate(2026, 10, 27).addDays(7 * i), QTime(9, 30)));
            QVERIFY(b.history.record(b.edit, Snapshot::Reason::Read, nullptr, nullptr));
        }
        HistoryWindow w(b.history, b.edit, nullptr, b.messages);
        w.showWindowUnit();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.tabs()->setCurrentIndex(1);
        QCoreApplication::processEvents();
        QCOMPARE(w.size(), HistoryWindow::kDefaultSize);
        const QTableWidget *t = w.journal()->table();
        const int last = t->columnCount() - 1;
        QVERIFY(t->columnViewportPosition(last) + t->columnWidth(last) <= t->viewport()->width());
        QVERIFY(t->isVisible() && t->viewport()->height() > 4 * t->rowHeight(0));
        const QString folder = qEnvironmentVariable("VX_SCREENSHOT_FOLDER");
        if (!folder.isEmpty())
            QVERIFY(w.grab().save(QDir(folder).filePath(QStringLiteral("history-changes.png"))));
    }
};

VX_TEST_CLASS(TstJournalPanel, Widgets)

#include "tst_journalpanel.moc"
