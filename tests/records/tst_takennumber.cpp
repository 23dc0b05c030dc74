// "Aceitar" with a running number typed that another unit already has: the
// technician is told which unit has it and the next free number is proposed
// in the box, instead of the message for records that cannot be used. A
// refusal that blames the records, or that leaves the taken number to be
// accepted again, is the fault.
#include "calendar.h"
#include "newunitfixture.h"
#include "testsuite.h"

#include <QTest>

class TstTakenNumber : public QObject
{
    Q_OBJECT

private slots:
    void typedNumberTaken_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("holder"); // its NMec
        QTest::newRow("no meio") << "6" << 11;
        QTest::newRow("o ultimo") << "9" << 12;
    }
    void typedNumberTaken()
    {
        QFETCH(QString, typed);
        QFETCH(int, holder);
        NewUnitFixture m;
        QVERIFY(m.newUnit.prepare());
        const QString code = m.edit.text("text_numfab_ano");
        QString error;
        int nmec = 10;
        for (int nact : {3, 6, 9})
            QVERIFY2(m.a.appendLogRow({nmec++, code + QString::number(nact), nact,
                                       semana_do_ano(1, 2, 2007), QDate(2007, 2, 1), QTime(8, 0)},
                                      &error),
                     qPrintable(error));
        m.msgs.clear();
        m.edit.setText("Text_numfab_num", typed);

        QVERIFY(!m.newUnit.accept());
        QCOMPARE(m.msgs.messages.size(), size_t(1));
        const QString said = m.msgs.messages[0].text;
        QCOMPARE(said, QStringLiteral("O número de fabrico %1%2 já foi dado à unidade com o NMec "
                                      "%3 do registo. O próximo número livre desta semana é o 10, "
                                      "que ficou proposto: carregue de novo em Aceitar para o "
                                      "usar, ou escreva outro.")
                           .arg(code, typed)
                           .arg(holder));
        QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Manutenção"));
        QCOMPARE(m.edit.text("Text_numfab_num"), QStringLiteral("10"));
        QCOMPARE(int(m.edit.session.modo), 1);
        QVERIFY(!m.anyMark());

        // The proposal goes through.
        m.msgs.clear();
        QVERIFY(m.newUnit.accept());
        m.writeAll();
        QVERIFY(m.msgs.messages.empty());
        QCOMPARE(m.lastRow()[0][1].toString(), code + QStringLiteral("10"));
    }
};

VX_TEST_CLASS(TstTakenNumber, Widgets)
#include "tst_takennumber.moc"
