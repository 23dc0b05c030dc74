// "Imprimir" and "Exportar PDF" with a recording printer. Guards against: a
// report row that takes a value from the wrong window field (ns, the " @ "
// pairs, the tick boxes), a second print that leaves the first one's values
// or a second row, a value that breaks the page's HTML, and a failure of the
// database, the template or the printer that is reported as anything but
// the one printer message, or as success.
#include "mesarelatorio.h"
#include "tabelas.h"

#include <QFile>
#include <QTest>

class TstRelatorio : public QObject
{
    Q_OBJECT

private slots:
    void linhaDaJanela();
    void imprimirDuasVezes();
    void tracinhoGuardadoComoTracinho();
    void caixasDeMarcar_data();
    void caixasDeMarcar();
    void valoresEscapados();
    void preencher_data();
    void preencher();
    void falhasDaImpressao_data();
    void falhasDaImpressao();
    void exportarPdf();
    void exportarPdfFalha();
};

void TstRelatorio::linhaDaJanela()
{
    MesaRelatorio m;
    m.lido();
    const RecordStore::Values l = m.relatorio.linha();
    QCOMPARE(l.size(), 32);
    const QStringList esperado{"1,00",         "1,01",
                               "1,02",         "1,03",
                               "1,04",         "2,00",
                               "2,01",         "2,02",
                               "2,03",         "2,04",
                               "3,00",         "3,01",
                               "3,02",         "3,03",
                               "3,04",         "401,00",
                               "402,00",       "A070512",
                               "Activado",     "Desactivado",
                               "0000000012AB", "03-01-2007 @ 17:45",
                               "87%",          "01-02-2007 @ 09:04",
                               "5101",         "5202",
                               "61",           "6202",
                               "63",           "64",
                               "6505",         dataSys(m.relogio.now())};
    for (int i = 0; i < 32; ++i) {
        QCOMPARE(l[i].first, nome(kCamposRelatorio[size_t(i)].campo));
        QCOMPARE(l[i].second.toString(), esperado[i]);
    }
}

void TstRelatorio::imprimirDuasVezes()
{
    MesaRelatorio m;
    m.lido();
    QVERIFY(m.relatorio.imprimir());
    m.lido("9");
    m.relogio.set(QDateTime(QDate(2007, 2, 2), QTime(18, 0)));
    QVERIFY(m.relatorio.imprimir());

    QVERIFY(m.msgs.messages.empty());
    QCOMPARE(Ambiente::contar(m.a.bases.ficheiroValores(), "TbReport"), 1);
    const QVariantMap v = m.guardada();
    QCOMPARE(v.value("TarS00").toString(), QStringLiteral("91,00"));
    QCOMPARE(v.value("ns").toString(), QStringLiteral("A0705912"));
    QCOMPARE(v.value("impulsos").toString(), QStringLiteral("96505"));
    QCOMPARE(v.value("Data_Sys").toString(), dataSys(m.relogio.now()));
    QCOMPARE(m.impressora.printed.size(), 2);
    QVERIFY(m.impressora.printed[1].contains("A0705912"));
    QVERIFY(!m.impressora.printed[1].contains("{{"));
}

void TstRelatorio::tracinhoGuardadoComoTracinho()
{
    MesaRelatorio m;
    m.lido();
    m.edit.setText("Text_S00", "-");
    m.edit.setText("Text_parcial", "");
    m.edit.setText("Text_rtc_hora", "-");
    QVERIFY(m.relatorio.imprimir());
    const QVariantMap v = m.guardada();
    QCOMPARE(v.value("TarS00").toString(), QStringLiteral("-"));
    QCOMPARE(v.value("rtc").toString(), QStringLiteral("01-02-2007 @ -"));
}

void TstRelatorio::caixasDeMarcar_data()
{
    QTest::addColumn<bool>("ibut");
    QTest::addColumn<bool>("contador");
    QTest::addColumn<QString>("IButton");
    QTest::addColumn<QString>("Cnt_mec");
    QTest::newRow("ibut-only") << true << false << "Activado"
                               << "Desactivado";
    QTest::newRow("counter-only") << false << true << "Desactivado"
                                  << "Activado";
    QTest::newRow("both") << true << true << "Activado"
                          << "Activado";
    QTest::newRow("none") << false << false << "Desactivado"
                          << "Desactivado";
}

void TstRelatorio::caixasDeMarcar()
{
    QFETCH(bool, ibut);
    QFETCH(bool, contador);
    QFETCH(QString, IButton);
    QFETCH(QString, Cnt_mec);
    MesaRelatorio m;
    m.edit.setChecked("Check_ibut", ibut);
    m.edit.setChecked("Check_contador", contador);
    QVERIFY(m.relatorio.imprimir());
    QCOMPARE(m.guardada().value("IButton").toString(), IButton);
    QCOMPARE(m.guardada().value("Cnt_mec").toString(), Cnt_mec);
}

void TstRelatorio::valoresEscapados()
{
    MesaRelatorio m;
    m.lido();
    m.edit.setText("Text_ibut", "<b>&\"x</table>");
    QVERIFY(m.relatorio.imprimir());
    QCOMPARE(m.guardada().value("Ibutton_sn").toString(), QStringLiteral("<b>&\"x</table>"));
    const QString html = m.impressora.printed.value(0);
    QVERIFY(html.contains("&lt;b&gt;&amp;&quot;x&lt;/table&gt;"));
    QVERIFY(!html.contains("<b>&"));
}

void TstRelatorio::preencher_data()
{
    QTest::addColumn<QString>("modelo");
    QTest::addColumn<QString>("saida");
    QTest::newRow("one") << "<p>{{ns}}</p>"
                         << "<p>A070512</p>";
    QTest::newRow("adjacent") << "{{ns}}{{jogos}}"
                              << "A07051242";
    QTest::newRow("unknown-left") << "{{naoExiste}} {{ns}}"
                                  << "{{naoExiste}} A070512";
    QTest::newRow("not-a-placeholder") << "{ns} {{ ns }} {{ns"
                                       << "{ns} {{ ns }} {{ns";
    QTest::newRow("value-not-searched") << "{{Ibutton_sn}}|{{ns}}"
                                        << "{{ns}}|A070512";
    QTest::newRow("escaped") << "{{rtc}}"
                             << "&lt;01&gt; @ &amp;";
    QTest::newRow("accents-kept") << "Relógio: {{pwd_relogio}}"
                                  << "Relógio: Manutenção";
    QTest::newRow("empty-template") << ""
                                    << "";
}

void TstRelatorio::preencher()
{
    QFETCH(QString, modelo);
    QFETCH(QString, saida);
    const QVariantMap linha{{"ns", "A070512"},
                            {"jogos", "42"},
                            {"Ibutton_sn", "{{ns}}"},
                            {"rtc", "<01> @ &"},
                            {"pwd_relogio", "Manutenção"}};
    QCOMPARE(Relatorio::preencher(modelo, linha), saida);
}

void TstRelatorio::falhasDaImpressao_data()
{
    QTest::addColumn<QString>("falha");
    QTest::addColumn<bool>("linhaGuardada");
    QTest::newRow("database-missing") << "database-missing" << false;
    QTest::newRow("database-not-sqlite") << "database-not-sqlite" << false;
    QTest::newRow("database-locked") << "database-locked" << false;
    QTest::newRow("report-field-missing") << "report-field-missing" << false;
    QTest::newRow("template-missing") << "template-missing" << true;
    QTest::newRow("printer") << "printer" << true;
}

void TstRelatorio::falhasDaImpressao()
{
    QFETCH(QString, falha);
    QFETCH(bool, linhaGuardada);
    MesaRelatorio m;
    m.lido();
    const QString valores = m.a.bases.ficheiroValores();
    std::unique_ptr<Ambiente::Bloqueio> bloqueio;
    if (falha == "database-missing") {
        QVERIFY(QFile::remove(valores));
    } else if (falha == "database-not-sqlite") {
        QVERIFY(QFile::remove(valores));
        QFile f(valores);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Standard Jet DB");
    } else if (falha == "database-locked") {
        bloqueio = std::make_unique<Ambiente::Bloqueio>(valores);
        QVERIFY(bloqueio->activo);
    } else if (falha == "report-field-missing") {
        Ambiente::sql(valores, {"ALTER TABLE TbReport DROP COLUMN baterias"});
    } else if (falha == "template-missing") {
        QVERIFY(QFile::remove(m.a.bases.ficheiroModelo()));
    } else {
        m.impressora.failPrint = true;
    }

    QVERIFY(!m.relatorio.imprimir());

    QCOMPARE(m.msgs.messages.size(), size_t(1));
    QCOMPARE(m.msgs.messages[0].text,
             QStringLiteral("Por favor verifique a ligação da impressora!"));
    QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Mensagem de errro!"));
    QCOMPARE(m.msgs.messages[0].icon, MessageSink::Icon::Critical);
    QVERIFY(m.impressora.printed.isEmpty());
    QVERIFY(!m.relatorio.ultimoErro().isEmpty());
    bloqueio.reset();
    if (falha == "database-missing") QVERIFY(!QFile::exists(valores));
    if (falha != "database-missing" && falha != "database-not-sqlite") {
        // What was stored before the failure stays; nothing is stored by halves.
        const auto l = Ambiente::sql(valores, {"SELECT TarS00, ns FROM TbReport"});
        QCOMPARE(l.size(), 1);
        QCOMPARE(l[0][0].toString(), linhaGuardada ? QStringLiteral("1,00") : QStringLiteral("-"));
        QCOMPARE(l[0][1].toString(),
                 linhaGuardada ? QStringLiteral("A070512") : QStringLiteral("-"));
    }
}

void TstRelatorio::exportarPdf()
{
    MesaRelatorio m;
    m.lido();
    const QString destino = m.a.dir.filePath("relatorio.pdf");
    QVERIFY(m.relatorio.exportarPdf(destino));
    QVERIFY(m.msgs.messages.empty());
    QCOMPARE(m.impressora.exportPaths, QStringList{destino});
    QVERIFY(m.impressora.exported[0].contains("A070512"));
    QVERIFY(m.impressora.printed.isEmpty());
    QCOMPARE(m.guardada().value("ns").toString(), QStringLiteral("A070512"));
}

void TstRelatorio::exportarPdfFalha()
{
    MesaRelatorio m;
    m.lido();
    m.impressora.failExport = true;
    const QString destino = m.a.dir.filePath("relatorio.pdf");
    QVERIFY(!m.relatorio.exportarPdf(destino));
    QCOMPARE(m.msgs.messages.size(), size_t(1));
    QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Mensagem de Erro!"));
    QCOMPARE(m.msgs.messages[0].icon, MessageSink::Icon::Critical);
    QVERIFY(m.msgs.messages[0].text.contains("relatorio.pdf"));

    m.msgs.clear();
    m.impressora.failExport = false;
    QVERIFY(QFile::remove(m.a.bases.ficheiroValores()));
    QVERIFY(!m.relatorio.exportarPdf(destino));
    QCOMPARE(m.msgs.messages.size(), size_t(1));
    QVERIFY(m.msgs.messages[0].text.contains("ValoresPre1.db"));
    QVERIFY(m.impressora.exported.isEmpty());
}

QTEST_MAIN(TstRelatorio)
#include "tst_relatorio.moc"
