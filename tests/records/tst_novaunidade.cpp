// "Novo", first click and "Cancelar", on the model. Guards against a running
// number that carries over into a new week or into a new year with the same
// week number, a proposal that raises write flags of its own or swallows a
// pending clock set or erase, a proposal half made when a file cannot be
// read, a date in the regional format, and captions and buttons left in the
// wrong state.
#include "mesanova.h"
#include "tabelas.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

class TstNovaUnidade : public QObject
{
    Q_OBJECT

private slots:
    void prepararPreencheAJanela();
    void proposta_data();
    void proposta();
    void falhaAoPreparar();
    void cancelar();
    void pedidosPendentesFicam_data();
    void pedidosPendentesFicam();
    void dataDoIButtonNaoSegueARegiao();
};

void TstNovaUnidade::prepararPreencheAJanela()
{
    Mesa m;
    QVERIFY2(m.a.provisionado, qPrintable(m.a.erro));
    // Distinct defaults, all in valid forms, so that only the placeholder of
    // the application serial number trips the numeric check.
    RecordStore::Values pre;
    int i = 0;
    for (const auto &c : kPredefinidos)
        pre << qMakePair(nome(c.campo), QVariant(QString::number(++i)));
    QString erro;
    QVERIFY(m.a.bases.gravarDefinicoes(pre, &erro));
    Ambiente::sql(m.a.bases.ficheiroValores(), {"UPDATE TbValoresPre1 SET Pagar = '12,34'"});
    m.edit.setChecked("Check_ibut", true);
    m.edit.setChecked("Check_contador", true);
    m.edit.setText("Text_ibut", "0000000012AB");
    m.edit.setText("Text_sn_apl", "12");
    m.edit.sessao.escrever_pedido = true;
    m.edit.setEnabled("Command_imprimir", true);
    m.edit.setEnabled("Command_testar", true);
    QSignalSpy foco(&m.nova, &NovaUnidade::focoPedido);

    QVERIFY(m.nova.preparar());

    const Sessao &s = m.edit.sessao;
    QCOMPARE(int(s.modo), 1);
    QCOMPARE(m.paragens, 1);
    QVERIFY(!s.escrever_pedido);
    QVERIFY(s.sessao_activa);
    QCOMPARE(m.edit.text("Text_numfab_num"), QStringLiteral("1"));
    QCOMPARE(m.edit.text("text_numfab_ano"), QStringLiteral("A0705"));
    i = 0;
    for (const auto &c : kPredefinidos) {
        ++i;
        if (c.campo == "MasterIbut") continue;
        QCOMPARE(m.edit.text(nome(c.janela)), QString::number(i));
    }
    QCOMPARE(m.edit.text("Text_a_pagar"), QStringLiteral("12,34"));
    QCOMPARE(m.edit.text("Text_master_ibut"), QStringLiteral("-"));
    QCOMPARE(m.edit.text("Text_act_data"), QStringLiteral("01-02-2007"));
    QCOMPARE(m.edit.text("Text_act_hora"), QStringLiteral("09:05"));
    QVERIFY(!m.edit.checked("Check_ibut"));
    QVERIFY(!m.edit.checked("Check_contador"));
    QCOMPARE(m.edit.text("Text_ibut"), QStringLiteral("-"));
    QCOMPARE(m.edit.text("Text_sn_apl"), QStringLiteral("-"));
    QCOMPARE(m.msgs.texts(), QStringList{kInvalido});
    QVERIFY(!m.algumaMarca());

    QVERIFY(!m.edit.control("Command_ler").enabled);
    QVERIFY(!m.edit.control("Command_testar").enabled);
    QVERIFY(!m.edit.control("Command_imprimir").enabled);
    QCOMPARE(m.edit.text("Command_novo"), QStringLiteral("Aceitar"));
    QCOMPARE(m.edit.text("Command_sair"), QStringLiteral("Cancelar"));
    QVERIFY(m.edit.control("text_numfab_ano").enabled);
    QVERIFY(m.edit.control("Text_numfab_num").enabled);
    QCOMPARE(foco.count(), 1);
    QCOMPARE(foco.at(0).at(0).toString(), QStringLiteral("text_numfab_ano"));
    QCOMPARE(m.edit.texto_foco, QStringLiteral("A0705"));
    QCOMPARE(m.linhas(), 0);

    // A second click is "Aceitar", not a new proposal.
    QVERIFY(!m.nova.preparar());
}

void TstNovaUnidade::proposta_data()
{
    QTest::addColumn<int>("nact"); // last row; -1 = empty log
    QTest::addColumn<int>("sact");
    QTest::addColumn<QDate>("data"); // of the last row; invalid = none stored
    QTest::addColumn<QDate>("hoje");
    QTest::addColumn<QString>("num");
    QTest::addColumn<QString>("ano");

    QTest::newRow("empty-log") << -1 << 0 << QDate() << QDate(2007, 2, 1) << "1"
                               << "A0705";
    QTest::newRow("same-week") << 3 << 5 << QDate(2007, 2, 1) << QDate(2007, 2, 3) << "4"
                               << "A0705";
    QTest::newRow("next-week") << 3 << 5 << QDate(2007, 2, 3) << QDate(2007, 2, 4) << "1"
                               << "A0706";
    QTest::newRow("same-week-number-next-year")
        << 3 << 5 << QDate(2022, 1, 31) << QDate(2023, 1, 31) << "1"
        << "A2305";
    QTest::newRow("no-date-same-week-number") << 3 << 5 << QDate() << QDate(2023, 1, 31) << "4"
                                              << "A2305";
    QTest::newRow("across-new-year") << 9 << 52 << QDate(2022, 12, 31) << QDate(2023, 1, 1) << "1"
                                     << "A2301";
    QTest::newRow("saturday-1-jan-week-0") << -1 << 0 << QDate() << QDate(2011, 1, 1) << "1"
                                           << "A1100";
    QTest::newRow("week-0-twice") << 1 << 0 << QDate(2011, 1, 1) << QDate(2011, 1, 1) << "2"
                                  << "A1100";
    QTest::newRow("week-0-last-year-week-0")
        << 1 << 0 << QDate(2005, 1, 1) << QDate(2011, 1, 1) << "1"
        << "A1100";
    QTest::newRow("week-53") << -1 << 0 << QDate() << QDate(2012, 12, 31) << "1"
                             << "A1253";
    QTest::newRow("A1223") << 12 << 23 << QDate(2012, 6, 4) << QDate(2012, 6, 5) << "13"
                           << "A1223";
    QTest::newRow("full-week") << 255 << 5 << QDate(2007, 2, 1) << QDate(2007, 2, 1) << "256"
                               << "A0705";
}

void TstNovaUnidade::proposta()
{
    QFETCH(int, nact);
    QFETCH(int, sact);
    QFETCH(QDate, data);
    QFETCH(QDate, hoje);
    QFETCH(QString, num);
    QFETCH(QString, ano);
    Mesa m;
    if (nact >= 0) {
        m.registo(41, nact, sact, data.isValid() ? data : QDate(2000, 1, 1));
        if (!data.isValid())
            Ambiente::sql(m.a.bases.ficheiroRegisto(), {"UPDATE TbRegisto SET Data = NULL"});
    }
    m.relogio.set(QDateTime(hoje, QTime(10, 0)));
    QVERIFY(m.nova.preparar());
    QCOMPARE(m.edit.text("Text_numfab_num"), num);
    QCOMPARE(m.edit.text("text_numfab_ano"), ano);
    QCOMPARE(m.nova.n_unidades(), nact >= 0 ? 41 : 0);
}

void TstNovaUnidade::falhaAoPreparar()
{
    Mesa m;
    m.edit.setText("Text_S00", "2,50");
    m.edit.setText("Command_sair", "Sair da Aplicação");
    QVERIFY(QFile::remove(m.a.bases.ficheiroValores()));

    QVERIFY(!m.nova.preparar());

    QCOMPARE(m.msgs.messages.size(), size_t(1));
    QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Mensagem de Erro!"));
    QVERIFY(m.msgs.messages[0].text.contains("ValoresPre1.db"));
    QCOMPARE(int(m.edit.sessao.modo), 2);
    QCOMPARE(m.paragens, 0);
    QCOMPARE(m.edit.text("Text_S00"), QStringLiteral("2,50"));
    QCOMPARE(m.edit.text("Text_numfab_num"), QStringLiteral("-"));
    QCOMPARE(m.edit.text("Command_sair"), QStringLiteral("Sair da Aplicação"));
    QVERIFY(!QFile::exists(m.a.bases.ficheiroValores()));
}

void TstNovaUnidade::cancelar()
{
    Mesa m;
    QVERIFY(!m.nova.cancelar()); // only while entering a unit
    QVERIFY(!m.edit.sessao.ler_pedido);
    m.registo(10, 3, 5, QDate(2007, 2, 1));
    QVERIFY(m.nova.preparar());

    QVERIFY(m.nova.cancelar());

    const Sessao &s = m.edit.sessao;
    QCOMPARE(int(s.modo), 2);
    QVERIFY(s.ler_pedido);
    QCOMPARE(m.arranques, 1);
    QCOMPARE(m.linhas(), 1);
    QCOMPARE(m.edit.text("Command_sair"), QStringLiteral("Fechar"));
    QCOMPARE(m.edit.text("Command_novo"), QStringLiteral("Novo"));
    QVERIFY(m.edit.control("Command_ler").enabled);
    QVERIFY(m.edit.control("Command_testar").enabled);
    QVERIFY(!m.edit.control("text_numfab_ano").enabled);
    QVERIFY(!m.edit.control("Text_numfab_num").enabled);
    QVERIFY(!m.algumaMarca());
    QVERIFY(!m.nova.cancelar());
}

void TstNovaUnidade::pedidosPendentesFicam_data()
{
    QTest::addColumn<bool>("alteracao");
    QTest::addColumn<bool>("limpar");
    QTest::newRow("none") << false << false;
    QTest::newRow("clock-set") << true << false;
    QTest::newRow("erase") << false << true;
}

void TstNovaUnidade::pedidosPendentesFicam()
{
    QFETCH(bool, alteracao);
    QFETCH(bool, limpar);
    Mesa m;
    // Ticked boxes: the proposal clears them, which counts as clicks.
    m.edit.setChecked("Check_ibut", true);
    m.edit.setChecked("Check_contador", true);
    m.edit.baixarTodos();
    m.edit.alteracao_pendente = alteracao;
    m.edit.sessao.limpar_pedido = limpar;
    QVERIFY(m.nova.preparar());
    QVERIFY(!m.algumaMarca());
    QCOMPARE(m.edit.alteracao_pendente, alteracao);
    QCOMPARE(m.edit.sessao.limpar_pedido, limpar);
}

void TstNovaUnidade::dataDoIButtonNaoSegueARegiao()
{
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    Mesa m;
    m.relogio.set(QDateTime(QDate(2026, 12, 1), QTime(14, 5, 30)));
    const bool ok = m.nova.preparar();
    QLocale::setDefault(antes);
    QVERIFY(ok);
    QCOMPARE(m.edit.text("Text_act_data"), QStringLiteral("01-12-2026"));
    QCOMPARE(m.edit.text("Text_act_hora"), QStringLiteral("14:05"));
}

QTEST_MAIN(TstNovaUnidade)
#include "tst_novaunidade.moc"
