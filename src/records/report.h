#pragma once

#include "messagetexts.h"

#include "servicehistory.h"
#include "tablerows.h"

#include <QString>
#include <QVariantMap>

namespace vx {

class Databases;
class Clock;
class EditSet;
class MessageSink;
class ReportPrinter;
class ServiceHistory;

// "Imprimir": the maintenance report of what the window shows.
//
// The window's values go into the single row of TbReport in one edit; the
// row is read back and put into the report template (manutencao.html in the
// data folder, one {{Field}} per field of the row), and the page is printed
// from that. Nothing is retried or rolled back: a row that was stored before
// a later step failed stays stored.
//
// Beside the row, the template gets "since the last visit": the takings and
// counters of the unit's previous visit (its last snapshot of an earlier day
// in the service history), which whoever prints looks up and passes in.
class Report
{
public:
    // The unit's visit before today, for "since the last visit".
    struct PreviousVisit
    {
        enum class State
        {
            Unknown, // the history was not asked, or could not be read
            Found,
            None, // nothing recorded before today: the first recorded visit
        };
        State state = State::Unknown;
        Snapshot snapshot; // Found
        QString error;     // Unknown: why, naming the records' place
    };

    Report(EditSet &edit, Databases &databases, ReportPrinter &printer, MessageSink &messages,
           const Clock &clock);

    // The 32 fields of the report row, in order, from the window as it is now.
    TableRows::Values row() const;

    // Puts every field of the row into its {{Field}} of the template, HTML
    // escaped. Placeholders of unknown names are left as they are, and a value
    // is never itself searched for placeholders.
    static QString fillTemplate(const QString &reportTemplate, const QVariantMap &row);

    // The previous visit of the unit the window shows, as of `today`.
    static PreviousVisit previousVisit(ServiceHistory &history, const EditSet &edit,
                                       const QDate &today);
    // The placeholders of "since the last visit", in a language: the sentence
    // {{previous_visit}}, {{previous_date}}, previous_ before each takings and
    // counter field of the row ({{previous_tot00}}, {{previous_jogos}}...),
    // and {{Parcial}} and {{previous_Parcial}} for the memory, which the row
    // does not hold. Without a previous visit the values read "—" and the
    // date is empty.
    static QVariantMap sinceLastVisit(const PreviousVisit &previous, const EditSet &edit,
                                      int idioma);

    // Prints on the system's default printer. Any failure, of the database,
    // the template or the printer, shows the one printer message. Without a
    // previous visit, the report says it is not known.
    bool print();
    bool print(const PreviousVisit &previous);
    // The same report into a PDF file; no printer needed. A failure shows a
    // critical message naming the file that could not be used.
    bool exportPdf(const QString &path);
    bool exportPdf(const QString &path, const PreviousVisit &previous);
    // Another page of the records (the takings by unit) into a PDF file the
    // same way, in a language; a failure shows the same message.
    bool exportPagePdf(const QString &html, const QString &path, int idioma);

    // Why the last operation failed, for logs and tests.
    QString lastError() const { return m_error; }

    static QString msgPrinter() { return messageText(MessageId::CheckPrinter, 0); }
    static QString printerTitle() { return messageText(MessageId::TitlePrinterError, 0); }

    // The layout the report is filled into, in a language (0 Portuguese,
    // 1 English).
    // The layout for the language: the one in the data folder, or for English
    // the technician's own English layout there, else the installed one.
    // Empty, with *error naming the folders looked in, when there is none.
    QString templateFor(int idioma, QString *error) const;

private:
    // Stores the row, reads it back and fills the template. On failure names
    // the file that could not be used.
    bool assemble(const PreviousVisit &previous, QString *html, QString *file);

    EditSet &m_edit;
    Databases &m_databases;
    ReportPrinter &m_printer;
    MessageSink &m_messages;
    const Clock &m_clock;
    QString m_error;
};

} // namespace vx
