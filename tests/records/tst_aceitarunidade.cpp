// "Aceitar" of a new unit, on the model. Guards against a log row with the
// wrong running count, running number, week or time, a typed number the log
// cannot hold, a log row, flags or a started engine left behind by a refused
// or failed acceptance, and buttons left in the wrong state. (Writing the
// values into the device is the engine's and is tested with it.)
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

    QVERIFY(m.msgs.messages.empty());
    const auto l = m.ultima();
    QCOMPARE(l.size(), 1);
    QCOMPARE(l[0][0].toInt(), 11);
    QCOMPARE(l[0][1].toString(), "A0705" + escrito);
    QCOMPARE(l[0][2].toInt(), nact);
    QCOMPARE(l[0][3].toInt(), 6);
    QCOMPARE(l[0][4].toString(), QStringLiteral("2007-02-04"));
    QCOMPARE(l[0][5].toString(), QStringLiteral("00:01:02"));

    const Sessao &s = m.edit.sessao;
    QCOMPARE(int(s.modo), 2);
    for (const Campo &c : kCampos)
        QCOMPARE(m.edit.pendente(nome(c.nome)), c.nome != "Text_sn_apl");
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
    bloqueio.reset();
    if (apagar)
        QVERIFY(!QFile::exists(ficheiro));
    else
        QCOMPARE(m.linhas(), 1);
}

QTEST_MAIN(TstAceitarUnidade)
#include "tst_aceitarunidade.moc"
