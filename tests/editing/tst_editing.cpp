// Guards the edit set's rules: exact money conversion, one number grammar
// whatever the regional settings, the checks on Enter and on change, Escape,
// the typing limits (which apply to typing only), and the flags through which
// edits reach the device.
#include "editset.h"
#include "messages.h"
#include "recordingmessages.h"
#include "testsuite.h"
#include "textforms.h"

#include <QTest>

using namespace vx;

class TstEditing : public QObject
{
    Q_OBJECT
private slots:
    void cents_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -1: refused
        QTest::newRow("1,005 empate par") << "1,005" << 100;
        QTest::newRow("0,125 empate par") << "0,125" << 12;
        QTest::newRow("0,545 empate par") << "0,545" << 54;
        QTest::newRow("1,015 empate impar") << "1,015" << 102;
        QTest::newRow("acima do meio") << "0,1251" << 13;
        QTest::newRow("inteiro") << "12" << 1200;
        QTest::newRow("uma casa") << "1,5" << 150;
        QTest::newRow("virgula no fim") << "7," << 700;
        QTest::newRow("ponto") << "1.50" << -1;
        QTest::newRow("vazio") << "" << -1;
        QTest::newRow("traco") << "-" << -1;
        QTest::newRow("negativo") << "-1" << -1;
        QTest::newRow("letras") << "1a" << -1;
    }
    void cents()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const auto c = vx::cents(text);
        QCOMPARE(c ? int(*c) : -1, expected);
    }

    void valid_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isValid");
        auto row = [](const char *n, TextForm f, const char *t, bool v) {
            QTest::newRow(n) << int(f) << QString::fromUtf8(t) << v;
        };
        row("moeda2 max", TextForm::Money2, "655,35", true);
        row("moeda2 acima", TextForm::Money2, "655,36", false);
        row("moeda3 max", TextForm::Money3, "167772,15", true);
        row("moeda3 acima", TextForm::Money3, "167772,16", false);
        row("c1 max", TextForm::Count1, "255", true);
        row("c1 acima", TextForm::Count1, "256", false);
        row("c2 max", TextForm::Count2, "65535", true);
        row("c2 acima", TextForm::Count2, "65536", false);
        row("c2 negativo", TextForm::Count2, "-1", false);
        row("c3 max", TextForm::Count3, "16777215", true);
        row("potencia negativa", TextForm::PowerDowns, "-3", true);
        row("data", TextForm::Date, "29-02-2024", true);
        row("data traco", TextForm::Date, "-", true);
        row("data regional", TextForm::Date, "3/5/24", false);
        row("data ano 1999", TextForm::Date, "01-01-1999", false);
        row("hora", TextForm::Time, "23:59", true);
        row("hora 24", TextForm::Time, "24:00", false);
        row("codigo", TextForm::Code, "A0715", true);
        row("codigo curto", TextForm::Code, "A071", false);
        row("serie", TextForm::Serial, "0123456789AB", true);
        row("serie curta", TextForm::Serial, "0123", false);
        row("serie traco", TextForm::Serial, "-", true);
    }
    void valid()
    {
        QFETCH(int, form);
        QFETCH(QString, text);
        QFETCH(bool, isValid);
        QCOMPARE(vx::isValid(TextForm(form), text), isValid);
    }

    // A text that ends in a line break is not the number or serial before
    // it: the window would show one thing and the device be sent another.
    void endOfLine_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("tarifa") << "Text_S00"
                                << "1,50\n";
        QTest::newRow("tarifa com cr") << "Text_S08"
                                       << "1,50\r\n";
        QTest::newRow("contagem") << "Text_contador"
                                  << "12\n";
        QTest::newRow("potencia") << "Text_power"
                                  << "3\n";
        QTest::newRow("dinheiro sem verificacao") << "Text_a_pagar"
                                                  << "1,00\n";
        QTest::newRow("serie") << "Text_ibut"
                               << "0123456789AB\n";
        QTest::newRow("fraccao") << "Text_fracao"
                                 << "25\n";
    }
    void endOfLine()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QVERIFY(!isNumber(text));
        QVERIFY(!vx::cents(text));
        QVERIFY(!integer(text));
        const int i = fieldIndex(field.toStdString());
        QVERIFY(i >= 0);
        QVERIFY(!vx::isValid(kFields[i].form, text));
        TxData txData;
        txData.fill('0');
        QVERIFY(!encode(kFields[i], text, false, txData));

        RecordingMessages m;
        EditSet e(m);
        e.session.modo = 2;
        e.setText(field, text);
        m.clear();
        e.confirmValue(field);
        QVERIFY(!e.pending(field));
        QVERIFY(!m.messages.empty());
    }

    void enterWithCheck_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // empty: accepted
        const QString tariff = QStringLiteral("O valor da tarifa deve estar entre 0 e 655,35");
        const QString fraction = QStringLiteral("O valor da fracao deve estar entre 0 e 255");
        QTest::newRow("tarifa max") << "Text_S00"
                                    << "655,35"
                                    << "";
        QTest::newRow("tarifa zero") << "Text_F15"
                                     << "0"
                                     << "";
        QTest::newRow("tarifa acima") << "Text_S00"
                                      << "655,36" << tariff;
        QTest::newRow("tarifa acima por pouco") << "Text_S00"
                                                << "655,351" << tariff;
        QTest::newRow("tarifa negativa") << "Text_S20"
                                         << "-1" << tariff;
        QTest::newRow("fraccao 255") << "Text_fracao"
                                     << "255"
                                     << "";
        QTest::newRow("fraccao 256") << "Text_fracao"
                                     << "256" << fraction;
        QTest::newRow("fraccao decimal") << "Text_fracao"
                                         << "2,5" << EditSet::msgInvalid();
        QTest::newRow("contagem sem verificacao") << "Text_contador"
                                                  << "70000" << EditSet::msgInvalid();
    }
    void enterWithCheck()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        RecordingMessages m;
        EditSet e(m);
        e.session.modo = 2;
        e.setText(field, text);
        m.clear();
        e.confirmValue(field);
        QCOMPARE(e.pending(field), message.isEmpty());
        QCOMPARE(e.alteracao_pendente, message.isEmpty());
        QCOMPARE(m.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty()) QCOMPARE(m.messages.front().title, QStringLiteral("Manutenção"));
        QCOMPARE(e.text(field), text);
    }

    void numericCheck()
    {
        RecordingMessages m;
        EditSet e(m);
        e.setText("Text_contador", ""); // modo 0: silent
        QVERIFY(m.messages.empty());
        e.session.modo = 2;
        e.setText("Text_contador", "12");
        e.setText("Text_S00", "7,");
        QVERIFY(m.messages.empty());
        e.setText("Text_contador", "");
        QCOMPARE(m.texts(), QStringList{EditSet::msgInvalid()});
        m.clear();
        e.setText("Text_contador", "1.5");
        QCOMPARE(m.messages.size(), size_t(1));
        m.clear();
        e.setText("Text_a_pagar", "abc"); // no numeric check on this one
        QVERIFY(m.messages.empty());
        e.setText("Text_sn_apl", "5");
        e.session.modo = 1;
        m.clear();
        e.setText("Text_sn_apl", "-");
        QCOMPARE(m.messages.size(), size_t(1));
    }

    void escapeRestores()
    {
        RecordingMessages m;
        EditSet e(m);
        e.session.modo = 2;
        e.setText("Text_S08", "1,00");
        e.gotFocus("Text_S08");
        e.setText("Text_S08", "2,00");
        e.confirmValue("Text_S08");
        QVERIFY(e.pending("Text_S08"));
        e.setText("Text_S08", "2,0x");
        // Coming back from the message box must not replace the backup.
        e.gotFocus("Text_S08", false);
        e.restoreValue("Text_S08");
        QCOMPARE(e.text("Text_S08"), QStringLiteral("1,00"));
        QVERIFY(e.pending("Text_S08")); // Escape lowers nothing
        e.gotFocus("Text_act_hora");
        e.setText("Text_act_hora", "12:00");
        e.restoreValue("Text_act_hora");
        QCOMPARE(e.text("Text_act_hora"), QStringLiteral("-"));
    }

    void limitsOnlyWhileTyping()
    {
        RecordingMessages m;
        EditSet e(m);
        e.setText("Text_pwdtarifas", "12345"); // from the device: shown whole
        QCOMPARE(e.text("Text_pwdtarifas"), QStringLiteral("12345"));
        QVERIFY(!e.userEdit("Text_pwdtarifas", "123456"));
        QVERIFY(e.userEdit("Text_pwdtarifas", "1234"));
        QVERIFY(!e.userEdit("Text_pwdtarifas", "12345"));
        QVERIFY(e.userEdit("Text_fracao", "99"));
        QVERIFY(!e.userEdit("Text_fracao", "200"));
        e.setText("Text_fracao", "200");
        QCOMPARE(e.text("Text_fracao"), QStringLiteral("200"));
    }

    void tickBoxesAndFlags()
    {
        RecordingMessages m;
        EditSet e(m);
        e.userToggle("Check_contador");
        QVERIFY(e.pending("Check_contador"));
        QVERIFY(e.alteracao_pendente);
        e.lowerAll();
        e.setChecked("Check_ibut", true);
        QVERIFY(e.pending("Check_ibut"));
        e.lowerAll();
        e.setChecked("Check_ibut", true); // no change, no flag
        QVERIFY(!e.pending("Check_ibut"));
        // Typing without Enter never marks anything.
        e.session.modo = 2;
        e.userEdit("Text_S00", "1,00");
        QVERIFY(!e.anyPending());
    }
};

VX_TEST_CLASS(TstEditing, Core)
#include "tst_editing.moc"
