#include "relatorio.h"

#include "avisoficheiro.h"
#include "bases.h"
#include "clock.h"
#include "editset.h"
#include "messages.h"
#include "reportprinter.h"
#include "tabelas.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

namespace vx {

Relatorio::Relatorio(EditSet &edit, Bases &bases, ReportPrinter &printer, MessageSink &messages,
                     const Clock &clock)
    : m_edit(edit), m_bases(bases), m_printer(printer), m_messages(messages), m_clock(clock)
{
}

RecordStore::Values Relatorio::linha() const
{
    static const QString arroba = QStringLiteral(" @ ");
    RecordStore::Values v;
    for (const auto &c : kCamposRelatorio) {
        const QString a = nome(c.a);
        const QString b = nome(c.b);
        QString texto;
        switch (c.fonte) {
        case FonteRelatorio::Texto:
            texto = m_edit.text(a);
            break;
        case FonteRelatorio::Juntos:
            texto = m_edit.text(a) + m_edit.text(b);
            break;
        case FonteRelatorio::Arroba:
            texto = m_edit.text(a) + arroba + m_edit.text(b);
            break;
        case FonteRelatorio::Marca:
            texto = m_edit.checked(a) ? QStringLiteral("Activado") : QStringLiteral("Desactivado");
            break;
        case FonteRelatorio::DataSys: {
            const QDateTime agora = m_clock.now();
            const QLocale sistema = QLocale::system();
            texto = sistema.toString(agora.date(), QLocale::ShortFormat) + arroba +
                    sistema.toString(agora.time(), QLocale::ShortFormat);
            break;
        }
        }
        v << qMakePair(nome(c.campo), QVariant(texto));
    }
    return v;
}

QString Relatorio::preencher(const QString &modelo, const QVariantMap &linha)
{
    static const QRegularExpression marca(QStringLiteral("\\{\\{([A-Za-z_][A-Za-z0-9_]*)\\}\\}"));
    QString html;
    html.reserve(modelo.size() + 1024);
    qsizetype desde = 0;
    auto it = marca.globalMatch(modelo);
    while (it.hasNext()) {
        const auto m = it.next();
        html += QStringView(modelo).mid(desde, m.capturedStart() - desde);
        const auto v = linha.constFind(m.captured(1));
        html += v == linha.constEnd() ? m.captured(0) : v->toString().toHtmlEscaped();
        desde = m.capturedEnd();
    }
    html += QStringView(modelo).mid(desde);
    return html;
}

bool Relatorio::montar(QString *html, QString *ficheiro)
{
    *ficheiro = m_bases.ficheiroValores();
    if (!m_bases.gravarRelatorio(linha(), &m_erro)) return false;
    QVariantMap guardada;
    if (!m_bases.lerRelatorio(&guardada, &m_erro)) return false;

    *ficheiro = m_bases.ficheiroModelo();
    QFile f(*ficheiro);
    if (!f.open(QIODevice::ReadOnly)) {
        m_erro = QStringLiteral("%1: %2").arg(*ficheiro, f.errorString());
        return false;
    }
    *html = preencher(QString::fromUtf8(f.readAll()), guardada);
    return true;
}

bool Relatorio::imprimir()
{
    m_erro.clear();
    QString html;
    QString ficheiro;
    if (montar(&html, &ficheiro) && m_printer.printHtml(html, &m_erro)) return true;
    m_messages.show(msgImpressora(), tituloImpressora(), MessageSink::Icon::Critical);
    return false;
}

bool Relatorio::exportarPdf(const QString &caminho)
{
    m_erro.clear();
    QString html;
    QString ficheiro;
    if (!montar(&html, &ficheiro)) {
        avisarErroFicheiro(m_messages, ficheiro, m_erro);
        return false;
    }
    if (!m_printer.exportPdf(html, caminho, &m_erro)) {
        avisarErroFicheiro(m_messages, caminho, m_erro);
        return false;
    }
    return true;
}

} // namespace vx
