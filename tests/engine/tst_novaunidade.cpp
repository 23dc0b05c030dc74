// Guards a new unit from the first click to the device's memory: the stored
// defaults and the proposed manufacturing number must reach the timer through
// the write pass, behind the "ESC" banner, and the log must hold the unit.
#include "bancada.h"
#include "bases.h"
#include "novaunidade.h"
#include "sqliterecordstore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vx;

class TstNovaUnidade : public QObject
{
    Q_OBJECT
private slots:
    void aceitar_escreve_no_dispositivo()
    {
        QTemporaryDir dir;
        SqliteRecordStore store;
        Bases bases(store, dir.path());
        QStringList criados;
        QString erro;
        QVERIFY2(bases.provisionar(&criados, &erro), qPrintable(erro));

        Bancada b;
        b.relogio.set(QDateTime(QDate(2024, 3, 13), QTime(10, 30, 5))); // week 11
        QVERIFY(b.lerTudo());
        b.edit.setText("Text_S00", "1,25");
        b.edit.setText("Text_pwdrelogio", "4321");
        b.edit.setText("Text_contador", "12");
        QVERIFY(bases.gravarDefinicoes(
            {{"TarS00", "1,25"}, {"PwdRelogio", "4321"}, {"Contador", "12"}}, &erro));

        NovaUnidade nova(b.edit, bases, b.mensagens, b.relogio);
        QVERIFY(nova.preparar());
        QVERIFY(!b.motor.activo());
        QCOMPARE(b.edit.text("text_numfab_ano"), QStringLiteral("A2411"));
        QCOMPARE(b.edit.text("Text_numfab_num"), QStringLiteral("1"));
        QCOMPARE(b.edit.text("Text_act_data"), QStringLiteral("13-03-2024"));
        b.pedidos();
        QVERIFY(nova.aceitar());
        QVERIFY(b.motor.activo());

        bool escrito = false;
        QObject::connect(&b.motor, &Engine::tickTerminado,
                         [&] { escrito = escrito || !b.edit.algumPendente(); });
        QVERIFY(Bancada::esperar([&] { return escrito; }));
        // The first tick shows the banner, then writes.
        QStringList visor;
        for (const QByteArray &p : b.pedidos())
            visor << descrever(p);
        QCOMPARE(visor.mid(0, 3), (QStringList{"10,4,69", "10,3,83", "10,2,67"}));
        QVERIFY(!visor.contains("10,1,46")); // no write mark with the banner
        QCOMPARE(b.device().number(4, 2), 125u);
        QCOMPARE(b.device().number(2, 2), 4321u);
        QCOMPARE(b.device().number(53, 2), 12u);
        QCOMPARE(b.device().byte(43), uint8_t(1));
        QCOMPARE(b.device().byte(44), uint8_t(11));
        QCOMPARE(b.device().byte(45), uint8_t(24));
        QCOMPARE(b.device().byte(46), uint8_t('A'));
        QCOMPARE(b.device().byte(26), uint8_t(13));
        QCOMPARE(b.device().number(47, 4), 0u);

        UltimoRegisto ultimo;
        QVERIFY(bases.lerUltimoRegisto(&ultimo, &erro));
        QCOMPARE(ultimo.NMec, 1);
        QCOMPARE(int(ultimo.NAct), 1);
    }
};

QTEST_GUILESS_MAIN(TstNovaUnidade)
#include "tst_novaunidade.moc"
