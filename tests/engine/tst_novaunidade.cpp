// Guards a new unit from the first click to the device's memory: the stored
// defaults and the proposed manufacturing number must reach the timer through
// the write pass, behind the "ESC" banner, and the log must hold the unit,
// but only once the timer has accepted it. A read pending at "Aceitar" that
// replaces the proposal, a unit logged that the timer never got, or a "Lêr"
// that wipes the entry is the fault.
#include "bancada.h"
#include "bases.h"
#include "novaunidade.h"
#include "sqliterecordstore.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
        UltimoRegisto ultimo;
        QVERIFY(bases.lerUltimoRegisto(&ultimo, &erro));
        QVERIFY(!ultimo.existe); // not before the timer has it

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

        QVERIFY(bases.lerUltimoRegisto(&ultimo, &erro));
        QCOMPARE(ultimo.NMec, 1);
        QCOMPARE(int(ultimo.NAct), 1);
    }

    // "Novo" pressed while an erase was under way: the erase ends by asking
    // for a read, which is still pending at "Aceitar". The unit must be
    // written and logged first, and the read then shows what the timer holds.
    void leitura_pendente_depois_da_unidade()
    {
        QTemporaryDir dir;
        SqliteRecordStore store;
        Bases bases(store, dir.path());
        QString erro;
        QVERIFY2(bases.provisionar(nullptr, &erro), qPrintable(erro));
        QVERIFY(bases.gravarDefinicoes({{"TarS00", "2,75"}, {"Contador", "33"}}, &erro));
        Bancada b;
        b.relogio.set(QDateTime(QDate(2024, 3, 13), QTime(10, 30, 5))); // week 11
        NovaUnidade nova(b.edit, bases, b.mensagens, b.relogio);
        QVERIFY(b.lerTudo());

        bool preparado = false;
        QObject::connect(&b.link, &Link::pedidoEnviado, [&](const QByteArray &f) {
            if (preparado || descrever(f) != "2,100,1") return;
            preparado = true;
            QTimer::singleShot(0, [&] { QVERIFY(nova.preparar()); });
        });
        int ticks = 0;
        QObject::connect(&b.motor, &Engine::tickTerminado, [&] { ++ticks; });
        b.motor.Command_clear_Click();
        QVERIFY(Bancada::esperar([&] { return preparado && !b.motor.activo() && ticks > 0; }));
        QCOMPARE(int(b.edit.sessao.modo), 1);
        QVERIFY(b.edit.sessao.ler_pedido);
        QCOMPARE(b.edit.text("Text_S00"), QStringLiteral("2,75"));

        bool lido = false, registado = false, escritoAntesDaLeitura = false;
        QObject::connect(&nova, &NovaUnidade::unitLogged, [&] { registado = true; });
        QObject::connect(&b.motor, &Engine::leituraTerminada, [&] {
            lido = true;
            escritoAntesDaLeitura = registado;
        });
        QVERIFY(nova.aceitar());
        QVERIFY(Bancada::esperar([&] { return lido; }));
        QVERIFY(escritoAntesDaLeitura);
        QCOMPARE(b.device().number(4, 2), 275u);
        QCOMPARE(b.device().number(53, 2), 33u);
        QCOMPARE(b.device().byte(44), uint8_t(11));
        QCOMPARE(b.edit.text("Text_S00"), QStringLiteral("2,75"));
        QCOMPARE(b.edit.text("text_numfab_ano"), QStringLiteral("A2411"));
        UltimoRegisto ultimo;
        QVERIFY(bases.lerUltimoRegisto(&ultimo, &erro));
        QCOMPARE(ultimo.NMec, 1);
        b.motor.parar();
    }

    // "Lêr" during entry would blank the proposal and start a read over it.
    void ler_durante_a_entrada_nao_faz_nada()
    {
        QTemporaryDir dir;
        SqliteRecordStore store;
        Bases bases(store, dir.path());
        QVERIFY(bases.provisionar(nullptr, nullptr));
        Bancada b;
        NovaUnidade nova(b.edit, bases, b.mensagens, b.relogio);
        QVERIFY(nova.preparar());
        const QString proposta = b.edit.text("text_numfab_ano");
        b.motor.Command_ler_Click();
        QCOMPARE(int(b.edit.sessao.modo), 1);
        QVERIFY(!b.edit.sessao.ler_pedido);
        QVERIFY(!b.motor.activo());
        QCOMPARE(b.edit.text("text_numfab_ano"), proposta);
        QCOMPARE(b.edit.text("Text_S00"), QStringLiteral("0,00"));
    }

    // The program ends while the unit is being written: the timer does not
    // hold it, so the log must not either.
    void saida_a_meio_da_escrita_nao_regista()
    {
        QTemporaryDir dir;
        SqliteRecordStore store;
        Bases bases(store, dir.path());
        QString erro;
        QVERIFY(bases.provisionar(nullptr, &erro));
        Bancada b;
        NovaUnidade nova(b.edit, bases, b.mensagens, b.relogio);
        QVERIFY(b.lerTudo());
        QVERIFY(nova.preparar());
        int escritas = 0;
        QObject::connect(&b.link, &Link::pedidoEnviado, [&](const QByteArray &f) {
            if (descrever(f).startsWith("2,") && ++escritas == 5) b.fim.endProgram();
        });
        QVERIFY(nova.aceitar());
        QVERIFY(Bancada::esperar([&] { return b.fim.ended(); }));
        QVERIFY(nova.unitPending());
        UltimoRegisto ultimo;
        QVERIFY(bases.lerUltimoRegisto(&ultimo, &erro));
        QVERIFY(!ultimo.existe);
    }
};

QTEST_GUILESS_MAIN(TstNovaUnidade)
#include "tst_novaunidade.moc"
