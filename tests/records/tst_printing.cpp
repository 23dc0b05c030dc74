// The report on paper: the shipped template and the QTextDocument/QPrinter
// adapter. Guards against a template that leaves out one of the 32 fields, a
// PDF that lacks a value or runs onto a second page, a PDF file made although
// nothing could be drawn, and a print without a printer reported as done.
#include "qtreportprinter.h"
#include "reportfixture.h"
#include "tables.h"
#include "testsuite.h"

#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class TstPrinting : public QObject
{
    Q_OBJECT

private slots:
    void templateHasThe32Fields();
    void pdfHasThe32Values();
    void pdfWithoutTargetCreatesNoFile();
    void noPrinterFails();
};

void TstPrinting::templateHasThe32Fields()
{
    QFile f(QFINDTESTDATA("../../share/manutencao.html"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString reportTemplate = QString::fromUtf8(f.readAll());
    for (const auto &c : kReportFields)
        QVERIFY2(reportTemplate.contains("{{" + toQString(c.field) + "}}"), c.field.data());
}

void TstPrinting::pdfHasThe32Values()
{
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed; the PDF text cannot be checked");
    ReportFixture m;
    m.readDone();
    QtReportPrinter printer;
    Report report(m.edit, m.a.databases, printer, m.msgs, m.clock);
    const QString pdf = m.a.dir.filePath("relatorio.pdf");
    QVERIFY2(report.exportPdf(pdf), qPrintable(report.lastError()));
    QVERIFY(m.msgs.messages.empty());

    QProcess p;
    p.start(pdftotext, {"-layout", pdf, "-"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QCOMPARE(text.count(QChar('\f')), 1); // one page
    for (const auto &[field, valor] : report.row()) {
        // pdftotext may break a long value at its spaces.
        for (const QString &word : valor.toString().split(' ', Qt::SkipEmptyParts))
            QVERIFY2(text.contains(word), qPrintable(field + ": " + word));
    }
    QVERIFY(text.contains("Activado"));
    QVERIFY(text.contains("Desactivado"));
    QVERIFY(!text.contains("{{"));
}

void TstPrinting::pdfWithoutTargetCreatesNoFile()
{
    QtReportPrinter printer;
    QTemporaryDir dir;
    const QString target = dir.filePath("nao-existe/relatorio.pdf");
    QString error;
    QVERIFY(!printer.exportPdf("<p>x</p>", target, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(target));
    QVERIFY(!printer.exportPdf("<p>x</p>", QString(), &error));
}

void TstPrinting::noPrinterFails()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this machine has a default printer; the test would print on it");
    QtReportPrinter printer;
    QString error;
    QVERIFY(!printer.printHtml("<p>x</p>", &error));
    QVERIFY(!error.isEmpty());

    ReportFixture m;
    m.readDone();
    Report report(m.edit, m.a.databases, printer, m.msgs, m.clock);
    QVERIFY(!report.print());
    QCOMPARE(m.msgs.texts(), QStringList{"Por favor verifique a ligação da impressora!"});
    // The row was stored before the printer was found missing.
    QCOMPARE(m.stored().value("ns").toString(), QStringLiteral("A070512"));
}

VX_TEST_CLASS(TstPrinting, Widgets)
#include "tst_printing.moc"
