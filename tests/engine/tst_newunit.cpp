// Guards a new unit from the first click to the device's memory: the stored
// defaults and the proposed manufacturing number must reach the timer through
// the write pass, behind the "ESC" banner, and the log must hold the unit,
// but only once the timer has accepted it. A read pending at "Aceitar" that
// replaces the proposal, a unit logged that the timer never got, or a "Lêr"
// that wipes the entry is the fault.
#include "databases.h"
#include "enginebench.h"
#include "newunit.h"
#include "qtrecordsdatabase.h"
#include "recordslocation.h"
#include "testsuite.h"
#include "unitrecords.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vx;

class TstNewUnit : public QObject
{
    Q_OBJECT
private slots:
    void acceptWritesToDevice()
    {
        QTemporaryDir dir;
        Databases databases(dir.path());
        QtRecordsDatabase recordsDb(RecordsLocation::sqliteFile(databases.logFile()),
                                    QtRecordsDatabase::Mode::CreateIfMissing);
        UnitRecords records(recordsDb);
        QVERIFY(records.prepare(nullptr));
        QStringList created;
        QString error;
        QVERIFY2(databases.provision(&created, &error), qPrintable(error));

        EngineBench b;
        b.clock.set(QDateTime(QDate(2024, 3, 13), QTime(10, 30, 5))); // week 11
        QVERIFY(b.readAll());
        b.edit.setText("Text_S00", "1,25");
        b.edit.setText("Text_pwdrelogio", "4321");
        b.edit.setText("Text_contador", "12");
        QVERIFY(databases.writeSettings(
            {{"TarS00", "1,25"}, {"PwdRelogio", "4321"}, {"Contador", "12"}}, &error));

        NewUnit newUnit(b.edit, b.engine, databases, records, b.messages, b.clock);
        QVERIFY(newUnit.prepare());
        QVERIFY(!b.engine.active());
        QCOMPARE(b.edit.text("text_numfab_ano"), QStringLiteral("A2411"));
        QCOMPARE(b.edit.text("Text_numfab_num"), QStringLiteral("1"));
        QCOMPARE(b.edit.text("Text_act_data"), QStringLiteral("13-03-2024"));
        b.requests();
        QVERIFY(newUnit.accept());
        QVERIFY(b.engine.active());
        LastLogRow last;
        QVERIFY(records.readLastLogRow(&last, &error));
        QVERIFY(!last.exists); // not before the timer has it

        bool written = false;
        QObject::connect(&b.engine, &Engine::tickFinished,
                         [&] { written = written || !b.edit.anyPending(); });
        QVERIFY(EngineBench::waitFor([&] { return written; }));
        // The first tick shows the banner, then writes.
        QStringList display;
        for (const QByteArray &p : b.requests())
            display << describe(p);
        QCOMPARE(display.mid(0, 3), (QStringList{"10,4,69", "10,3,83", "10,2,67"}));
        QVERIFY(!display.contains("10,1,46")); // no write mark with the banner
        QCOMPARE(b.device().number(4, 2), 125u);
        QCOMPARE(b.device().number(2, 2), 4321u);
        QCOMPARE(b.device().number(53, 2), 12u);
        QCOMPARE(b.device().byte(43), uint8_t(1));
        QCOMPARE(b.device().byte(44), uint8_t(11));
        QCOMPARE(b.device().byte(45), uint8_t(24));
        QCOMPARE(b.device().byte(46), uint8_t('A'));
        QCOMPARE(b.device().byte(26), uint8_t(13));
        QCOMPARE(b.device().number(47, 4), 0u);

        QVERIFY(records.readLastLogRow(&last, &error));
        QCOMPARE(last.NMec, 1);
        QCOMPARE(int(last.NAct), 1);
    }

    // "Novo" pressed while an erase was under way: the erase ends by asking
    // for a read, which is still pending at "Aceitar". The unit must be
    // written and logged first, and the read then shows what the timer holds.
    void pendingReadAfterUnit()
    {
        QTemporaryDir dir;
        Databases databases(dir.path());
        QtRecordsDatabase recordsDb(RecordsLocation::sqliteFile(databases.logFile()),
                                    QtRecordsDatabase::Mode::CreateIfMissing);
        UnitRecords records(recordsDb);
        QVERIFY(records.prepare(nullptr));
        QString error;
        QVERIFY2(databases.provision(nullptr, &error), qPrintable(error));
        QVERIFY(databases.writeSettings({{"TarS00", "2,75"}, {"Contador", "33"}}, &error));
        EngineBench b;
        b.clock.set(QDateTime(QDate(2024, 3, 13), QTime(10, 30, 5))); // week 11
        NewUnit newUnit(b.edit, b.engine, databases, records, b.messages, b.clock);
        QVERIFY(b.readAll());

        bool prepared = false;
        QObject::connect(&b.link, &Link::requestSent, [&](const QByteArray &f) {
            if (prepared || describe(f) != "2,100,1") return;
            prepared = true;
            QTimer::singleShot(0, [&] { QVERIFY(newUnit.prepare()); });
        });
        int ticks = 0;
        QObject::connect(&b.engine, &Engine::tickFinished, [&] { ++ticks; });
        b.engine.Command_clear_Click();
        QVERIFY(EngineBench::waitFor([&] { return prepared && !b.engine.active() && ticks > 0; }));
        QCOMPARE(int(b.edit.session.modo), 1);
        QVERIFY(b.edit.session.ler_pedido);
        QCOMPARE(b.edit.text("Text_S00"), QStringLiteral("2,75"));

        bool readDone = false, logged = false, writtenBeforeRead = false;
        QObject::connect(&newUnit, &NewUnit::unitLogged, [&] { logged = true; });
        QObject::connect(&b.engine, &Engine::readFinished, [&] {
            readDone = true;
            writtenBeforeRead = logged;
        });
        QVERIFY(newUnit.accept());
        QVERIFY(EngineBench::waitFor([&] { return readDone; }));
        QVERIFY(writtenBeforeRead);
        QCOMPARE(b.device().number(4, 2), 275u);
        QCOMPARE(b.device().number(53, 2), 33u);
        QCOMPARE(b.device().byte(44), uint8_t(11));
        QCOMPARE(b.edit.text("Text_S00"), QStringLiteral("2,75"));
        QCOMPARE(b.edit.text("text_numfab_ano"), QStringLiteral("A2411"));
        LastLogRow last;
        QVERIFY(records.readLastLogRow(&last, &error));
        QCOMPARE(last.NMec, 1);
        b.engine.stop();
    }

    // "Lêr" during entry would blank the proposal and start a read over it.
    void readDuringEntryDoesNothing()
    {
        QTemporaryDir dir;
        Databases databases(dir.path());
        QtRecordsDatabase recordsDb(RecordsLocation::sqliteFile(databases.logFile()),
                                    QtRecordsDatabase::Mode::CreateIfMissing);
        UnitRecords records(recordsDb);
        QVERIFY(records.prepare(nullptr));
        QVERIFY(databases.provision(nullptr, nullptr));
        EngineBench b;
        NewUnit newUnit(b.edit, b.engine, databases, records, b.messages, b.clock);
        QVERIFY(newUnit.prepare());
        const QString proposal = b.edit.text("text_numfab_ano");
        b.engine.Command_ler_Click();
        QCOMPARE(int(b.edit.session.modo), 1);
        QVERIFY(!b.edit.session.ler_pedido);
        QVERIFY(!b.engine.active());
        QCOMPARE(b.edit.text("text_numfab_ano"), proposal);
        QCOMPARE(b.edit.text("Text_S00"), QStringLiteral("0,00"));
    }

    // The program ends while the unit is being written: the timer does not
    // hold it, so the log must not either.
    void exitMidWriteLogsNothing()
    {
        QTemporaryDir dir;
        Databases databases(dir.path());
        QtRecordsDatabase recordsDb(RecordsLocation::sqliteFile(databases.logFile()),
                                    QtRecordsDatabase::Mode::CreateIfMissing);
        UnitRecords records(recordsDb);
        QVERIFY(records.prepare(nullptr));
        QString error;
        QVERIFY(databases.provision(nullptr, &error));
        EngineBench b;
        NewUnit newUnit(b.edit, b.engine, databases, records, b.messages, b.clock);
        QVERIFY(b.readAll());
        QVERIFY(newUnit.prepare());
        int writes = 0;
        QObject::connect(&b.link, &Link::requestSent, [&](const QByteArray &f) {
            if (describe(f).startsWith("2,") && ++writes == 5) b.end.endProgram();
        });
        QVERIFY(newUnit.accept());
        QVERIFY(EngineBench::waitFor([&] { return b.end.ended(); }));
        QVERIFY(newUnit.unitPending());
        LastLogRow last;
        QVERIFY(records.readLastLogRow(&last, &error));
        QVERIFY(!last.exists);
    }
};

VX_TEST_CLASS(TstNewUnit, Core)
#include "tst_newunit.moc"
