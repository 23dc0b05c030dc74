#pragma once

#include "reportprinter.h"

namespace vx {

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
