// Guards the edit set's rules: exact money conversion, one number grammar
// whatever the regional settings, the checks on Enter and on change, Escape,
// the typing limits (which apply to typing only), and the flags through which
// edits reach the device.
#include "editset.h"
#include "messages.h"
#include "textforms.h"

#include <QTest>

using namespace vx;

class TstEdicao : public QObject
{
    Q_OBJECT
private slots:
    void centimos_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("esperado"); // -1: refused
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
    void centimos()
    {
        QFETCH(QString, texto);
        QFETCH(int, esperado);
        const auto c = vx::centimos(texto);
        QCOMPARE(c ? int(*c) : -1, esperado);
    }

    void validos_data()
    {
        QTest::addColumn<int>("forma");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("valido");
        auto row = [](const char *n, Forma f, const char *t, bool v) {
            QTest::newRow(n) << int(f) << QString::fromUtf8(t) << v;
        };
        row("moeda2 max", Forma::Moeda2, "655,35", true);
        row("moeda2 acima", Forma::Moeda2, "655,36", false);
        row("moeda3 max", Forma::Moeda3, "167772,15", true);
        row("moeda3 acima", Forma::Moeda3, "167772,16", false);
        row("c1 max", Forma::Contagem1, "255", true);
        row("c1 acima", Forma::Contagem1, "256", false);
        row("c2 max", Forma::Contagem2, "65535", true);
        row("c2 acima", Forma::Contagem2, "65536", false);
        row("c2 negativo", Forma::Contagem2, "-1", false);
        row("c3 max", Forma::Contagem3, "16777215", true);
        row("potencia negativa", Forma::Potencia, "-3", true);
        row("data", Forma::Data, "29-02-2024", true);
        row("data traco", Forma::Data, "-", true);
        row("data regional", Forma::Data, "3/5/24", false);
        row("data ano 1999", Forma::Data, "01-01-1999", false);
        row("hora", Forma::Hora, "23:59", true);
        row("hora 24", Forma::Hora, "24:00", false);
        row("codigo", Forma::Codigo, "A0715", true);
        row("codigo curto", Forma::Codigo, "A071", false);
        row("serie", Forma::Serie, "0123456789AB", true);
        row("serie curta", Forma::Serie, "0123", false);
        row("serie traco", Forma::Serie, "-", true);
    }
    void validos()
    {
        QFETCH(int, forma);
        QFETCH(QString, texto);
        QFETCH(bool, valido);
        QCOMPARE(vx::valido(Forma(forma), texto), valido);
    }

    // A text that ends in a line break is not the number or serial before
    // it: the window would show one thing and the device be sent another.
    void fim_de_linha_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("texto");
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
    void fim_de_linha()
    {
        QFETCH(QString, campo);
        QFETCH(QString, texto);
        QVERIFY(!ehNumero(texto));
        QVERIFY(!vx::centimos(texto));
        QVERIFY(!inteiro(texto));
        const int i = indiceCampo(campo.toStdString());
        QVERIFY(i >= 0);
        QVERIFY(!vx::valido(kCampos[i].forma, texto));
        DadosTx dados;
        dados.fill('0');
        QVERIFY(!codificar(kCampos[i], texto, false, dados));

        RecordingMessages m;
        EditSet e(m);
        e.sessao.modo = 2;
        e.setText(campo, texto);
        m.clear();
        e.keyPress(campo, 13);
        QVERIFY(!e.pendente(campo));
        QVERIFY(!m.messages.empty());
    }

    void enter_com_verificacao_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("mensagem"); // empty: accepted
        const QString tarifa = QStringLiteral("O valor da tarifa deve estar entre 0 e 655,35");
        const QString fracao = QStringLiteral("O valor da fracao deve estar entre 0 e 255");
        QTest::newRow("tarifa max") << "Text_S00"
                                    << "655,35"
                                    << "";
        QTest::newRow("tarifa zero") << "Text_F15"
                                     << "0"
                                     << "";
        QTest::newRow("tarifa acima") << "Text_S00"
                                      << "655,36" << tarifa;
        QTest::newRow("tarifa acima por pouco") << "Text_S00"
                                                << "655,351" << tarifa;
        QTest::newRow("tarifa negativa") << "Text_S20"
                                         << "-1" << tarifa;
        QTest::newRow("fraccao 255") << "Text_fracao"
                                     << "255"
                                     << "";
        QTest::newRow("fraccao 256") << "Text_fracao"
                                     << "256" << fracao;
        QTest::newRow("fraccao decimal") << "Text_fracao"
                                         << "2,5" << EditSet::msgInvalido();
        QTest::newRow("contagem sem verificacao") << "Text_contador"
                                                  << "70000" << EditSet::msgInvalido();
    }
    void enter_com_verificacao()
    {
        QFETCH(QString, campo);
        QFETCH(QString, texto);
        QFETCH(QString, mensagem);
        RecordingMessages m;
        EditSet e(m);
        e.sessao.modo = 2;
        e.setText(campo, texto);
        m.clear();
        e.keyPress(campo, 13);
        QCOMPARE(e.pendente(campo), mensagem.isEmpty());
        QCOMPARE(e.alteracao_pendente, mensagem.isEmpty());
        QCOMPARE(m.texts(), mensagem.isEmpty() ? QStringList() : QStringList{mensagem});
        if (!mensagem.isEmpty()) QCOMPARE(m.messages.front().title, QStringLiteral("Manutenção"));
        QCOMPARE(e.text(campo), texto);
    }

    void verificacao_numerica()
    {
        RecordingMessages m;
        EditSet e(m);
        e.setText("Text_contador", ""); // modo 0: silent
        QVERIFY(m.messages.empty());
        e.sessao.modo = 2;
        e.setText("Text_contador", "12");
        e.setText("Text_S00", "7,");
        QVERIFY(m.messages.empty());
        e.setText("Text_contador", "");
        QCOMPARE(m.texts(), QStringList{EditSet::msgInvalido()});
        m.clear();
        e.setText("Text_contador", "1.5");
        QCOMPARE(m.messages.size(), size_t(1));
        m.clear();
        e.setText("Text_a_pagar", "abc"); // no numeric check on this one
        QVERIFY(m.messages.empty());
        e.setText("Text_sn_apl", "5");
        e.sessao.modo = 1;
        m.clear();
        e.setText("Text_sn_apl", "-");
        QCOMPARE(m.messages.size(), size_t(1));
    }

    void escape_restaura()
    {
        RecordingMessages m;
        EditSet e(m);
        e.sessao.modo = 2;
        e.setText("Text_S08", "1,00");
        e.gotFocus("Text_S08");
        e.setText("Text_S08", "2,00");
        e.keyPress("Text_S08", 13);
        QVERIFY(e.pendente("Text_S08"));
        e.setText("Text_S08", "2,0x");
        // Coming back from the message box must not replace the backup.
        e.gotFocus("Text_S08", false);
        e.keyPress("Text_S08", 27);
        QCOMPARE(e.text("Text_S08"), QStringLiteral("1,00"));
        QVERIFY(e.pendente("Text_S08")); // Escape lowers nothing
        e.gotFocus("Text_act_hora");
        e.setText("Text_act_hora", "12:00");
        e.keyPress("Text_act_hora", 27);
        QCOMPARE(e.text("Text_act_hora"), QStringLiteral("-"));
    }

    void limites_so_na_digitacao()
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

    void caixas_e_flags()
    {
        RecordingMessages m;
        EditSet e(m);
        e.userToggle("Check_contador");
        QVERIFY(e.pendente("Check_contador"));
        QVERIFY(e.alteracao_pendente);
        e.baixarTodos();
        e.setChecked("Check_ibut", true);
        QVERIFY(e.pendente("Check_ibut"));
        e.baixarTodos();
        e.setChecked("Check_ibut", true); // no change, no flag
        QVERIFY(!e.pendente("Check_ibut"));
        // Typing without Enter never marks anything.
        e.sessao.modo = 2;
        e.userEdit("Text_S00", "1,00");
        QVERIFY(!e.algumPendente());
    }
};

QTEST_GUILESS_MAIN(TstEdicao)
#include "tst_edicao.moc"
