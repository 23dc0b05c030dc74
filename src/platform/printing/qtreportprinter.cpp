#include "qtreportprinter.h"

#include "platformtexts.h"
#include "safefile.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTextDocument>

namespace vx {

namespace {

void setError(QString *error, const QString &text)
{
    if (error) *error = text;
}

const QString kDocName = QStringLiteral("Manutenção VX308");
constexpr qreal kDpi = 96;

} // namespace

bool QtReportPrinter::paint(const QString &html, QPrinter &printer, QString *error)
{
    printer.setDocName(kDocName);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);

    QPainter painter;
    if (!painter.begin(&printer)) {
        setError(error, textOf(kReportPrinterTexts, "notStarted"));
        return false;
    }

    // The page is laid out on a 96 dpi reference, where the HTML's pixel
    // lengths (cell padding, margins) mean what they mean on screen, and then
    // drawn scaled to the printer's resolution. Laying out on the printer
    // itself would make a pixel 1/1200 inch.
    QImage reference(1, 1, QImage::Format_RGB32);
    reference.setDotsPerMeterX(qRound(kDpi / 0.0254));
    reference.setDotsPerMeterY(qRound(kDpi / 0.0254));
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&reference);
    doc.setDocumentMargin(0);
    QFont font = doc.defaultFont();
    font.setPointSizeF(9.5);
    doc.setDefaultFont(font);
    doc.setHtml(html);

    const QRectF page = printer.pageRect(QPrinter::Inch);
    const QSizeF sheet(page.width() * kDpi, page.height() * kDpi);
    doc.setPageSize(sheet);
    painter.scale(printer.logicalDpiX() / kDpi, printer.logicalDpiY() / kDpi);
    const int pages = doc.pageCount();
    bool ok = true;
    for (int i = 0; i < pages && ok; ++i) {
        if (i > 0 && !printer.newPage()) {
            setError(error, textOf(kReportPrinterTexts, "page").arg(i + 1));
            ok = false;
            break;
        }
        painter.save();
        painter.translate(0, -sheet.height() * i);
        doc.drawContents(&painter, QRectF(0, sheet.height() * i, sheet.width(), sheet.height()));
        painter.restore();
    }
    if (!painter.end() && ok) {
        setError(error, textOf(kReportPrinterTexts, "notFinished"));
        ok = false;
    }
    if (ok && printer.printerState() == QPrinter::Error) {
        setError(error, textOf(kReportPrinterTexts, "printerError"));
        ok = false;
    }
    return ok;
}

bool QtReportPrinter::printHtml(const QString &html, QString *error)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        setError(error, textOf(kReportPrinterTexts, "noDefault"));
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid()) {
        setError(error, textOf(kReportPrinterTexts, "unavailable").arg(info.printerName()));
        return false;
    }
    return paint(html, printer, error);
}

bool QtReportPrinter::exportPdf(const QString &html, const QString &path, QString *error)
{
    if (path.isEmpty()) {
        setError(error, textOf(kReportPrinterTexts, "noPdfFile"));
        return false;
    }
    // Drawn into a scratch file, then written whole with every write
    // checked: QPrinter reports no full disk, and would leave half a PDF in
    // place of a good one.
    const QTemporaryDir scratch;
    const QString drawn = scratch.filePath(QStringLiteral("report.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(drawn);
    if (!paint(html, printer, error)) return false;
    QByteArray pdf;
    constexpr qint64 kMaxPdfBytes = qint64(1) << 30;
    // A PDF cut short (the scratch folder full) lacks its closing %%EOF.
    if (!scratch.isValid() || !SafeFile::read(drawn, kMaxPdfBytes, 0, &pdf, error) ||
        !pdf.trimmed().endsWith("%%EOF")) {
        setError(error,
                 textOf(kReportPrinterTexts, "notWritten").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return SafeFile::write(path, pdf, 0, error);
}

} // namespace vx
