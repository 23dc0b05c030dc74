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

// Keeps what it was asked to print; fails on demand.
class RecordingReportPrinter : public ReportPrinter
{
public:
    bool printHtml(const QString &html, QString *error) override
    {
        if (failPrint) {
            if (error) *error = QStringLiteral("impressora indisponível");
            return false;
        }
        printed << html;
        return true;
    }
    bool exportPdf(const QString &html, const QString &path, QString *error) override
    {
        if (failExport) {
            if (error) *error = QStringLiteral("não foi possível escrever %1").arg(path);
            return false;
        }
        exported << html;
        exportPaths << path;
        return true;
    }

    bool failPrint = false;
    bool failExport = false;
    QStringList printed;
    QStringList exported;
    QStringList exportPaths;
};

} // namespace vx
