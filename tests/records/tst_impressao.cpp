// The report on paper: the shipped template and the QTextDocument/QPrinter
// adapter. Guards against a template that leaves out one of the 32 fields, a
// PDF that lacks a value or runs onto a second page, a PDF file made although
// nothing could be drawn, and a print without a printer reported as done.
#include "mesarelatorio.h"
#include "qtreportprinter.h"
#include "tabelas.h"

#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class TstImpressao : public QObject
{
    Q_OBJECT

private slots:
    void modeloTemOs32Campos();
    void pdfTemOs32Valores();
    void pdfSemDestinoNaoCriaFicheiro();
    void semImpressoraFalha();
};

void TstImpressao::modeloTemOs32Campos()
{
    QFile f(QFINDTESTDATA("../../share/manutencao.html"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString modelo = QString::fromUtf8(f.readAll());
    for (const auto &c : kCamposRelatorio)
        QVERIFY2(modelo.contains("{{" + nome(c.campo) + "}}"), c.campo.data());
}

void TstImpressao::pdfTemOs32Valores()
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed; the PDF text cannot be checked");
    MesaRelatorio m;
    m.lido();
    QtReportPrinter impressora;
    Relatorio relatorio(m.edit, m.a.bases, impressora, m.msgs, m.relogio);
    const QString pdf = m.a.dir.filePath("relatorio.pdf");
    QVERIFY2(relatorio.exportarPdf(pdf), qPrintable(relatorio.ultimoErro()));
    QVERIFY(m.msgs.messages.empty());

    QProcess p;
    p.start(pdftotext, {"-layout", pdf, "-"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QString texto = QString::fromUtf8(p.readAllStandardOutput());
    QCOMPARE(texto.count(QChar('\f')), 1); // one page
    for (const auto &[campo, valor] : relatorio.linha()) {
        // pdftotext may break a long value at its spaces.
        for (const QString &parte : valor.toString().split(' ', Qt::SkipEmptyParts))
            QVERIFY2(texto.contains(parte), qPrintable(campo + ": " + parte));
    }
    QVERIFY(texto.contains("Activado"));
    QVERIFY(texto.contains("Desactivado"));
    QVERIFY(!texto.contains("{{"));
}

void TstImpressao::pdfSemDestinoNaoCriaFicheiro()
{
    QtReportPrinter impressora;
    QTemporaryDir dir;
    const QString destino = dir.filePath("nao-existe/relatorio.pdf");
    QString erro;
    QVERIFY(!impressora.exportPdf("<p>x</p>", destino, &erro));
    QVERIFY(!erro.isEmpty());
    QVERIFY(!QFile::exists(destino));
    QVERIFY(!impressora.exportPdf("<p>x</p>", QString(), &erro));
}

void TstImpressao::semImpressoraFalha()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this machine has a default printer; the test would print on it");
    QtReportPrinter impressora;
    QString erro;
    QVERIFY(!impressora.printHtml("<p>x</p>", &erro));
    QVERIFY(!erro.isEmpty());

    MesaRelatorio m;
    m.lido();
    Relatorio relatorio(m.edit, m.a.bases, impressora, m.msgs, m.relogio);
    QVERIFY(!relatorio.imprimir());
    QCOMPARE(m.msgs.texts(), QStringList{"Por favor verifique a ligação da impressora!"});
    // The row was stored before the printer was found missing.
    QCOMPARE(m.guardada().value("ns").toString(), QStringLiteral("A070512"));
}

QTEST_MAIN(TstImpressao)
#include "tst_impressao.moc"
