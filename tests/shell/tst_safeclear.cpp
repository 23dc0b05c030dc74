// Guards what the technician sees around Clear and a silent timer. Clear must
// ask first, listing the takings and counters it will zero with their
// values; Escape must send nothing; a confirmed Clear must store the unit's
// values before the erase, and when they cannot be stored nothing may be
// erased. A timer that stops answering must bring a notice into the window
// (not a dialog that blocks it) that names the cause, and the notice must go
// when the timer answers again. The report's PDF dialog must carry its title.
// With VX_SCREENSHOT_DIR set, the notice and the question are saved as PNGs.

#include "appbench.h"
#include "captions.h"
#include "clearsnapshots.h"
#include "connectionwatcher.h"
#include "linknotice.h"
#include "servicehistory.h"
#include "testsuite.h"
#include "unitidentity.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace vx;

namespace {

// The snapshots stored just before an erase, of the unit in the window.
QString unitOf(AppBench &o)
{
    return o.edit().text(QStringLiteral("text_numfab_ano")) +
           o.edit().text(QStringLiteral("Text_numfab_num"));
}

QList<Snapshot> clearSnapshots(AppBench &o, const QString &unit)
{
    QList<Snapshot> visits;
    QString error;
    if (!o.app->history().visits(unit, {}, &visits, &error)) qWarning() << error;
    QList<Snapshot> cleared;
    for (const Snapshot &s : visits)
        if (s.reason == Snapshot::Reason::Clear) cleared << s;
    return cleared;
}

QDialog *clearQuestion(AppBench &o)
{
    return o.window().findChild<QDialog *>(QStringLiteral("Dialog_clear"));
}

} // namespace

class TstSafeClear : public QObject
{
    Q_OBJECT

private slots:
    void escapeSendsNothing_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::addColumn<QString>("asks");
        QTest::newRow("pt") << 0 << "Pôr a zero os totais e contadores da unidade";
        QTest::newRow("en") << 1 << "Zero the takings and counters of unit";
    }
    void escapeSendsNothing()
    {
        QFETCH(int, idioma);
        QFETCH(QString, asks);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        if (idioma == 1) o.window().mnu_EN_Click();
        QVERIFY(o.read());
        const QString total = o.edit().text(QStringLiteral("Text_total00"));
        const uint8_t stored = o.port.device().byte(100);
        SentCommands sent(o.app->link());

        o.click("Command_clear");
        QDialog *question = clearQuestion(o);
        QVERIFY(question && question->isVisible());
        const QString text = question->findChild<QLabel *>()->text();
        QVERIFY2(text.startsWith(asks), qPrintable(text));
        QVERIFY2(text.contains(vx::UnitIdentity::shownMakerNumber(o.edit())), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral(": %1 \u2192 0").arg(total)), qPrintable(text));
        QVERIFY2(text.contains(o.app->clearSnapshots().where()), qPrintable(text));
        // Enter must not erase: "Cancelar" is the default button.
        QVERIFY(question->findChild<QPushButton *>("Command_clear_cancel")->isDefault());
        saveScreenshot(question, idioma == 1 ? "clear-question-en.png" : "clear-question-pt.png");

        QTest::keyClick(question, Qt::Key_Escape);
        QVERIFY(waitFor([&] { return !clearQuestion(o); }));
        // A few more ticks: the polls go on, nothing is written or erased.
        const int polls = sent.count(Command::ReadBattery);
        QVERIFY(waitFor([&] { return sent.count(Command::ReadBattery) >= polls + 3; }));
        QVERIFY(!o.edit().session.limpar_pedido);
        QCOMPARE(sent.count(Command::WriteMemory), 0);
        QCOMPARE(o.edit().text(QStringLiteral("Text_total00")), total);
        QCOMPARE(o.port.device().byte(100), stored);
        QCOMPARE(clearSnapshots(o, unitOf(o)).size(), 0);
        QVERIFY(o.window().control(QStringLiteral("Command_clear"))->isEnabled());
        o.engine().stop();
    }

    void confirmedClearStoresThenErases()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        o.port.device().setByte(100, 9);
        QVERIFY(o.read());
        const QString before = o.edit().text(QStringLiteral("Text_total00"));
        const QString unit = unitOf(o);
        bool reread = false;
        QObject::connect(&o.engine(), &Engine::readFinished, [&] { reread = true; });
        QVERIFY(o.clearAndConfirm());
        // Kept from the read made just before the erase.
        QVERIFY(waitFor([&] { return reread; }));
        const QList<Snapshot> cleared = clearSnapshots(o, unit);
        QCOMPARE(cleared.size(), 1);
        QCOMPARE(cleared.first().values.value("Text_total00"), before);
        QCOMPARE(o.port.device().byte(100), uint8_t(0));
        o.engine().stop();
    }

    void unstorableSnapshotErasesNothing()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        // Another program has taken the history's table away.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tst-safeclear-drop");
            db.setDatabaseName(a.dir.filePath("Registo.db"));
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec("DROP TABLE ServiceSnapshots"));
            db.close();
        }
        QSqlDatabase::removeDatabase("tst-safeclear-drop");
        o.messages.clear();
        const uint8_t stored = o.port.device().byte(100);
        QVERIFY(o.clearAndConfirm());
        QVERIFY(waitFor([&] { return !o.messages.messages.empty(); }));
        QCOMPARE(o.messages.messages.size(), size_t(1));
        const QString m = o.messages.messages[0].text;
        QCOMPARE(o.port.device().byte(100), stored);
        QVERIFY2(m.startsWith(QStringLiteral("Nada foi posto a zero")), qPrintable(m));
        QVERIFY2(m.contains(QStringLiteral("Registo.db")), qPrintable(m));
        QVERIFY(!o.edit().session.limpar_pedido);
        QVERIFY(o.window().control(QStringLiteral("Command_clear"))->isEnabled());
        o.engine().stop();
    }

    // The engine waits in nested loops while the timer is silent: the test
    // moves the clock from the link's own signal.
    void noticeWhileTimerIsSilent()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        LinkNotice *notice = o.window().linkNotice();
        QVERIFY(notice->isHidden());
        int failures = 0;
        bool shownAtLimit = false;
        QString shownText;
        QObject::connect(&o.app->link(), &Link::statsChanged, notice, [&] {
            if (o.app->link().stats.timeoutsSinceAccepted <= quint64(failures)) return;
            failures = static_cast<int>(o.app->link().stats.timeoutsSinceAccepted);
            if (failures == 1) {
                QVERIFY(notice->isHidden());
                o.clock.set(
                    o.clock.now().addMSecs(o.clock.toReal(ConnectionWatcher::kDefaultSilenceMs)));
            } else if (failures == 2) {
                shownAtLimit = notice->isVisible();
                shownText = notice->text();
                saveScreenshot(&o.window(), "notice-pt.png");
                o.port.faults().faults = emu::Fault::None;
            }
        });
        o.port.faults().faults = emu::Fault::NoReply;
        QVERIFY(waitFor([&] { return failures >= 2 && notice->isHidden(); }));
        QVERIFY(shownAtLimit);
        QVERIFY2(shownText.contains(QStringLiteral("não responde")) &&
                     shownText.contains(QStringLiteral("Verifique o cabo")),
                 qPrintable(shownText));
        // A notice, not a message box: the window stayed free the whole time.
        QVERIFY(o.messages.messages.empty());
        o.engine().stop();
    }

    void exportDialogHasTitle_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::addColumn<QString>("title");
        QTest::newRow("pt") << 0 << "Exportar PDF...";
        QTest::newRow("en") << 1 << "Export PDF...";
    }
    void exportDialogHasTitle()
    {
        QFETCH(int, idioma);
        QFETCH(QString, title);
        QCOMPARE(Captions::caption(QStringLiteral("mnu_exportar"), idioma), title);
        QCOMPARE(Captions::caption(QStringLiteral("mnu_relatorio"), idioma),
                 idioma == 1 ? QStringLiteral("Report") : QStringLiteral("Relatório"));
    }
};

VX_TEST_CLASS(TstSafeClear, Widgets)
#include "tst_safeclear.moc"
