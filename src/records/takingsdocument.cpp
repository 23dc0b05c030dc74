#include "takingsdocument.h"

#include "csvline.h"
#include "fieldtable.h"
#include "recordstexts.h"

#include <QStringList>
#include <array>
#include <utility>

namespace vx {

namespace {

QString said(std::string_view key, int idioma)
{
    return textOf(kTakingsTexts, key, idioma);
}

QString day(const QDateTime &t)
{
    return t.date().toString(QStringLiteral("dd-MM-yyyy"));
}

bool isMoney(const QString &field)
{
    return field != fieldName(FieldId::Games) && field != fieldName(FieldId::PowerDowns);
}

QString valueText(const QString &field, qint64 v)
{
    return isMoney(field) ? TakingsReport::money(v) : QString::number(v);
}

QString unitName(const UnitTakings &r)
{
    return r.applicationSerial.isEmpty()
               ? r.manufacturingNumber
               : r.manufacturingNumber + QLatin1Char('/') + r.applicationSerial;
}

// The figures of a row, shared by every line of the page and the total.
QStringList figures(const UnitTakings &r)
{
    QStringList cells{QString::number(r.visits), QString::number(r.clears),
                      TakingsReport::money(r.accumulatedFirst),
                      TakingsReport::money(r.accumulatedLast), TakingsReport::money(r.takings)};
    for (const qint64 band : r.bands)
        cells << TakingsReport::money(band);
    cells << QString::number(r.games);
    return cells;
}

QString htmlRow(const QStringList &cells, const QString &tag, const QString &style = {})
{
    QString out =
        style.isEmpty() ? QStringLiteral("<tr>") : QStringLiteral("<tr style=\"%1\">").arg(style);
    for (int i = 0; i < cells.size(); ++i)
        out += QStringLiteral("<%1 align=\"%2\">%3</%1>")
                   .arg(tag,
                        i < 2 || i == cells.size() - 1 ? QStringLiteral("left")
                                                       : QStringLiteral("right"),
                        cells.at(i).toHtmlEscaped());
    return out + QStringLiteral("</tr>\n");
}

} // namespace

QString TakingsDocument::caption(const QString &key, int idioma)
{
    // The columns of a field are found by the field's name, their captions
    // by the key the table gives them.
    static const std::array<std::pair<FieldId, const char *>, 8> kFieldKeys{{
        {FieldId::Accumulated, "accumulated"},
        {FieldId::Total00, "band00"},
        {FieldId::Total08, "band08"},
        {FieldId::Total12, "band12"},
        {FieldId::Total15, "band15"},
        {FieldId::Total20, "band20"},
        {FieldId::Games, "games"},
        {FieldId::PowerDowns, "powerDowns"},
    }};
    for (const auto &[id, fieldKey] : kFieldKeys)
        if (key == fieldName(id)) return said(fieldKey, idioma);
    const QByteArray k = key.toLatin1();
    return said(std::string_view(k.constData(), size_t(k.size())), idioma);
}

QString TakingsDocument::title(int idioma)
{
    return said("title", idioma);
}

QString TakingsDocument::period(const QDate &from, const QDate &to, int idioma)
{
    return said("period", idioma)
        .arg(from.toString(QStringLiteral("dd-MM-yyyy")),
             to.toString(QStringLiteral("dd-MM-yyyy")));
}

QString TakingsDocument::signText(const TakingsSign &sign, int idioma)
{
    const QString when = day(sign.at);
    const QString field = caption(sign.field, idioma);
    const QString before = valueText(sign.field, sign.before);
    const QString after = valueText(sign.field, sign.after);
    switch (sign.kind) {
    case TakingsSign::Kind::TotalDown:
        return said("TotalDown", idioma).arg(when, before, after);
    case TakingsSign::Kind::CounterReset:
        return said("CounterReset", idioma).arg(when, field, before, after);
    case TakingsSign::Kind::PowerDownJump:
        return said("PowerDownJump", idioma).arg(when, before, after);
    }
    return {};
}

QString TakingsDocument::signWords(const UnitTakings &row, int idioma)
{
    QStringList words;
    if (row.shows(TakingsSign::Kind::TotalDown)) words << said("wordTotalDown", idioma);
    if (row.shows(TakingsSign::Kind::CounterReset)) words << said("wordCounterReset", idioma);
    if (row.shows(TakingsSign::Kind::PowerDownJump)) words << said("wordPowerDownJump", idioma);
    return words.join(QStringLiteral("; "));
}

QString TakingsDocument::csv(const QList<UnitTakings> &rows)
{
    QString out = csvLine({QStringLiteral("manufacturing_number"),
                           QStringLiteral("application_serial"),
                           QStringLiteral("first_visit"),
                           QStringLiteral("last_visit"),
                           QStringLiteral("visits"),
                           QStringLiteral("clears"),
                           QStringLiteral("accumulated_first"),
                           QStringLiteral("accumulated_last"),
                           QStringLiteral("takings"),
                           QStringLiteral("total00"),
                           QStringLiteral("total08"),
                           QStringLiteral("total12"),
                           QStringLiteral("total15"),
                           QStringLiteral("total20"),
                           QStringLiteral("games"),
                           QStringLiteral("power_downs"),
                           QStringLiteral("total_down"),
                           QStringLiteral("counter_reset"),
                           QStringLiteral("power_down_jump"),
                           QStringLiteral("signs")});
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    for (const UnitTakings &r : rows) {
        QStringList signs;
        for (const TakingsSign &s : r.signs)
            signs << signText(s, 1);
        out += csvLine(
            QStringList{r.manufacturingNumber, r.applicationSerial,
                        r.firstVisit.toString(Qt::ISODate), r.lastVisit.toString(Qt::ISODate)} +
            figures(r) +
            QStringList{QString::number(r.powerDowns), flag(r.shows(TakingsSign::Kind::TotalDown)),
                        flag(r.shows(TakingsSign::Kind::CounterReset)),
                        flag(r.shows(TakingsSign::Kind::PowerDownJump)),
                        signs.join(QStringLiteral("; "))});
    }
    return out;
}

QString TakingsDocument::html(const QList<UnitTakings> &rows, const QDate &from, const QDate &to,
                              int idioma)
{
    QString out = QStringLiteral("<html><body><h2>%1</h2><p>%2 &mdash; %3</p>\n")
                      .arg(title(idioma).toHtmlEscaped(), period(from, to, idioma).toHtmlEscaped(),
                           said("units", idioma).arg(rows.size()).toHtmlEscaped());
    if (rows.isEmpty())
        return out + QStringLiteral("<p>%1</p></body></html>\n").arg(said("none", idioma));
    out += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
                          "style=\"font-size: 7pt; border-collapse: collapse;\">\n");
    QStringList header{said("unit", idioma),
                       said("first", idioma) + QStringLiteral(" / ") + said("last", idioma),
                       said("visits", idioma),
                       said("clears", idioma),
                       said("accumulatedFirst", idioma),
                       said("accumulatedLast", idioma),
                       said("takings", idioma)};
    for (const QString &band : TakingsReport::bandFields())
        header << caption(band, idioma);
    header << caption(fieldName(FieldId::Games), idioma) << said("signs", idioma);
    out += htmlRow(header, QStringLiteral("th"));
    QStringList signs;
    for (const UnitTakings &r : rows) {
        out += htmlRow(
            QStringList{unitName(r), day(r.firstVisit) + QStringLiteral(" / ") + day(r.lastVisit)} +
                figures(r) + QStringList{signWords(r, idioma)},
            QStringLiteral("td"),
            r.signs.isEmpty() ? QString() : QStringLiteral("color: #b00000;"));
        for (const TakingsSign &s : r.signs)
            signs << unitName(r) + QStringLiteral(" — ") + signText(s, idioma);
    }
    const UnitTakings sum = TakingsReport::total(rows);
    out += htmlRow(QStringList{said("total", idioma),
                               day(sum.firstVisit) + QStringLiteral(" / ") + day(sum.lastVisit)} +
                       figures(sum) + QStringList{QString()},
                   QStringLiteral("th"));
    out += QStringLiteral("</table>\n<h3>%1</h3>\n").arg(said("signs", idioma).toHtmlEscaped());
    if (signs.isEmpty())
        return out + QStringLiteral("<p>%1</p></body></html>\n").arg(said("noSigns", idioma));
    out += QStringLiteral("<ul>\n");
    for (const QString &s : std::as_const(signs))
        out += QStringLiteral("<li>%1</li>\n").arg(s.toHtmlEscaped());
    return out + QStringLiteral("</ul></body></html>\n");
}

} // namespace vx
