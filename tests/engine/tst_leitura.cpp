// Guards reading the device: the order of the frames of a tick, which bytes
// feed which field and how they become text, the buttons a read gives back,
// and what "Sair", impulses and the display test leave behind. A slip here
// shows the technician wrong values or writes placeholders into the timer.
#include "bancada.h"
#include "frame.h"

#include <QLocale>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace vx;

class TstLeitura : public QObject
{
    Q_OBJECT

    static QStringList descritos(const QList<QByteArray> &ps)
    {
        QStringList out;
        for (const QByteArray &p : ps)
            out << descrever(p);
        return out;
    }

private slots:
    void primeiro_tick()
    {
        Bancada b;
        b.device().setByte(24, 0); // no iButton: no extra read of 187
        QStringList frames;
        QObject::connect(&b.motor, &Engine::tickTerminado, [&] {
            b.motor.parar();
            frames = descritos(b.pedidos());
        });
        b.motor.Command_ler_Click();
        QVERIFY(Bancada::esperar([&] { return !frames.isEmpty(); }));

        QStringList esperado{"10,9,12", "3,0,0", "7,0,0", "8,0,0", "9,0,6"};
        for (int p = 0; p < 10; ++p)
            esperado << QStringLiteral("10,%1,12").arg(p);
        esperado << "10,4,65"
                 << "10,3,32"
                 << "10,2,76"
                 << "10,1,69"
                 << "10,0,114";
        for (int p = 9; p >= 5; --p)
            esperado << QStringLiteral("10,%1,13").arg(p);
        const int leituras[][2] = {{0, 2},  {2, 2},  {4, 2},  {6, 2},  {8, 2},  {10, 2}, {12, 2},
                                   {14, 2}, {16, 2}, {18, 2}, {20, 2}, {22, 2}, {24, 1}, {25, 1},
                                   {26, 5}, {91, 5}, {31, 1}, {32, 3}, {37, 3}, {40, 3}, {43, 4},
                                   {47, 6}, {53, 2}, {55, 3}, {58, 3}, {61, 3}, {64, 3}, {67, 3},
                                   {70, 2}, {72, 2}, {74, 2}, {96, 3}, {198, 1}};
        for (const auto &l : leituras)
            esperado << QStringLiteral("1,%1,%2").arg(l[0]).arg(l[1]);
        esperado << "2,91,3"
                 << "2,94,2";
        for (int p = 0; p < 10; ++p)
            esperado << QStringLiteral("10,%1,12").arg(p);
        QCOMPARE(frames.mid(0, esperado.size()), esperado);
        QCOMPARE(b.edit.sessao.pos_cursor, uint8_t(0));
        // The stamp is the PC's date and time (FixedClock: 01-12-2026 14:05).
        QCOMPARE(b.device().byte(91), uint8_t(1));
        QCOMPARE(b.device().byte(92), uint8_t(12));
        QCOMPARE(b.device().byte(93), uint8_t(26));
        QCOMPARE(b.device().byte(94), uint8_t(14));
        QCOMPARE(b.device().byte(95), uint8_t(5));
        QVERIFY(!b.edit.algumPendente());
    }

    void campos_data()
    {
        QTest::addColumn<int>("endereco");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("texto");
        auto row = [](const char *nome, int a, QByteArray b, const char *c, const char *t) {
            QTest::newRow(nome) << a << b << QString::fromUtf8(c) << QString::fromUtf8(t);
        };
        row("pwd tarifas 7", 0, QByteArray("\x07\x00", 2), "Text_pwdtarifas", "0007");
        row("pwd relogio 99", 2, QByteArray("\x63\x00", 2), "Text_pwdrelogio", "0099");
        row("pwd 999", 0, QByteArray("\xE7\x03", 2), "Text_pwdtarifas", "0999");
        row("pwd 1000", 2, QByteArray("\xE8\x03", 2), "Text_pwdrelogio", "1000");
        row("pwd zero", 2, QByteArray("\x00\x00", 2), "Text_pwdrelogio", "0000");
        row("pwd 5 digitos", 0, QByteArray("\x39\x30", 2), "Text_pwdtarifas", "12345");
        row("tarifa 100,00", 4, QByteArray("\x10\x27", 2), "Text_S00", "100,00");
        row("tarifa max", 22, QByteArray("\xFF\xFF", 2), "Text_F20", "655,35");
        row("tarifa 12,05", 10, QByteArray("\xB5\x04", 2), "Text_S15", "12,05");
        row("fraccao 200", 31, QByteArray("\xC8"), "Text_fracao", "200");
        row("acumulado", 32, QByteArray("\x40\x42\x0F", 3), "Text_acumulado", "10000,00");
        row("a pagar", 37, QByteArray("\x05\x00\x00", 3), "Text_a_pagar", "0,05");
        row("parcial", 40, QByteArray("\xFF\xFF\xFF", 3), "Text_parcial", "167772,15");
        row("numero", 43, QByteArray("\x07\x0C\x18\x41", 4), "Text_numfab_num", "07");
        row("codigo", 43, QByteArray("\x07\x0C\x18\x41", 4), "text_numfab_ano", "A2412");
        row("ibutton", 47, QByteArray("\x10\x32\x54\x76\x98\xBA", 6), "Text_ibut", "BA9876543210");
        row("ibutton vazio", 47, QByteArray(6, '\0'), "Text_ibut", "-");
        row("contador", 53, QByteArray("\xE8\x03", 2), "Text_contador", "1000");
        row("total 20", 67, QByteArray("\x01\x00\x00", 3), "Text_total20", "0,01");
        row("power zero", 70, QByteArray("\x00\x00", 2), "Text_power", "-1");
        row("power 10", 70, QByteArray("\x0A\x00", 2), "Text_power", "9");
        row("jogos", 72, QByteArray("\x34\x12", 2), "Text_aberturas", "4660");
        row("prog so b0", 74, QByteArray("\x05\x09", 2), "Text_prog", "5");
        row("aplicacao", 96, QByteArray("\x40\xE2\x01", 3), "Text_sn_apl", "123456");
        row("actualizacao", 26, QByteArray("\x05\x03\x18\x09\x07", 5), "Text_act_data",
            "05-03-2024");
        row("actualizacao hora", 26, QByteArray("\x05\x03\x18\x09\x07", 5), "Text_act_hora",
            "09:07");
        row("actualizacao zero", 26, QByteArray(5, '\0'), "Text_act_data", "-");
        row("actualizacao hora zero", 26, QByteArray(5, '\0'), "Text_act_hora", "-");
        row("manutencao zero", 91, QByteArray(5, '\0'), "Text_master_ibut", "00-00-2000 @ 00:00");
        row("manutencao", 91, QByteArray("\x1F\x0C\x19\x17\x3B", 5), "Text_master_ibut",
            "31-12-2025 @ 23:59");
        row("versao 4", 198, QByteArray("\x04"), "Form_main", "Manutenção VX308 v3.5.5");
        row("versao 1", 198, QByteArray("\x01"), "Form_main", "Manutenção VX308 v3.5.2");
        row("versao 9", 198, QByteArray("\x09"), "Form_main", "Manutenção VX308 v3.5.1");
        row("versao 1A", 198, QByteArray("\x1A"), "Form_main", "Manutenção VX308 v3.5.2");
        row("versao A1", 198, QByteArray("\xA1"), "Form_main", "Manutenção VX308 v3.5.1");
    }
    void campos()
    {
        QFETCH(int, endereco);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, campo);
        QFETCH(QString, texto);
        Bancada b;
        for (int i = 0; i < bytes.size(); ++i)
            b.device().setByte(endereco + i, uint8_t(bytes.at(i)));
        QVERIFY(b.lerTudo());
        QCOMPARE(b.edit.text(campo), texto);
        QVERIFY(b.mensagens.messages.empty());
    }

    void ibutton_e_contador()
    {
        Bancada b;
        b.device().setByte(24, 1);
        b.device().setByte(187, 0);
        b.device().setByte(25, 1);
        QVERIFY(b.lerTudo());
        QVERIFY(b.edit.checked("Check_ibut"));
        QCOMPARE(b.edit.text("Check_ibut"), QStringLiteral("iButton de Apagar"));
        QVERIFY(b.edit.checked("Check_contador"));
        // The read ticked both boxes but leaves no value to write.
        QVERIFY(!b.edit.algumPendente());
        b.device().setByte(187, 5);
        QVERIFY(b.lerTudo());
        QCOMPARE(b.edit.text("Check_ibut"), QStringLiteral("iButton de Dados"));
        b.device().setByte(24, 0);
        QVERIFY(b.lerTudo());
        QVERIFY(!b.edit.checked("Check_ibut"));
        QCOMPARE(b.edit.text("Check_ibut"), QStringLiteral("iButton"));
    }

    void polls()
    {
        Bancada b;
        b.device().setInputs("0102345");
        b.device().setBattery(129);
        b.device().setIbutton("0123456789AB");
        b.device().setClock(QDateTime(QDate(2026, 12, 1), QTime(14, 5)));
        QVERIFY(b.lerTudo());
        QCOMPARE(b.edit.control("Shape_bola0").indicator, IndicatorState::On);
        QCOMPARE(b.edit.control("Shape_bola1").indicator, IndicatorState::On);
        for (const char *n :
             {"Shape_bola2", "Shape_bola3", "Shape_memoria", "Shape_incremento", "Shape_cursor"})
            QCOMPARE(b.edit.control(n).indicator, IndicatorState::Off);
        QCOMPARE(b.edit.control("ProgressBar_baterias").value, 97.5);
        QCOMPARE(b.edit.text("Text_ibutsn"), QStringLiteral("0123456789AB"));
        QCOMPARE(b.edit.text("Text_rtc_data"), QStringLiteral("01-12-2026"));
        QCOMPARE(b.edit.text("Text_rtc_hora"), QStringLiteral("14:05"));
    }

    // The gauge's text uses the PC's decimal separator, as the regional
    // settings of a Portuguese workshop give it.
    void bateria_data()
    {
        QTest::addColumn<int>("nivel");
        QTest::addColumn<double>("gauge");
        QTest::addColumn<QString>("label");
        QTest::newRow("89") << 89 << 0.0 << "0%";
        QTest::newRow("90") << 90 << 0.0 << "0 %";
        QTest::newRow("100") << 100 << 25.0 << "25 %";
        QTest::newRow("129") << 129 << 97.5 << "97,5 %";
        QTest::newRow("130") << 130 << 100.0 << "100%";
        QTest::newRow("255") << 255 << 100.0 << "100%";
    }
    void bateria()
    {
        QFETCH(int, nivel);
        QFETCH(double, gauge);
        QFETCH(QString, label);
        const QLocale antes;
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
        Bancada b;
        b.device().setBattery(uint8_t(nivel));
        const bool lido = b.lerTudo();
        QLocale::setDefault(antes);
        QVERIFY(lido);
        QCOMPARE(b.edit.control("ProgressBar_baterias").value, gauge);
        QCOMPARE(b.edit.text("Label_percentagem"), label);
    }

    // The key on the reader, most significant digit first; twelve "F" is the
    // reader's way of saying there is none.
    void ibutton_no_leitor_data()
    {
        QTest::addColumn<QString>("serie");
        QTest::addColumn<QString>("mostrado");
        QTest::newRow("nenhum") << "FFFFFFFFFFFF"
                                << "-";
        QTest::newRow("quase nenhum") << "FFFFFFFFFFFE"
                                      << "FFFFFFFFFFFE";
        QTest::newRow("zeros") << "000000000000"
                               << "000000000000";
        QTest::newRow("chave") << "0123456789AB"
                               << "0123456789AB";
    }
    void ibutton_no_leitor()
    {
        QFETCH(QString, serie);
        QFETCH(QString, mostrado);
        Bancada b;
        QVERIFY(b.device().setIbutton(serie));
        QVERIFY(b.lerTudo());
        QCOMPARE(b.edit.text("Text_ibutsn"), mostrado);
    }

    void segunda_leitura_e_botoes()
    {
        Bancada b;
        QVERIFY(b.lerTudo());
        for (const char *n : {"Command_ler", "Command_testar", "Command_imprimir", "Command_clear",
                              "Command_enviar", "Command_teste_disp", "command_copy1"})
            QVERIFY2(b.edit.control(n).enabled, n);
        QVERIFY(!b.edit.control("mnu_comunicação").enabled);
        QVERIFY(b.lerTudo());
        QCOMPARE(b.edit.title(), QStringLiteral("Manutenção VX308 v3.5.5"));
        QCOMPARE(b.edit.sessao.pos_cursor, uint8_t(0));
    }

    // "Sair" pressed while the engine is busy: before the requested read has
    // started, in the middle of the read, or in the middle of a display
    // test. The work under way finishes and gives its buttons back, then the
    // stop tail takes every connection button away again, "Pic -> PC"
    // included (an empty or half-read window must not replace the copy), and
    // ends the connection.
    void sair_durante_o_trabalho_data()
    {
        QTest::addColumn<QString>("momento");
        QTest::newRow("antes da leitura") << "antes da leitura";
        QTest::newRow("durante a leitura") << "durante a leitura";
        QTest::newRow("durante o teste de displays") << "durante o teste de displays";
    }
    void sair_durante_o_trabalho()
    {
        QFETCH(QString, momento);
        Bancada b;
        bool parado = false, lido = false, sairPremido = false, trabalhoPorAcabar = false;
        QObject::connect(&b.motor, &Engine::motorParado, [&] { parado = true; });
        QObject::connect(&b.motor, &Engine::leituraTerminada, [&] { lido = true; });
        b.edit.setText("Text_impulsos", "3");
        // The handler runs in a nested wait of the engine, as a click does.
        const auto premirSair = [&](const std::function<bool()> &porAcabar) {
            if (sairPremido) return;
            sairPremido = true;
            QTimer::singleShot(0, [&, porAcabar] {
                trabalhoPorAcabar = porAcabar();
                b.motor.Command_testar_Click();
                QVERIFY(!b.edit.control("command_copy1").enabled);
            });
        };
        if (momento == "antes da leitura") {
            QObject::connect(&b.link, &Link::pedidoEnviado,
                             [&] { premirSair([&] { return b.edit.sessao.ler_pedido; }); });
            b.motor.Command_ler_Click();
        } else if (momento == "durante a leitura") {
            QObject::connect(&b.edit, &EditSet::controlChanged, [&](const QString &n) {
                if (n == "Text_S08" && b.edit.text(n) != "-")
                    premirSair([&] { return !lido && !b.edit.sessao.ler_pedido; });
            });
            b.motor.Command_ler_Click();
        } else {
            QVERIFY(b.lerTudo());
            b.motor.Command_teste_disp_Click();
            QObject::connect(&b.link, &Link::pedidoEnviado, [&](const QByteArray &f) {
                // The test's first frames blank the display: 10, p, 12 with
                // the request already taken.
                if (descrever(f).startsWith("10,") && !b.edit.sessao.teste_disp_pedido &&
                    !b.edit.control("Command_ler").enabled)
                    premirSair([&] { return !b.edit.control("Command_teste_disp").enabled; });
            });
        }
        QVERIFY(Bancada::esperar([&] { return parado; }));
        QVERIFY(sairPremido);
        QVERIFY2(trabalhoPorAcabar, "Sair was not pressed while the work was under way");
        for (const char *n : {"Command_testar", "Command_clear", "Command_enviar",
                              "Command_teste_disp", "Command_imprimir", "command_copy1"})
            QVERIFY2(!b.edit.control(n).enabled, n);
        QVERIFY(b.edit.control("Command_ler").enabled);
        QCOMPARE(b.pedidos().last(), construirPedido(0, 0, 0, {}));
        QVERIFY(!b.porta.isOpen());
        QVERIFY(!b.motor.activo());
        QCOMPARE(b.link.timeoutMs(), 1000);
        QCOMPARE(b.edit.text("Label_percentagem"), QStringLiteral("0%"));
        QCOMPARE(b.edit.text("Text_rtc_data"), QStringLiteral("-"));
    }

    // With the device silent, "Sair" takes effect only once it answers again.
    void sair_com_dispositivo_calado()
    {
        Bancada b;
        QVERIFY(b.lerTudo());
        bool parado = false;
        QObject::connect(&b.motor, &Engine::motorParado, [&] { parado = true; });
        // The engine sits in a nested wait from here on: act from timers.
        bool paradoCedoDemais = true;
        int timeouts = 0;
        b.porta.faults().faults = emu::Fault::NoReply;
        QTimer::singleShot(100, [&] {
            b.motor.Command_testar_Click();
            QTimer::singleShot(200, [&] {
                paradoCedoDemais = parado;
                timeouts = b.link.stats.to_erros;
                b.porta.faults().faults = emu::Fault::None;
            });
        });
        QVERIFY(Bancada::esperar([&] { return parado; }));
        QVERIFY(!paradoCedoDemais);
        QVERIFY(timeouts > 0);
        QVERIFY(b.mensagens.messages.empty() || b.mensagens.texts().contains("Time Out!"));
    }

    void impulsos()
    {
        Bancada b;
        QVERIFY(b.lerTudo());
        b.edit.setText("Text_impulsos", "5");
        b.motor.Command_enviar_Click();
        QCOMPARE(b.link.timeoutMs(), 5000);
        QVERIFY(!b.edit.control("Command_enviar").enabled);
        b.edit.setText("Text_impulsos", "9"); // the count was taken at the click
        QVERIFY(Bancada::esperar([&] { return b.device().impulses() > 0; }));
        QVERIFY(Bancada::esperar([&] { return b.edit.control("Command_enviar").enabled; }));
        QCOMPARE(b.device().impulses(), qint64(5));
        QCOMPARE(b.edit.text("Text_impulsos"), QStringLiteral("0"));
        QCOMPARE(b.link.timeoutMs(), 1000);

        for (const char *mau : {"300", "-1", "abc", "2,5", ""}) {
            b.mensagens.clear();
            b.edit.setText("Text_impulsos", mau);
            b.mensagens.clear();
            b.motor.Command_enviar_Click();
            QCOMPARE(b.mensagens.texts(), QStringList{EditSet::msgInvalido()});
            QVERIFY(!b.edit.sessao.impulsos_pedido);
            QCOMPARE(b.link.timeoutMs(), 1000);
        }
        b.edit.setText("Text_impulsos", "0");
        b.motor.Command_enviar_Click();
        QCOMPARE(b.link.timeoutMs(), 1000);
    }

    void teste_displays()
    {
        Bancada b;
        QVERIFY(b.lerTudo());
        b.edit.setEnabled("Command_imprimir", false);
        b.pedidos();
        b.motor.Command_teste_disp_Click();
        QVERIFY(!b.edit.control("Command_teste_disp").enabled);
        // The test runs inside one tick: watch the buttons as they change.
        bool lerDesligado = false, sairDesligado = false;
        QObject::connect(&b.edit, &EditSet::controlChanged, [&](const QString &n) {
            if (n == "Command_ler" && !b.edit.control(n).enabled) lerDesligado = true;
            if (n == "Command_testar" && !b.edit.control(n).enabled) sairDesligado = true;
        });
        QVERIFY(Bancada::esperar([&] { return b.edit.control("Command_teste_disp").enabled; }));
        QVERIFY(lerDesligado && sairDesligado);
        QStringList visor;
        for (const QString &d : descritos(b.pedidos()))
            if (d.startsWith("10,")) visor << d;
        // After the tick's cursor frames come the test's 130.
        const int inicio = visor.indexOf("10,0,12");
        QVERIFY(inicio >= 0);
        const QStringList teste = visor.mid(inicio, 130);
        QCOMPARE(teste.at(10), QStringLiteral("10,0,0"));
        QCOMPARE(teste.at(11), QStringLiteral("10,5,0"));
        QCOMPARE(teste.at(10 + 21), QStringLiteral("10,5,13"));
        QCOMPARE(teste.at(119), QStringLiteral("10,9,13"));
        QCOMPARE(teste.at(120), QStringLiteral("10,0,12"));
        QCOMPARE(teste.at(129), QStringLiteral("10,9,12"));
        for (const char *n : {"Command_ler", "Command_testar", "Command_imprimir", "command_copy1"})
            QVERIFY2(b.edit.control(n).enabled, n);
    }
};

QTEST_GUILESS_MAIN(TstLeitura)
#include "tst_leitura.moc"
