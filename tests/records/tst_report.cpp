// "Imprimir" and "Exportar PDF" with a recording printer. Guards against: a
// report row that takes a value from the wrong window field (ns, the " @ "
// pairs, the tick boxes), a second print that leaves the first one's values
// or a second row, a value that breaks the page's HTML, and a failure of the
// database, the template or the printer that is reported as anything but
// the one printer message, or as success.
#include "reportfixture.h"
#include "tables.h"
#include "testsuite.h"

#include <QFile>
#include <QTest>

class TstReport : public QObject
{
    Q_OBJECT

private slots:
    void rowFromWindow();
    void printTwice();
    void dashStoredAsDash();
    void tickBoxes_data();
    void tickBoxes();
    void valuesEscaped();
    void fillTemplate_data();
    void fillTemplate();
    void printFailures_data();
    void printFailures();
    void exportPdf();
    void exportPdfFailure();
};

void TstReport::rowFromWindow()
{
    ReportFixture m;
    m.readDone();
    const TableRows::Values l = m.report.row();
    QCOMPARE(l.size(), 32);
    const QStringList expected{"1,00",         "1,01",
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
                               "6505",         dataSys(m.clock.now())};
    for (int i = 0; i < 32; ++i) {
        QCOMPARE(l[i].first, toQString(kReportFields[size_t(i)].field));
        QCOMPARE(l[i].second.toString(), expected[i]);
    }
}

void TstReport::printTwice()
{
    ReportFixture m;
    m.readDone();
    QVERIFY(m.report.print());
    m.readDone("9");
    m.clock.set(QDateTime(QDate(2007, 2, 2), QTime(18, 0)));
    QVERIFY(m.report.print());

    QVERIFY(m.msgs.messages.empty());
    QCOMPARE(DataFolder::count(m.a.databases.settingsFile(), "TbReport"), 1);
    const QVariantMap v = m.stored();
    QCOMPARE(v.value("TarS00").toString(), QStringLiteral("91,00"));
    QCOMPARE(v.value("ns").toString(), QStringLiteral("A0705912"));
    QCOMPARE(v.value("impulsos").toString(), QStringLiteral("96505"));
    QCOMPARE(v.value("Data_Sys").toString(), dataSys(m.clock.now()));
    QCOMPARE(m.printer.printed.size(), 2);
    QVERIFY(m.printer.printed[1].contains("A0705912"));
    QVERIFY(!m.printer.printed[1].contains("{{"));
}

void TstReport::dashStoredAsDash()
{
    ReportFixture m;
    m.readDone();
    m.edit.setText("Text_S00", "-");
    m.edit.setText("Text_parcial", "");
    m.edit.setText("Text_rtc_hora", "-");
    QVERIFY(m.report.print());
    const QVariantMap v = m.stored();
    QCOMPARE(v.value("TarS00").toString(), QStringLiteral("-"));
    QCOMPARE(v.value("rtc").toString(), QStringLiteral("01-02-2007 @ -"));
}

void TstReport::tickBoxes_data()
{
    QTest::addColumn<bool>("ibut");
    QTest::addColumn<bool>("counter");
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

void TstReport::tickBoxes()
{
    QFETCH(bool, ibut);
    QFETCH(bool, counter);
    QFETCH(QString, IButton);
    QFETCH(QString, Cnt_mec);
    ReportFixture m;
    m.edit.setChecked("Check_ibut", ibut);
    m.edit.setChecked("Check_contador", counter);
    QVERIFY(m.report.print());
    QCOMPARE(m.stored().value("IButton").toString(), IButton);
    QCOMPARE(m.stored().value("Cnt_mec").toString(), Cnt_mec);
}

void TstReport::valuesEscaped()
{
    ReportFixture m;
    m.readDone();
    m.edit.setText("Text_ibut", "<b>&\"x</table>");
    QVERIFY(m.report.print());
    QCOMPARE(m.stored().value("Ibutton_sn").toString(), QStringLiteral("<b>&\"x</table>"));
    const QString html = m.printer.printed.value(0);
    QVERIFY(html.contains("&lt;b&gt;&amp;&quot;x&lt;/table&gt;"));
    QVERIFY(!html.contains("<b>&"));
}

void TstReport::fillTemplate_data()
{
    QTest::addColumn<QString>("reportTemplate");
    QTest::addColumn<QString>("output");
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

void TstReport::fillTemplate()
{
    QFETCH(QString, reportTemplate);
    QFETCH(QString, output);
    const QVariantMap row{{"ns", "A070512"},
                          {"jogos", "42"},
                          {"Ibutton_sn", "{{ns}}"},
                          {"rtc", "<01> @ &"},
                          {"pwd_relogio", "Manutenção"}};
    QCOMPARE(Report::fillTemplate(reportTemplate, row), output);
}

void TstReport::printFailures_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("storedRow");
    QTest::newRow("database-missing") << "database-missing" << false;
    QTest::newRow("database-not-sqlite") << "database-not-sqlite" << false;
    QTest::newRow("database-locked") << "database-locked" << false;
    QTest::newRow("report-field-missing") << "report-field-missing" << false;
    QTest::newRow("template-missing") << "template-missing" << true;
    QTest::newRow("printer") << "printer" << true;
}

void TstReport::printFailures()
{
    QFETCH(QString, failure);
    QFETCH(bool, storedRow);
    ReportFixture m;
    m.readDone();
    const QString values = m.a.databases.settingsFile();
    std::unique_ptr<DataFolder::WriteLock> lock;
    if (failure == "database-missing") {
        QVERIFY(QFile::remove(values));
    } else if (failure == "database-not-sqlite") {
        QVERIFY(QFile::remove(values));
        QFile f(values);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Standard Jet DB");
    } else if (failure == "database-locked") {
        lock = std::make_unique<DataFolder::WriteLock>(values);
        QVERIFY(lock->active);
    } else if (failure == "report-field-missing") {
        DataFolder::sql(values, {"ALTER TABLE TbReport DROP COLUMN baterias"});
    } else if (failure == "template-missing") {
        QVERIFY(QFile::remove(m.a.databases.templateFile()));
    } else {
        m.printer.failPrint = true;
    }

    QVERIFY(!m.report.print());

    QCOMPARE(m.msgs.messages.size(), size_t(1));
    QCOMPARE(m.msgs.messages[0].text,
             QStringLiteral("Por favor verifique a ligação da impressora!"));
    QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Mensagem de errro!"));
    QCOMPARE(m.msgs.messages[0].icon, MessageSink::Icon::Critical);
    QVERIFY(m.printer.printed.isEmpty());
    QVERIFY(!m.report.lastError().isEmpty());
    lock.reset();
    if (failure == "database-missing") QVERIFY(!QFile::exists(values));
    if (failure != "database-missing" && failure != "database-not-sqlite") {
        // What was stored before the failure stays; nothing is stored by halves.
        const auto l = DataFolder::sql(values, {"SELECT TarS00, ns FROM TbReport"});
        QCOMPARE(l.size(), 1);
        QCOMPARE(l[0][0].toString(), storedRow ? QStringLiteral("1,00") : QStringLiteral("-"));
        QCOMPARE(l[0][1].toString(), storedRow ? QStringLiteral("A070512") : QStringLiteral("-"));
    }
}

void TstReport::exportPdf()
{
    ReportFixture m;
    m.readDone();
    const QString target = m.a.dir.filePath("relatorio.pdf");
    QVERIFY(m.report.exportPdf(target));
    QVERIFY(m.msgs.messages.empty());
    QCOMPARE(m.printer.exportPaths, QStringList{target});
    QVERIFY(m.printer.exported[0].contains("A070512"));
    QVERIFY(m.printer.printed.isEmpty());
    QCOMPARE(m.stored().value("ns").toString(), QStringLiteral("A070512"));
}

void TstReport::exportPdfFailure()
{
    ReportFixture m;
    m.readDone();
    m.printer.failExport = true;
    const QString target = m.a.dir.filePath("relatorio.pdf");
    QVERIFY(!m.report.exportPdf(target));
    QCOMPARE(m.msgs.messages.size(), size_t(1));
    QCOMPARE(m.msgs.messages[0].title, QStringLiteral("Mensagem de Erro!"));
    QCOMPARE(m.msgs.messages[0].icon, MessageSink::Icon::Critical);
    QVERIFY(m.msgs.messages[0].text.contains("relatorio.pdf"));

    m.msgs.clear();
    m.printer.failExport = false;
    QVERIFY(QFile::remove(m.a.databases.settingsFile()));
    QVERIFY(!m.report.exportPdf(target));
    QCOMPARE(m.msgs.messages.size(), size_t(1));
    QVERIFY(m.msgs.messages[0].text.contains("ValoresPre1.db"));
    QVERIFY(m.printer.exported.isEmpty());
}

VX_TEST_CLASS(TstReport, Widgets)
#include "tst_report.moc"
