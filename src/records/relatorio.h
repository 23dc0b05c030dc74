#pragma once

#include "recordstore.h"

#include <QString>
#include <QVariantMap>

namespace vx {

class Bases;
class Clock;
class EditSet;
class MessageSink;
class ReportPrinter;

// "Imprimir": the maintenance report of what the window shows.
//
// The window's values go into the single row of TbReport in one edit; the
// row is read back and put into the report template (manutencao.html in the
// data folder, one {{Field}} per field of the row), and the page is printed
// from that. Nothing is retried or rolled back: a row that was stored before
// a later step failed stays stored.
class Relatorio
{
public:
    Relatorio(EditSet &edit, Bases &bases, ReportPrinter &printer, MessageSink &messages,
              const Clock &clock);

    // The 32 fields of the report row, in order, from the window as it is now.
    RecordStore::Values linha() const;

    // Puts every field of the row into its {{Field}} of the template, HTML
    // escaped. Placeholders of unknown names are left as they are, and a value
    // is never itself searched for placeholders.
    static QString preencher(const QString &modelo, const QVariantMap &linha);

    // Prints on the system's default printer. Any failure, of the database,
    // the template or the printer, shows the one printer message.
    bool imprimir();
    // The same report into a PDF file; no printer needed. A failure shows a
    // critical message naming the file that could not be used.
    bool exportarPdf(const QString &caminho);

    // Why the last operation failed, for logs and tests.
    QString ultimoErro() const { return m_erro; }

    static QString msgImpressora()
    {
        return QStringLiteral("Por favor verifique a ligação da impressora!");
    }
    static QString tituloImpressora() { return QStringLiteral("Mensagem de errro!"); }

private:
    // Stores the row, reads it back and fills the template. On failure names
    // the file that could not be used.
    bool montar(QString *html, QString *ficheiro);

    EditSet &m_edit;
    Bases &m_bases;
    ReportPrinter &m_printer;
    MessageSink &m_messages;
    const Clock &m_clock;
    QString m_erro;
};

} // namespace vx
