// Guards the service history the window keeps: a complete read, a paste
// ("PC -> Pic") and a restore must each leave one snapshot of the unit, the
// paste and restore ones only once the timer has taken the values (what the
// timer holds, not what was about to be sent). A missing snapshot, one taken
// before the write, or a failing history that stops the work is the fault;
// so is a visit the records could not take that is lost, not said, added
// twice or added as of when it finally went in.
#include "appbench.h"
#include "servicehistory.h"
#include "sqlitewritelock.h"
#include "testsuite.h"
#include "visitrecorder.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

using namespace vx;

namespace {

QList<Snapshot> visitsOf(AppBench &o)
{
    QList<Snapshot> out;
    QString error;
    if (!o.app->history().visits(o.edit().text(QStringLiteral("text_numfab_ano")) +
                                     o.edit().text(QStringLiteral("Text_numfab_num")),
                                 o.edit().text(QStringLiteral("Text_sn_apl")), &out, &error))
        qWarning() << error;
    return out;
}

} // namespace

class TstVisitRecorder : public QObject
{
    Q_OBJECT
private slots:
    void readPasteAndRestoreEachLeaveOne()
    {
        PersistentData a;
        Application::Setup setup;
        setup.factoryMenu = true;
        AppBench o(a, setup);
        o.clock.set(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        QList<Snapshot> v = visitsOf(o);
        QCOMPARE(v.size(), 1);
        QCOMPARE(v[0].reason, Snapshot::Reason::Read);
        QCOMPARE(v[0].values.value("Text_S00"), o.edit().text("Text_S00"));
        QCOMPARE(v[0].taken, QDateTime(QDate(2026, 12, 9), QTime(10, 0)));

        // "Pic -> PC", a value changed by hand, "PC -> Pic": the snapshot
        // waits for the write pass.
        o.window().action(QStringLiteral("mnu_copiar"))->trigger();
        o.window().action(QStringLiteral("mnu_colar"))->trigger();
        QCOMPARE(visitsOf(o).size(), 1);
        QVERIFY(waitFor([&] { return visitsOf(o).size() == 2; }));
        QVERIFY(!o.edit().anyPending());
        QCOMPARE(visitsOf(o).last().reason, Snapshot::Reason::Paste);

        // A restore: the value marked, the snapshot holds it once written.
        o.edit().setText(QStringLiteral("Text_S08"), QStringLiteral("3,25"));
        o.edit().mark({QStringLiteral("Text_S08")});
        o.app->visits().recordOnceWritten(Snapshot::Reason::Restore);
        QVERIFY(waitFor([&] { return visitsOf(o).size() == 3; }));
        v = visitsOf(o);
        QCOMPARE(v.last().reason, Snapshot::Reason::Restore);
        QCOMPARE(v.last().values.value("Text_S08"), QStringLiteral("3,25"));
        // The timer holds it too: a new read shows it, and is a visit of its own.
        QVERIFY(o.read());
        QCOMPARE(o.edit().text(QStringLiteral("Text_S08")), QStringLiteral("3,25"));
        QCOMPARE(visitsOf(o).size(), 4);
        o.engine().stop();
    }

    // Monday's read finds the records held by another program: the visit
    // waits on this PC, and the window says where. Tuesday's read goes in,
    // and Monday's behind it, once, as it was taken.
    void lockedRecordsVisitWaitsThenGoesIn()
    {
        PersistentData a;
        a.records.setBusyTimeoutMs(50);
        AppBench o(a);
        QSignalSpy failed(&o.app->visits(), &VisitRecorder::failed);
        const QDateTime monday(QDate(2026, 12, 7), QTime(9, 30));
        o.clock.set(monday);
        QVERIFY(o.startUp());
        {
            SqliteWriteLock lock(a.dir.filePath(QStringLiteral("Registo.db")));
            QVERIFY(lock.active);
            QVERIFY(o.read());
        }
        QCOMPARE(failed.size(), 1);
        const QString said = failed.at(0).at(0).toString();
        QVERIFY2(said.contains(a.dir.filePath(QStringLiteral("records-outbox"))) &&
                     said.contains(QStringLiteral("1 visita(s) à espera")),
                 qPrintable(said));
        QCOMPARE(o.app->visits().waiting(), 1);
        QCOMPARE(visitsOf(o).size(), 0);

        o.clock.set(monday.addDays(1));
        QVERIFY(o.read());
        const QList<Snapshot> v = visitsOf(o);
        QCOMPARE(v.size(), 2);
        QCOMPARE(v[0].taken, monday);
        QCOMPARE(v[1].taken, monday.addDays(1));
        QCOMPARE(o.app->visits().waiting(), 0);
        QCOMPARE(failed.size(), 1);
        o.engine().stop();
    }
};

VX_TEST_CLASS(TstVisitRecorder, Widgets)
#include "tst_visitrecorder.moc"
