#pragma once

#include <QString>
#include <QStringList>

namespace vx {

// Lays out an HTML report on pages and sends it to a printer or a PDF file.
// Both return false with a reason when nothing usable came out.
class ReportPrinter
{
public:
    virtual ~ReportPrinter() = default;
    virtual bool printHtml(const QString &html, QString *error) = 0;
    virtual bool exportPdf(const QString &html, const QString &path, QString *error) = 0;
};

} // namespace vx
