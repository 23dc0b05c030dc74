// "Aceitar" of a new unit, on the model. Guards against a log row with the
// wrong running count, running number, week or time, a typed number the log
// cannot hold, a log row, flags or a started engine left behind by a refused
// or failed acceptance, buttons left in the wrong state, and a unit logged
// before the timer has accepted every one of its values or replaced by a
// read that was pending. (The write pass itself is the engine's and is tested
// with it; here the test plays its part.)
#include "newunitfixture.h"
#include "tables.h"
#include "testsuite.h"

#include <QFile>
#include <QTest>

class TstAcceptUnit : public QObject
{
    Q_OBJECT

private slots:
    void accept_data();
    void accept();
    void acceptWithEngineRunningDoesNotRestartIt();
    void twoOnTheSameDay();
    void refusals_data();
    void refusals();
    void acceptFailure_data();
    void acceptFailure();
    void logWaitsForEveryValue();
    void pendingReadBlocksStart();
    void readRequestedMeanwhileWaitsForUnit();
};

void TstAcceptUnit::accept_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("nact");
    QTest::newRow("as-proposed") << "4" << 4;
    QTest::newRow("below-proposal-keeps-last") << "2" << 3;
    QTest::newRow("zero-keeps-last") << "0" << 3;
    QTest::newRow("above-proposal") << "7" << 7;
    QTest::newRow("255") << "255" << 255;
}

void TstAcceptUnit::accept()
{
    QFETCH(QString, written);
    QFETCH(int, nact);
    NewUnitFixture m;
    m.log(10, 3, 5, QDate(2007, 2, 1));
    QVERIFY(m.newUnit.prepare());
    m.msgs.clear();
    m.edit.setText("Text_numfab_num", written);
    // Accepted on the next Sunday: week and time are those of the acceptance.
    m.clock.set(QDateTime(QDate(2007, 2, 4), QTime(0, 1, 2)));

    QVERIFY(m.newUnit.accept());
    QCOMPARE(m.rows(), 1); // nothing logged before the timer has the unit
    QVERIFY(m.newUnit.unitPending());
    // The flags are checked before the write pass takes them.
    const Session &s = m.edit.session;
    for (const Field &c : kFields)
        QCOMPARE(m.edit.pending(toQString(c.name)), c.name != "Text_sn_apl");
    m.clock.set(QDateTime(QDate(2007, 2, 5), QTime(7, 0))); // the write takes a while
    m.writeAll();
    QVERIFY(!m.newUnit.unitPending());

    QVERIFY(m.msgs.messages.empty());
    const auto l = m.lastRow();
    QCOMPARE(l.size(), 1);
    QCOMPARE(l[0][0].toInt(), 11);
    QCOMPARE(l[0][1].toString(), "A0705" + written);
    QCOMPARE(l[0][2].toInt(), nact);
    QCOMPARE(l[0][3].toInt(), 6);
    QCOMPARE(l[0][4].toString(), QStringLiteral("2007-02-04"));
    QCOMPARE(l[0][5].toString(), QStringLiteral("00:01:02"));

    QCOMPARE(int(s.modo), 2);
    QVERIFY(m.edit.alteracao_pendente);
    QVERIFY(s.escrever_pedido);
    QVERIFY(s.banner_esc);
    QCOMPARE(m.engine.starts, 1);
    QVERIFY(!m.edit.control("Command_ler").enabled);
    QVERIFY(!m.edit.control("Command_testar").enabled);
    QVERIFY(!m.edit.control("Command_novo").enabled);
    QVERIFY(m.edit.control("command_copy1").enabled);
    QCOMPARE(m.edit.text("Command_sair"), QStringLiteral("Fechar"));
    QCOMPARE(m.edit.text("Command_novo"), QStringLiteral("&Novo"));
    QVERIFY(!m.edit.control("text_numfab_ano").enabled);
    QVERIFY(!m.edit.control("Text_numfab_num").enabled);

    QVERIFY(!m.newUnit.accept()); // modo 2 now
    QCOMPARE(m.rows(), 2);
}

void TstAcceptUnit::acceptWithEngineRunningDoesNotRestartIt()
{
    NewUnitFixture m;
    QVERIFY(m.newUnit.prepare());
    m.engine.running = true;
    QVERIFY(m.newUnit.accept());
    QCOMPARE(m.engine.starts, 0);
}

void TstAcceptUnit::twoOnTheSameDay()
{
    NewUnitFixture m;
    for (int attempt = 1; attempt <= 2; ++attempt) {
        m.clock.set(QDateTime(QDate(2007, 2, 1), QTime(9, attempt)));
        QVERIFY(m.newUnit.prepare());
        QCOMPARE(m.edit.text("Text_numfab_num"), QString::number(attempt));
        QVERIFY(m.newUnit.accept());
        m.writeAll();
    }
    const auto l = DataFolder::sql(m.a.databases.logFile(),
                                   {"SELECT NMec, NFab, NAct FROM TbRegisto ORDER BY ordem"});
    QCOMPARE(l.size(), 2);
    QCOMPARE(l[0], (QVariantList{1, "A07051", 1}));
    QCOMPARE(l[1], (QVariantList{2, "A07052", 2}));
}

void TstAcceptUnit::refusals_data()
{
    QTest::addColumn<QString>("ano");
    QTest::addColumn<QString>("num");
    QTest::newRow("256") << "A0705"
                         << "256";
    QTest::newRow("negative") << "A0705"
                              << "-1";
    QTest::newRow("empty") << "A0705"
                           << "";
    QTest::newRow("letters") << "A0705"
                             << "abc";
    QTest::newRow("decimal") << "A0705"
                             << "1,5";
    QTest::newRow("placeholder") << "A0705"
                                 << "-";
    QTest::newRow("short-code") << "A07"
                                << "1";
    QTest::newRow("code-placeholder") << "-"
                                      << "1";
}

void TstAcceptUnit::refusals()
{
    QFETCH(QString, ano);
    QFETCH(QString, num);
    NewUnitFixture m;
    m.log(10, 3, 5, QDate(2007, 2, 1));
    QVERIFY(m.newUnit.prepare());
    m.msgs.clear();
    m.edit.setText("text_numfab_ano", ano);
    m.edit.setText("Text_numfab_num", num);
    const int starts = m.engine.starts;

    QVERIFY(!m.newUnit.accept());

    QCOMPARE(m.msgs.messages.size(), size_t(1));
    QCOMPARE(m.msgs.messages[0].text, kInvalid);
    QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Manutenção"));
    QCOMPARE(m.msgs.messages[0].icon, MessageSink::Icon::None);
    QCOMPARE(int(m.edit.session.modo), 1);
    QCOMPARE(m.rows(), 1);
    QVERIFY(!m.anyMark());
    QVERIFY(!m.edit.session.escrever_pedido);
    QCOMPARE(m.engine.starts, starts);
    QCOMPARE(m.edit.text("Command_novo"), QStringLiteral("Aceitar"));
    QCOMPARE(m.edit.text("Text_numfab_num"), num);

    // Corrected, it goes through.
    m.edit.setText("text_numfab_ano", "A0705");
    m.edit.setText("Text_numfab_num", "4");
    QVERIFY(m.newUnit.accept());
    m.writeAll();
    QCOMPARE(m.rows(), 2);
}

void TstAcceptUnit::acceptFailure_data()
{
    QTest::addColumn<bool>("erase"); // removed, or held by another program
    QTest::newRow("missing") << true;
    QTest::newRow("locked") << false;
}

void TstAcceptUnit::acceptFailure()
{
    QFETCH(bool, erase);
    NewUnitFixture m;
    m.log(10, 3, 5, QDate(2007, 2, 1));
    QVERIFY(m.newUnit.prepare());
    m.msgs.clear();
    const QString file = m.a.databases.logFile();
    std::unique_ptr<DataFolder::WriteLock> lock;
    if (erase) {
        QVERIFY(QFile::remove(file));
    } else {
        lock = std::make_unique<DataFolder::WriteLock>(file);
        QVERIFY(lock->active);
    }
    const int starts = m.engine.starts;

    QVERIFY(!m.newUnit.accept());

    QCOMPARE(m.msgs.messages.size(), size_t(1));
    QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Mensagem de Erro!"));
    QCOMPARE(m.msgs.messages[0].icon, MessageSink::Icon::Critical);
    QVERIFY2(m.msgs.messages[0].text.contains("Registo.db"), qPrintable(m.msgs.messages[0].text));
    QCOMPARE(int(m.edit.session.modo), 1);
    QVERIFY(!m.anyMark());
    QVERIFY(!m.edit.session.escrever_pedido);
    QVERIFY(!m.edit.session.banner_esc);
    QCOMPARE(m.engine.starts, starts);
    QCOMPARE(m.edit.text("Command_novo"), QStringLiteral("Aceitar"));
    QCOMPARE(m.edit.text("Command_sair"), QStringLiteral("Cancelar"));
    QVERIFY(!m.newUnit.unitPending());
    lock.reset();
    if (erase)
        QVERIFY(!QFile::exists(file));
    else
        QCOMPARE(m.rows(), 1);
}

// The row is appended when the last value is accepted, not before: a write
// that got no accepted reply keeps the unit waiting, and so does a value the
// write pass refused until the technician has corrected and confirmed it.
void TstAcceptUnit::logWaitsForEveryValue()
{
    NewUnitFixture m;
    m.log(10, 3, 5, QDate(2007, 2, 1));
    QVERIFY(m.newUnit.prepare());
    m.msgs.clear();
    QVERIFY(m.newUnit.accept());
    int loggedCount = 0;
    QObject::connect(&m.newUnit, &NewUnit::unitLogged, [&] { ++loggedCount; });

    m.writeAll({"Text_contador", "text_numfab_ano"});
    QCOMPARE(m.rows(), 1);
    QCOMPARE(loggedCount, 0);
    auto missing = m.newUnit.unwrittenFields();
    missing.sort();
    QCOMPARE(missing, (QStringList{"Text_contador", "text_numfab_ano"}));
    // Other writes of the same fields later on: each counts once accepted.
    m.edit.mark(fieldIndex("Text_contador"));
    m.writeAll();
    QCOMPARE(m.rows(), 1);
    m.edit.mark(fieldIndex("text_numfab_ano"));
    m.writeAll();
    QCOMPARE(m.rows(), 2);
    QCOMPARE(loggedCount, 1);
    QCOMPARE(m.lastRow()[0][1].toString(), QStringLiteral("A07054"));
    // Nothing more is logged for later writes.
    m.edit.mark(fieldIndex("Text_contador"));
    m.writeAll();
    QCOMPARE(m.rows(), 2);
    QVERIFY(m.msgs.messages.empty());
}

// "Lêr" and then "Novo" before the engine reached the read: the read would
// replace the proposal at the next tick, so "Novo" waits for it.
void TstAcceptUnit::pendingReadBlocksStart()
{
    NewUnitFixture m;
    m.edit.session.ler_pedido = true;
    m.edit.setText("Text_S00", "3,00");
    QVERIFY(!m.newUnit.prepare());
    QCOMPARE(m.msgs.texts(), QStringList{NewUnit::msgReadPending()});
    QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Manutenção"));
    QCOMPARE(int(m.edit.session.modo), 2);
    QVERIFY(m.edit.session.ler_pedido);
    QCOMPARE(m.engine.stops, 0);
    QCOMPARE(m.edit.text("Text_S00"), QStringLiteral("3,00"));
    QCOMPARE(m.edit.text("Command_novo"), QStringLiteral("Novo"));
    // Once the read has run, "Novo" goes ahead.
    m.edit.session.ler_pedido = false;
    QVERIFY(m.newUnit.prepare());
}

// A read requested while the unit was being entered (by the end of an erase
// that was under way at "Novo") runs only once the timer holds the unit: run
// first, it would fill the window from the old unit and lower every mark.
void TstAcceptUnit::readRequestedMeanwhileWaitsForUnit()
{
    NewUnitFixture m;
    QVERIFY(m.newUnit.prepare());
    m.edit.session.ler_pedido = true;
    QVERIFY(m.newUnit.accept());
    QVERIFY(!m.edit.session.ler_pedido);
    QVERIFY(m.anyMark());
    m.writeAll({"Text_prog"});
    QVERIFY(!m.edit.session.ler_pedido);
    m.edit.mark(fieldIndex("Text_prog"));
    m.writeAll();
    QCOMPARE(m.rows(), 1);
    QVERIFY(m.edit.session.ler_pedido);
}

VX_TEST_CLASS(TstAcceptUnit, Widgets)
#include "tst_acceptunit.moc"
