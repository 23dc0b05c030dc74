#pragma once

#include "reportprinter.h"

class QPrinter;

namespace vx {

// QTextDocument on a QPrinter: the system's default printer, or a PDF file.
//
// The pages are painted here rather than with QTextDocument::print(), which
// returns nothing and, when the printer cannot be started, leaves an empty
// job or an empty PDF behind without a word; every step that can fail is
// checked instead.
class QtReportPrinter : public ReportPrinter
{
public:
    bool printHtml(const QString &html, QString *error) override;
    bool exportPdf(const QString &html, const QString &path, QString *error) override;

private:
    static bool paint(const QString &html, QPrinter &printer, QString *error);
};

} // namespace vx
