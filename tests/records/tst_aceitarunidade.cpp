// "Aceitar" of a new unit, on the model. Guards against a log row with the
// wrong running count, running number, week or time, a typed number the log
// cannot hold, a log row, flags or a started engine left behind by a refused
// or failed acceptance, buttons left in the wrong state, and a unit logged
// before the timer has accepted every one of its values or replaced by a
// read that was pending. (The write pass itself is the engine's and is tested
// with it; here the test plays its part.)
#include "mesanova.h"
#include "tabelas.h"

#include <QFile>
#include <QTest>

class TstAceitarUnidade : public QObject
{
    Q_OBJECT

private slots:
    void aceitar_data();
    void aceitar();
    void aceitarComMotorActivoNaoOReinicia();
    void doisNoMesmoDia();
    void recusas_data();
    void recusas();
    void falhaAoAceitar_data();
    void falhaAoAceitar();
    void registoEsperaPorCadaValor();
    void leituraPendenteNaoDeixaComecar();
    void leituraPedidaEntretantoEsperaPelaUnidade();
};

void TstAceitarUnidade::aceitar_data()
{
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<int>("nact");
    QTest::newRow("as-proposed") << "4" << 4;
    QTest::newRow("below-proposal-keeps-last") << "2" << 3;
    QTest::newRow("zero-keeps-last") << "0" << 3;
    QTest::newRow("above-proposal") << "7" << 7;
    QTest::newRow("255") << "255" << 255;
}

void TstAceitarUnidade::aceitar()
{
    QFETCH(QString, escrito);
    QFETCH(int, nact);
    Mesa m;
    m.registo(10, 3, 5, QDate(2007, 2, 1));
    QVERIFY(m.nova.preparar());
    m.msgs.clear();
    m.edit.setText("Text_numfab_num", escrito);
    // Accepted on the next Sunday: week and time are those of the acceptance.
    m.relogio.set(QDateTime(QDate(2007, 2, 4), QTime(0, 1, 2)));

    QVERIFY(m.nova.aceitar());
    QCOMPARE(m.linhas(), 1); // nothing logged before the timer has the unit
    QVERIFY(m.nova.unitPending());
    // The flags are checked before the write pass takes them.
    const Sessao &s = m.edit.sessao;
    for (const Campo &c : kCampos)
        QCOMPARE(m.edit.pendente(nome(c.nome)), c.nome != "Text_sn_apl");
    m.relogio.set(QDateTime(QDate(2007, 2, 5), QTime(7, 0))); // the write takes a while
    m.escreverTudo();
    QVERIFY(!m.nova.unitPending());

    QVERIFY(m.msgs.messages.empty());
    const auto l = m.ultima();
    QCOMPARE(l.size(), 1);
    QCOMPARE(l[0][0].toInt(), 11);
    QCOMPARE(l[0][1].toString(), "A0705" + escrito);
    QCOMPARE(l[0][2].toInt(), nact);
    QCOMPARE(l[0][3].toInt(), 6);
    QCOMPARE(l[0][4].toString(), QStringLiteral("2007-02-04"));
    QCOMPARE(l[0][5].toString(), QStringLiteral("00:01:02"));

    QCOMPARE(int(s.modo), 2);
    QVERIFY(m.edit.alteracao_pendente);
    QVERIFY(s.escrever_pedido);
    QVERIFY(s.banner_esc);
    QCOMPARE(m.arranques, 1);
    QVERIFY(!m.edit.control("Command_ler").enabled);
    QVERIFY(!m.edit.control("Command_testar").enabled);
    QVERIFY(!m.edit.control("Command_novo").enabled);
    QVERIFY(m.edit.control("command_copy1").enabled);
    QCOMPARE(m.edit.text("Command_sair"), QStringLiteral("Fechar"));
    QCOMPARE(m.edit.text("Command_novo"), QStringLiteral("&Novo"));
    QVERIFY(!m.edit.control("text_numfab_ano").enabled);
    QVERIFY(!m.edit.control("Text_numfab_num").enabled);

    QVERIFY(!m.nova.aceitar()); // modo 2 now
    QCOMPARE(m.linhas(), 2);
}

void TstAceitarUnidade::aceitarComMotorActivoNaoOReinicia()
{
    Mesa m;
    QVERIFY(m.nova.preparar());
    m.activo = true;
    QVERIFY(m.nova.aceitar());
    QCOMPARE(m.arranques, 0);
}

void TstAceitarUnidade::doisNoMesmoDia()
{
    Mesa m;
    for (int vez = 1; vez <= 2; ++vez) {
        m.relogio.set(QDateTime(QDate(2007, 2, 1), QTime(9, vez)));
        QVERIFY(m.nova.preparar());
        QCOMPARE(m.edit.text("Text_numfab_num"), QString::number(vez));
        QVERIFY(m.nova.aceitar());
        m.escreverTudo();
    }
    const auto l = Ambiente::sql(m.a.bases.ficheiroRegisto(),
                                 {"SELECT NMec, NFab, NAct FROM TbRegisto ORDER BY ordem"});
    QCOMPARE(l.size(), 2);
    QCOMPARE(l[0], (QVariantList{1, "A07051", 1}));
    QCOMPARE(l[1], (QVariantList{2, "A07052", 2}));
}

void TstAceitarUnidade::recusas_data()
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

void TstAceitarUnidade::recusas()
{
    QFETCH(QString, ano);
    QFETCH(QString, num);
    Mesa m;
    m.registo(10, 3, 5, QDate(2007, 2, 1));
    QVERIFY(m.nova.preparar());
    m.msgs.clear();
    m.edit.setText("text_numfab_ano", ano);
    m.edit.setText("Text_numfab_num", num);
    const int arranques = m.arranques;

    QVERIFY(!m.nova.aceitar());

    QCOMPARE(m.msgs.messages.size(), size_t(1));
    QCOMPARE(m.msgs.messages[0].text, kInvalido);
    QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Manutenção"));
    QCOMPARE(m.msgs.messages[0].icon, MessageSink::Icon::None);
    QCOMPARE(int(m.edit.sessao.modo), 1);
    QCOMPARE(m.linhas(), 1);
    QVERIFY(!m.algumaMarca());
    QVERIFY(!m.edit.sessao.escrever_pedido);
    QCOMPARE(m.arranques, arranques);
    QCOMPARE(m.edit.text("Command_novo"), QStringLiteral("Aceitar"));
    QCOMPARE(m.edit.text("Text_numfab_num"), num);

    // Corrected, it goes through.
    m.edit.setText("text_numfab_ano", "A0705");
    m.edit.setText("Text_numfab_num", "4");
    QVERIFY(m.nova.aceitar());
    m.escreverTudo();
    QCOMPARE(m.linhas(), 2);
}

void TstAceitarUnidade::falhaAoAceitar_data()
{
    QTest::addColumn<bool>("apagar"); // removed, or held by another program
    QTest::newRow("missing") << true;
    QTest::newRow("locked") << false;
}

void TstAceitarUnidade::falhaAoAceitar()
{
    QFETCH(bool, apagar);
    Mesa m;
    m.registo(10, 3, 5, QDate(2007, 2, 1));
    QVERIFY(m.nova.preparar());
    m.msgs.clear();
    const QString ficheiro = m.a.bases.ficheiroRegisto();
    std::unique_ptr<Ambiente::Bloqueio> bloqueio;
    if (apagar) {
        QVERIFY(QFile::remove(ficheiro));
    } else {
        bloqueio = std::make_unique<Ambiente::Bloqueio>(ficheiro);
        QVERIFY(bloqueio->activo);
    }
    const int arranques = m.arranques;

    QVERIFY(!m.nova.aceitar());

    QCOMPARE(m.msgs.messages.size(), size_t(1));
    QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Mensagem de Erro!"));
    QCOMPARE(m.msgs.messages[0].icon, MessageSink::Icon::Critical);
    QVERIFY2(m.msgs.messages[0].text.contains("Registo.db"), qPrintable(m.msgs.messages[0].text));
    QCOMPARE(int(m.edit.sessao.modo), 1);
    QVERIFY(!m.algumaMarca());
    QVERIFY(!m.edit.sessao.escrever_pedido);
    QVERIFY(!m.edit.sessao.banner_esc);
    QCOMPARE(m.arranques, arranques);
    QCOMPARE(m.edit.text("Command_novo"), QStringLiteral("Aceitar"));
    QCOMPARE(m.edit.text("Command_sair"), QStringLiteral("Cancelar"));
    QVERIFY(!m.nova.unitPending());
    bloqueio.reset();
    if (apagar)
        QVERIFY(!QFile::exists(ficheiro));
    else
        QCOMPARE(m.linhas(), 1);
}

// The row is appended when the last value is accepted, not before: a write
// that got no accepted reply keeps the unit waiting, and so does a value the
// write pass refused until the technician has corrected and confirmed it.
void TstAceitarUnidade::registoEsperaPorCadaValor()
{
    Mesa m;
    m.registo(10, 3, 5, QDate(2007, 2, 1));
    QVERIFY(m.nova.preparar());
    m.msgs.clear();
    QVERIFY(m.nova.aceitar());
    int registados = 0;
    QObject::connect(&m.nova, &NovaUnidade::unitLogged, [&] { ++registados; });

    m.escreverTudo({"Text_contador", "text_numfab_ano"});
    QCOMPARE(m.linhas(), 1);
    QCOMPARE(registados, 0);
    auto faltam = m.nova.unwrittenFields();
    faltam.sort();
    QCOMPARE(faltam, (QStringList{"Text_contador", "text_numfab_ano"}));
    // Other writes of the same fields later on: each counts once accepted.
    m.edit.marcar(indiceCampo("Text_contador"));
    m.escreverTudo();
    QCOMPARE(m.linhas(), 1);
    m.edit.marcar(indiceCampo("text_numfab_ano"));
    m.escreverTudo();
    QCOMPARE(m.linhas(), 2);
    QCOMPARE(registados, 1);
    QCOMPARE(m.ultima()[0][1].toString(), QStringLiteral("A07054"));
    // Nothing more is logged for later writes.
    m.edit.marcar(indiceCampo("Text_contador"));
    m.escreverTudo();
    QCOMPARE(m.linhas(), 2);
    QVERIFY(m.msgs.messages.empty());
}

// "Lêr" and then "Novo" before the engine reached the read: the read would
// replace the proposal at the next tick, so "Novo" waits for it.
void TstAceitarUnidade::leituraPendenteNaoDeixaComecar()
{
    Mesa m;
    m.edit.sessao.ler_pedido = true;
    m.edit.setText("Text_S00", "3,00");
    QVERIFY(!m.nova.preparar());
    QCOMPARE(m.msgs.texts(), QStringList{NovaUnidade::msgReadPending()});
    QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Manutenção"));
    QCOMPARE(int(m.edit.sessao.modo), 2);
    QVERIFY(m.edit.sessao.ler_pedido);
    QCOMPARE(m.paragens, 0);
    QCOMPARE(m.edit.text("Text_S00"), QStringLiteral("3,00"));
    QCOMPARE(m.edit.text("Command_novo"), QStringLiteral("Novo"));
    // Once the read has run, "Novo" goes ahead.
    m.edit.sessao.ler_pedido = false;
    QVERIFY(m.nova.preparar());
}

// A read requested while the unit was being entered (by the end of an erase
// that was under way at "Novo") runs only once the timer holds the unit: run
// first, it would fill the window from the old unit and lower every mark.
void TstAceitarUnidade::leituraPedidaEntretantoEsperaPelaUnidade()
{
    Mesa m;
    QVERIFY(m.nova.preparar());
    m.edit.sessao.ler_pedido = true;
    QVERIFY(m.nova.aceitar());
    QVERIFY(!m.edit.sessao.ler_pedido);
    QVERIFY(m.algumaMarca());
    m.escreverTudo({"Text_prog"});
    QVERIFY(!m.edit.sessao.ler_pedido);
    m.edit.marcar(indiceCampo("Text_prog"));
    m.escreverTudo();
    QCOMPARE(m.linhas(), 1);
    QVERIFY(m.edit.sessao.ler_pedido);
}

QTEST_MAIN(TstAceitarUnidade)
#include "tst_aceitarunidade.moc"
