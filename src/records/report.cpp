#include "report.h"

#include "clock.h"
#include "databases.h"
#include "editset.h"
#include "fileerror.h"
#include "messages.h"
#include "reportprinter.h"
#include "sharedfiles.h"
#include "tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

namespace vx {

Report::Report(EditSet &edit, Databases &databases, ReportPrinter &printer, MessageSink &messages,
               const Clock &clock)
    : m_edit(edit), m_databases(databases), m_printer(printer), m_messages(messages), m_clock(clock)
{
}

RecordStore::Values Report::row() const
{
    static const QString atSign = QStringLiteral(" @ ");
    RecordStore::Values v;
    for (const auto &c : kReportFields) {
        const QString a = toQString(c.a);
        const QString b = toQString(c.b);
        QString text;
        switch (c.source) {
        case ReportSource::Text:
            text = m_edit.text(a);
            break;
        case ReportSource::Joined:
            text = m_edit.text(a) + m_edit.text(b);
            break;
        case ReportSource::AtSign:
            text = m_edit.text(a) + atSign + m_edit.text(b);
            break;
        case ReportSource::TickBox:
            text = m_edit.checked(a) ? QStringLiteral("Activado") : QStringLiteral("Desactivado");
            break;
        case ReportSource::DataSys: {
            const QDateTime now = m_clock.now();
            const QLocale system = QLocale::system();
            text = system.toString(now.date(), QLocale::ShortFormat) + atSign +
                   system.toString(now.time(), QLocale::ShortFormat);
            break;
        }
        }
        v << qMakePair(toQString(c.field), QVariant(text));
    }
    return v;
}

QString Report::fillTemplate(const QString &reportTemplate, const QVariantMap &row)
{
    static const QRegularExpression tickBox(QStringLiteral("\\{\\{([A-Za-z_][A-Za-z0-9_]*)\\}\\}"));
    QString html;
    html.reserve(reportTemplate.size() + 1024);
    qsizetype from = 0;
    auto it = tickBox.globalMatch(reportTemplate);
    while (it.hasNext()) {
        const auto m = it.next();
        html += QStringView(reportTemplate).mid(from, m.capturedStart() - from);
        const auto v = row.constFind(m.captured(1));
        html += v == row.constEnd() ? m.captured(0) : v->toString().toHtmlEscaped();
        from = m.capturedEnd();
    }
    html += QStringView(reportTemplate).mid(from);
    return html;
}

QString Report::templateFor(int idioma, QString *error) const
{
    if (idioma != 1) return m_databases.templateFile();
    const QString own = QDir(m_databases.folder()).filePath(toQString(kEnglishTemplateFile));
    if (QFileInfo::exists(own)) return own;
    return SharedFiles::find(toQString(kEnglishTemplateFile), error);
}

bool Report::assemble(QString *html, QString *file)
{
    *file = m_databases.settingsFile();
    if (!m_databases.writeReport(row(), &m_error)) return false;
    QVariantMap stored;
    if (!m_databases.readReport(&stored, &m_error)) return false;

    *file = templateFor(languageOf(m_edit), &m_error);
    if (file->isEmpty()) {
        *file = toQString(kEnglishTemplateFile);
        return false;
    }
    QFile f(*file);
    if (!f.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1: %2").arg(*file, f.errorString());
        return false;
    }
    *html = fillTemplate(QString::fromUtf8(f.readAll()), stored);
    return true;
}

bool Report::print()
{
    m_error.clear();
    QString html;
    QString file;
    if (assemble(&html, &file) && m_printer.printHtml(html, &m_error)) return true;
    m_messages.show(messageText(MessageId::CheckPrinter, languageOf(m_edit)),
                    messageText(MessageId::TitlePrinterError, languageOf(m_edit)),
                    MessageSink::Icon::Critical);
    return false;
}

bool Report::exportPdf(const QString &path)
{
    m_error.clear();
    QString html;
    QString file;
    if (!assemble(&html, &file)) {
        showFileError(m_messages, file, m_error, languageOf(m_edit));
        return false;
    }
    if (!m_printer.exportPdf(html, path, &m_error)) {
        showFileError(m_messages, path, m_error, languageOf(m_edit));
        return false;
    }
    return true;
}

} // namespace vx
