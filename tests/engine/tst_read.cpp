// Guards reading the device: the order of the frames of a tick, which bytes
// feed which field and how they become text, the buttons a read gives back,
// and what "Sair", impulses and the display test leave behind. A slip here
// shows the technician wrong values or writes placeholders into the timer.
#include "enginebench.h"
#include "fixedclock.h"
#include "frame.h"
#include "testsuite.h"

#include <QLocale>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace vx;

class TstRead : public QObject
{
    Q_OBJECT

    static QStringList described(const QList<QByteArray> &ps)
    {
        QStringList out;
        for (const QByteArray &p : ps)
            out << describe(p);
        return out;
    }

private slots:
    void firstTick()
    {
        EngineBench b;
        b.device().setByte(24, 0); // no iButton: no extra read of 187
        QStringList frames;
        QObject::connect(&b.engine, &Engine::tickFinished, [&] {
            b.engine.stop();
            frames = described(b.requests());
        });
        b.engine.Command_ler_Click();
        QVERIFY(EngineBench::waitFor([&] { return !frames.isEmpty(); }));

        QStringList expected{"10,9,12", "3,0,0", "7,0,0", "8,0,0", "9,0,6"};
        for (int p = 0; p < 10; ++p)
            expected << QStringLiteral("10,%1,12").arg(p);
        expected << "10,4,65"
                 << "10,3,32"
                 << "10,2,76"
                 << "10,1,69"
                 << "10,0,114";
        for (int p = 9; p >= 5; --p)
            expected << QStringLiteral("10,%1,13").arg(p);
        const int reads[][2] = {{0, 2},  {2, 2},  {4, 2},  {6, 2},  {8, 2},  {10, 2}, {12, 2},
                                {14, 2}, {16, 2}, {18, 2}, {20, 2}, {22, 2}, {24, 1}, {25, 1},
                                {26, 5}, {91, 5}, {31, 1}, {32, 3}, {37, 3}, {40, 3}, {43, 4},
                                {47, 6}, {53, 2}, {55, 3}, {58, 3}, {61, 3}, {64, 3}, {67, 3},
                                {70, 2}, {72, 2}, {74, 2}, {96, 3}, {198, 1}};
        for (const auto &l : reads)
            expected << QStringLiteral("1,%1,%2").arg(l[0]).arg(l[1]);
        expected << "2,91,3"
                 << "2,94,2";
        for (int p = 0; p < 10; ++p)
            expected << QStringLiteral("10,%1,12").arg(p);
        QCOMPARE(frames.mid(0, expected.size()), expected);
        QCOMPARE(b.edit.session.pos_cursor, uint8_t(0));
        // The stamp is the PC's date and time (FixedClock: 01-12-2026 14:05).
        QCOMPARE(b.device().byte(91), uint8_t(1));
        QCOMPARE(b.device().byte(92), uint8_t(12));
        QCOMPARE(b.device().byte(93), uint8_t(26));
        QCOMPARE(b.device().byte(94), uint8_t(14));
        QCOMPARE(b.device().byte(95), uint8_t(5));
        QVERIFY(!b.edit.anyPending());
    }

    void fields_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        auto row = [](const char *name, int a, QByteArray b, const char *c, const char *t) {
            QTest::newRow(name) << a << b << QString::fromUtf8(c) << QString::fromUtf8(t);
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
        // Never maintained: nothing to show, not the year 2000.
        row("manutencao zero", 91, QByteArray(5, '\0'), "Text_master_ibut", "-");
        row("manutencao", 91, QByteArray("\x1F\x0C\x19\x17\x3B", 5), "Text_master_ibut",
            "31-12-2025 @ 23:59");
        row("versao 4", 198, QByteArray("\x04"), "Form_main", "Manutenção VX308 v3.5.5");
        row("versao 1", 198, QByteArray("\x01"), "Form_main", "Manutenção VX308 v3.5.2");
        row("versao 9", 198, QByteArray("\x09"), "Form_main", "Manutenção VX308 v3.5.1");
        row("versao 1A", 198, QByteArray("\x1A"), "Form_main", "Manutenção VX308 v3.5.2");
        row("versao A1", 198, QByteArray("\xA1"), "Form_main", "Manutenção VX308 v3.5.1");
    }
    void fields()
    {
        QFETCH(int, address);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, field);
        QFETCH(QString, text);
        EngineBench b;
        for (int i = 0; i < bytes.size(); ++i)
            b.device().setByte(address + i, uint8_t(bytes.at(i)));
        QVERIFY(b.readAll());
        QCOMPARE(b.edit.text(field), text);
        QVERIFY(b.messages.messages.empty());
    }

    // A timer never set up (all bytes 0) or with an erased memory (0xFF)
    // holds, in some fields, bytes no text of the field says: the window
    // shows the placeholder, never an invisible character or a day 255, and
    // keeps the bytes, so that writing the value back (as Clear, a paste or
    // a restore do) leaves the timer holding what it held. A value typed
    // over it is written as typed.
    void unprintableBytesKeptAsTheyAre_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("typedBytes");
        auto row = [](const char *name, int a, QByteArray b, const char *f, const char *t,
                      QByteArray tb) {
            QTest::newRow(name) << a << b << QString::fromUtf8(f) << QString::fromUtf8(t) << tb;
        };
        row("codigo NUL", 44, QByteArray(3, '\0'), "text_numfab_ano", "A2412",
            QByteArray("\x0C\x18\x41", 3));
        row("codigo FF", 44, QByteArray(3, '\xFF'), "text_numfab_ano", "B0101",
            QByteArray("\x01\x01\x42", 3));
        row("codigo controlo", 44, QByteArray("\x05\x18\x07", 3), "text_numfab_ano", "A2412",
            QByteArray("\x0C\x18\x41", 3));
        row("codigo semana 120", 44, QByteArray("\x78\x18\x41", 3), "text_numfab_ano", "A2412",
            QByteArray("\x0C\x18\x41", 3));
        row("data FF", 26, QByteArray(3, '\xFF'), "Text_act_data", "05-03-2024",
            QByteArray("\x05\x03\x18", 3));
        row("data dia 0", 26, QByteArray("\x00\x05\x18", 3), "Text_act_data", "01-01-2030",
            QByteArray("\x01\x01\x1E", 3));
        row("hora FF", 29, QByteArray(2, '\xFF'), "Text_act_hora", "09:07",
            QByteArray("\x09\x07", 2));
        row("contador FF", 25, QByteArray("\xFF"), "Check_contador", "", QByteArray(1, '\0'));
    }
    void unprintableBytesKeptAsTheyAre()
    {
        QFETCH(int, address);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QByteArray, typedBytes);
        EngineBench b;
        for (int i = 0; i < bytes.size(); ++i)
            b.device().setByte(address + i, uint8_t(bytes.at(i)));
        QVERIFY(b.readAll());
        const bool tickBox = field.startsWith(QLatin1String("Check_"));
        if (!tickBox) QCOMPARE(b.edit.text(field), QStringLiteral("-"));
        QCOMPARE(b.edit.rawBytes(field), bytes);

        const auto memory = [&] {
            QByteArray m;
            for (int i = 0; i < bytes.size(); ++i)
                m.append(char(b.device().byte(address + i)));
            return m;
        };
        const auto writeOnce = [&] {
            bool passed = false;
            const auto c =
                QObject::connect(&b.engine, &Engine::tickFinished, [&] { passed = true; });
            b.edit.mark(fieldIndex(field.toStdString()));
            const bool ok = EngineBench::waitFor([&] { return passed && !b.edit.anyPending(); });
            QObject::disconnect(c);
            return ok;
        };
        QVERIFY(writeOnce());
        QCOMPARE(memory(), bytes);
        QVERIFY(b.messages.messages.empty());

        if (tickBox)
            b.edit.setChecked(field, false);
        else
            b.edit.setText(field, typed);
        QVERIFY(b.edit.rawBytes(field).isEmpty());
        QVERIFY(writeOnce());
        QCOMPARE(memory(), typedBytes);
    }

    void ibuttonAndCounter()
    {
        EngineBench b;
        b.device().setByte(24, 1);
        b.device().setByte(187, 0);
        b.device().setByte(25, 1);
        QVERIFY(b.readAll());
        QVERIFY(b.edit.checked("Check_ibut"));
        QCOMPARE(b.edit.text("Check_ibut"), QStringLiteral("iButton de Apagar"));
        QVERIFY(b.edit.checked("Check_contador"));
        // The read ticked both boxes but leaves no value to write.
        QVERIFY(!b.edit.anyPending());
        b.device().setByte(187, 5);
        QVERIFY(b.readAll());
        QCOMPARE(b.edit.text("Check_ibut"), QStringLiteral("iButton de Dados"));
        b.device().setByte(24, 0);
        QVERIFY(b.readAll());
        QVERIFY(!b.edit.checked("Check_ibut"));
        QCOMPARE(b.edit.text("Check_ibut"), QStringLiteral("iButton"));
    }

    void polls()
    {
        EngineBench b;
        b.device().setInputs("0102345");
        b.device().setBattery(129);
        b.device().setIbutton("0123456789AB");
        b.device().setClock(QDateTime(QDate(2026, 12, 1), QTime(14, 5)));
        QVERIFY(b.readAll());
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
    void battery_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<double>("gauge");
        QTest::addColumn<QString>("label");
        QTest::newRow("89") << 89 << 0.0 << "0%";
        QTest::newRow("90") << 90 << 0.0 << "0 %";
        QTest::newRow("100") << 100 << 25.0 << "25 %";
        QTest::newRow("129") << 129 << 97.5 << "97,5 %";
        QTest::newRow("130") << 130 << 100.0 << "100%";
        QTest::newRow("255") << 255 << 100.0 << "100%";
    }
    void battery()
    {
        QFETCH(int, level);
        QFETCH(double, gauge);
        QFETCH(QString, label);
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
        EngineBench b;
        b.device().setBattery(uint8_t(level));
        const bool readDone = b.readAll();
        QLocale::setDefault(before);
        QVERIFY(readDone);
        QCOMPARE(b.edit.control("ProgressBar_baterias").value, gauge);
        QCOMPARE(b.edit.text("Label_percentagem"), label);
    }

    // The key on the reader, most significant digit first; twelve "F" is the
    // reader's way of saying there is none.
    void ibuttonInReader_data()
    {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("shown");
        QTest::newRow("nenhum") << "FFFFFFFFFFFF"
                                << "-";
        QTest::newRow("quase nenhum") << "FFFFFFFFFFFE"
                                      << "FFFFFFFFFFFE";
        QTest::newRow("zeros") << "000000000000"
                               << "000000000000";
        QTest::newRow("chave") << "0123456789AB"
                               << "0123456789AB";
    }
    void ibuttonInReader()
    {
        QFETCH(QString, serial);
        QFETCH(QString, shown);
        EngineBench b;
        QVERIFY(b.device().setIbutton(serial));
        QVERIFY(b.readAll());
        QCOMPARE(b.edit.text("Text_ibutsn"), shown);
    }

    void secondReadAndButtons()
    {
        EngineBench b;
        QVERIFY(b.readAll());
        for (const char *n : {"Command_ler", "Command_testar", "Command_imprimir", "Command_clear",
                              "Command_enviar", "Command_teste_disp", "command_copy1"})
            QVERIFY2(b.edit.control(n).enabled, n);
        QVERIFY(!b.edit.control("mnu_comunicação").enabled);
        QVERIFY(b.readAll());
        QCOMPARE(b.edit.title(), QStringLiteral("Manutenção VX308 v3.5.5"));
        QCOMPARE(b.edit.session.pos_cursor, uint8_t(0));
    }

    // "Sair" pressed while the engine is busy: before the requested read has
    // started, in the middle of the read, or in the middle of a display
    // test. The work under way finishes and gives its buttons back, then the
    // stop tail takes every connection button away again, "Pic -> PC"
    // included (an empty or half-read window must not replace the copy), and
    // ends the connection.
    void exitDuringWork_data()
    {
        QTest::addColumn<QString>("moment");
        QTest::newRow("antes da leitura") << "antes da leitura";
        QTest::newRow("durante a leitura") << "durante a leitura";
        QTest::newRow("durante o teste de displays") << "durante o teste de displays";
    }
    void exitDuringWork()
    {
        QFETCH(QString, moment);
        EngineBench b;
        bool stopped = false, readDone = false, exitPressed = false, workUnfinished = false;
        QObject::connect(&b.engine, &Engine::engineStopped, [&] { stopped = true; });
        QObject::connect(&b.engine, &Engine::readFinished, [&] { readDone = true; });
        b.edit.setText("Text_impulsos", "3");
        // The handler runs in a nested wait of the engine, as a click does.
        const auto pressExit = [&](const std::function<bool()> &unfinished) {
            if (exitPressed) return;
            exitPressed = true;
            QTimer::singleShot(0, [&, unfinished] {
                workUnfinished = unfinished();
                b.engine.Command_testar_Click();
                QVERIFY(!b.edit.control("command_copy1").enabled);
            });
        };
        if (moment == "antes da leitura") {
            QObject::connect(&b.link, &Link::requestSent,
                             [&] { pressExit([&] { return b.edit.session.ler_pedido; }); });
            b.engine.Command_ler_Click();
        } else if (moment == "durante a leitura") {
            QObject::connect(&b.edit, &EditSet::controlChanged, [&](const QString &n) {
                if (n == "Text_S08" && b.edit.text(n) != "-")
                    pressExit([&] { return !readDone && !b.edit.session.ler_pedido; });
            });
            b.engine.Command_ler_Click();
        } else {
            QVERIFY(b.readAll());
            b.engine.Command_teste_disp_Click();
            QObject::connect(&b.link, &Link::requestSent, [&](const QByteArray &f) {
                // The test's first frames blank the display: 10, p, 12 with
                // the request already taken.
                if (describe(f).startsWith("10,") && !b.edit.session.teste_disp_pedido &&
                    !b.edit.control("Command_ler").enabled)
                    pressExit([&] { return !b.edit.control("Command_teste_disp").enabled; });
            });
        }
        QVERIFY(EngineBench::waitFor([&] { return stopped; }));
        QVERIFY(exitPressed);
        QVERIFY2(workUnfinished, "Sair was not pressed while the work was under way");
        for (const char *n : {"Command_testar", "Command_clear", "Command_enviar",
                              "Command_teste_disp", "Command_imprimir", "command_copy1"})
            QVERIFY2(!b.edit.control(n).enabled, n);
        QVERIFY(b.edit.control("Command_ler").enabled);
        QCOMPARE(b.requests().last(), buildRequest(Command::End, 0, 0, {}));
        QVERIFY(!b.port.isOpen());
        QVERIFY(!b.engine.active());
        QCOMPARE(b.link.timeoutMs(), 1000);
        QCOMPARE(b.edit.text("Label_percentagem"), QStringLiteral("0%"));
        QCOMPARE(b.edit.text("Text_rtc_data"), QStringLiteral("-"));
    }

    // With the device silent, "Sair" still ends the connection: the request
    // under way gives up at its time-out, the rest of the tick sends nothing
    // but the end of connection, once, and the port is closed. The next "Lêr"
    // retries as always and reads the timer once it answers again.
    void exitWithSilentDevice()
    {
        EngineBench b;
        QVERIFY(b.readAll());
        bool stopped = false;
        QObject::connect(&b.engine, &Engine::engineStopped, [&] { stopped = true; });
        b.port.faults().faults = emu::Fault::NoReply;
        // The engine sits in a nested wait from here on: act from a timer,
        // once the silence has cost a time-out.
        qint64 writtenAtExit = 0;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (b.link.stats.timeoutsSinceAccepted == 0) return;
            probe.stop();
            writtenAtExit = qint64(b.link.stats.n_tramas);
            b.engine.Command_testar_Click();
        });
        probe.start(10);
        QVERIFY(EngineBench::waitFor([&] { return stopped; }));
        QVERIFY(b.port.faults().faults == emu::Fault::NoReply); // still silent
        QVERIFY(!b.port.isOpen());
        QVERIFY(!b.link.retriesStopped());
        // Written after "Sair": the end of connection, once.
        QCOMPARE(qint64(b.link.stats.n_tramas) - writtenAtExit, qint64(1));
        QCOMPARE(b.link.lastRequestFrame(), buildRequest(Command::End, 0, 0, {}));
        QVERIFY(b.edit.control("Command_ler").enabled);

        b.port.faults().faults = emu::Fault::None;
        QVERIFY(b.readAll());
    }

    void impulsos()
    {
        EngineBench b;
        QVERIFY(b.readAll());
        b.edit.setText("Text_impulsos", "5");
        b.engine.Command_enviar_Click();
        QCOMPARE(b.link.timeoutMs(), 5000);
        QVERIFY(!b.edit.control("Command_enviar").enabled);
        b.edit.setText("Text_impulsos", "9"); // the count was taken at the click
        QVERIFY(EngineBench::waitFor([&] { return b.device().impulses() > 0; }));
        QVERIFY(EngineBench::waitFor([&] { return b.edit.control("Command_enviar").enabled; }));
        QCOMPARE(b.device().impulses(), qint64(5));
        QCOMPARE(b.edit.text("Text_impulsos"), QStringLiteral("0"));
        QCOMPARE(b.link.timeoutMs(), 1000);

        for (const char *bad : {"300", "-1", "abc", "2,5", ""}) {
            b.messages.clear();
            b.edit.setText("Text_impulsos", bad);
            b.messages.clear();
            b.engine.Command_enviar_Click();
            QCOMPARE(b.messages.texts(), QStringList{EditSet::msgInvalid()});
            QVERIFY(!b.edit.session.impulsos_pedido);
            QCOMPARE(b.link.timeoutMs(), 1000);
        }
        b.edit.setText("Text_impulsos", "0");
        b.engine.Command_enviar_Click();
        QCOMPARE(b.link.timeoutMs(), 1000);
    }

    void displayTest()
    {
        EngineBench b;
        QVERIFY(b.readAll());
        b.edit.setEnabled("Command_imprimir", false);
        b.requests();
        b.engine.Command_teste_disp_Click();
        QVERIFY(!b.edit.control("Command_teste_disp").enabled);
        // The test runs inside one tick: watch the buttons as they change.
        bool readDisabled = false, exitDisabled = false;
        QObject::connect(&b.edit, &EditSet::controlChanged, [&](const QString &n) {
            if (n == "Command_ler" && !b.edit.control(n).enabled) readDisabled = true;
            if (n == "Command_testar" && !b.edit.control(n).enabled) exitDisabled = true;
        });
        QVERIFY(EngineBench::waitFor([&] { return b.edit.control("Command_teste_disp").enabled; }));
        QVERIFY(readDisabled && exitDisabled);
        QStringList display;
        for (const QString &d : described(b.requests()))
            if (d.startsWith("10,")) display << d;
        // After the tick's cursor frames come the test's 130.
        const int start = display.indexOf("10,0,12");
        QVERIFY(start >= 0);
        const QStringList probe = display.mid(start, 130);
        QCOMPARE(probe.at(10), QStringLiteral("10,0,0"));
        QCOMPARE(probe.at(11), QStringLiteral("10,5,0"));
        QCOMPARE(probe.at(10 + 21), QStringLiteral("10,5,13"));
        QCOMPARE(probe.at(119), QStringLiteral("10,9,13"));
        QCOMPARE(probe.at(120), QStringLiteral("10,0,12"));
        QCOMPARE(probe.at(129), QStringLiteral("10,9,12"));
        for (const char *n : {"Command_ler", "Command_testar", "Command_imprimir", "command_copy1"})
            QVERIFY2(b.edit.control(n).enabled, n);
    }
};

VX_TEST_CLASS(TstRead, Core)
#include "tst_read.moc"
