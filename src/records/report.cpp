#include "report.h"

#include "clock.h"
#include "databases.h"
#include "editset.h"
#include "fieldtable.h"
#include "fileerror.h"
#include "messages.h"
#include "messagetexts.h"
#include "recordstexts.h"
#include "reportprinter.h"
#include "servicehistory.h"
#include "sharedfiles.h"
#include "tables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

namespace vx {

namespace {

const QString kNoValue = QStringLiteral("—");

// The takings and counters "since the last visit" sets side by side are the
// history's values. Each has the placeholder of today's value: its report
// column, or for memory, which the row lacks, its defaults column.
std::string_view visitPlaceholder(const Field &f)
{
    return f.reportColumn.empty() ? f.defaultsColumn : f.reportColumn;
}

QString visitText(std::string_view key, int idioma)
{
    return textOf(kVisitTexts, key, idioma);
}

// The date and time as Data_Sys shows them: the short forms of the report's
// language, whatever the system's locale, so that a Portuguese report never
// names an English month.
QString shortDateTime(const QDateTime &t, int idioma)
{
    const QLocale language(textOf(kVisitTexts, "locale", idioma));
    return language.toString(t.date(), QLocale::ShortFormat) + QStringLiteral(" @ ") +
           language.toString(t.time(), QLocale::ShortFormat);
}

QString visitSentence(const Report::PreviousVisit &previous, int idioma)
{
    using State = Report::PreviousVisit::State;
    switch (previous.state) {
    case State::Found: {
        const Snapshot &s = previous.snapshot;
        const QByteArray reason = Snapshot::reasonName(s.reason).toLatin1();
        return visitText("found", idioma)
            .arg(shortDateTime(s.taken, idioma), s.host,
                 visitText(std::string_view(reason.constData(), size_t(reason.size())), idioma));
    }
    case State::None:
        return visitText("none", idioma);
    case State::Unknown:
        break;
    }
    return previous.error.isEmpty() ? visitText("unknown", idioma)
                                    : visitText("unreadable", idioma).arg(previous.error);
}

} // namespace

Report::Report(EditSet &edit, Databases &databases, ReportPrinter &printer, MessageSink &messages,
               const Clock &clock)
    : m_edit(edit), m_databases(databases), m_printer(printer), m_messages(messages), m_clock(clock)
{
}

TableRows::Values Report::row() const
{
    static const QString atSign = QStringLiteral(" @ ");
    TableRows::Values v;
    for (const auto &c : kReportFields) {
        const QString a = toQString(c.a);
        const QString b = toQString(c.b);
        QString text;
        switch (c.source) {
        case ReportSource::Text:
            text = m_edit.text(a);
            break;
        case ReportSource::MakerNumber:
            text = makerNumberText(m_edit.text(a), m_edit.text(b));
            break;
        case ReportSource::AtSign:
            text = m_edit.text(a) + atSign + m_edit.text(b);
            break;
        case ReportSource::TickBox:
            text = m_edit.checked(a) ? QStringLiteral("Activado") : QStringLiteral("Desactivado");
            break;
        case ReportSource::DataSys:
            text = shortDateTime(m_clock.now(), languageOf(m_edit));
            break;
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

Report::PreviousVisit Report::previousVisit(ServiceHistory &history, const EditSet &edit,
                                            const QDate &today)
{
    PreviousVisit previous;
    bool found = false;
    const QString number = UnitIdentity::shownMakerNumber(edit);
    if (history.previousVisit(number, edit.text(fieldName(FieldId::ApplicationSerial)), today,
                              &previous.snapshot, &found, &previous.error))
        previous.state = found ? PreviousVisit::State::Found : PreviousVisit::State::None;
    return previous;
}

QVariantMap Report::sinceLastVisit(const PreviousVisit &previous, const EditSet &edit, int idioma)
{
    const bool found = previous.state == PreviousVisit::State::Found;
    QVariantMap v;
    v.insert(QStringLiteral("previous_visit"), visitSentence(previous, idioma));
    v.insert(QStringLiteral("previous_date"),
             found ? shortDateTime(previous.snapshot.taken, idioma) : QString());
    for (const Field &f : kFieldTable) {
        if (f.history.empty()) continue;
        const QString value = previous.snapshot.values.value(toQString(f.name));
        v.insert(QStringLiteral("previous_") + toQString(visitPlaceholder(f)),
                 found && !value.isEmpty() ? value : kNoValue);
    }
    const Field &memory = fieldRow(FieldId::Memory);
    v.insert(toQString(visitPlaceholder(memory)), edit.text(toQString(memory.name)));
    return v;
}

QString Report::templateFor(int idioma, QString *error) const
{
    if (idioma != 1) return m_databases.templateFile();
    const QString own = QDir(m_databases.folder()).filePath(toQString(kEnglishTemplateFile));
    if (QFileInfo::exists(own)) return own;
    return SharedFiles::find(toQString(kEnglishTemplateFile), error);
}

bool Report::assemble(const PreviousVisit &previous, QString *html, QString *file)
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
    // The previous visit is not part of the stored row: TbReport keeps its
    // 32 fields.
    stored.insert(sinceLastVisit(previous, m_edit, languageOf(m_edit)));
    *html = fillTemplate(QString::fromUtf8(f.readAll()), stored);
    return true;
}

bool Report::print()
{
    return print(PreviousVisit());
}

bool Report::print(const PreviousVisit &previous)
{
    m_error.clear();
    QString html;
    QString file;
    if (assemble(previous, &html, &file) && m_printer.printHtml(html, &m_error)) return true;
    m_messages.show(messageText(MessageId::CheckPrinter, languageOf(m_edit)),
                    messageText(MessageId::TitlePrinterError, languageOf(m_edit)),
                    MessageSink::Icon::Critical);
    return false;
}

bool Report::exportPdf(const QString &path)
{
    return exportPdf(path, PreviousVisit());
}

bool Report::exportPdf(const QString &path, const PreviousVisit &previous)
{
    m_error.clear();
    QString html;
    QString file;
    if (!assemble(previous, &html, &file)) {
        showFileError(m_messages, file, m_error, languageOf(m_edit));
        return false;
    }
    if (!m_printer.exportPdf(html, path, &m_error)) {
        showFileError(m_messages, path, m_error, languageOf(m_edit));
        return false;
    }
    return true;
}

bool Report::exportPagePdf(const QString &html, const QString &path, int idioma)
{
    m_error.clear();
    if (m_printer.exportPdf(html, path, &m_error)) return true;
    showFileError(m_messages, path, m_error, idioma);
    return false;
}

} // namespace vx
