#include "takingslisting.h"

#include "csvline.h"
#include "ctltexts.h"
#include "takingsdocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <utility>

using namespace vx;

namespace {

const QString kDay = QStringLiteral("yyyy-MM-dd");

bool dayGiven(const QString &text, const char *option, int idioma, QDate *day, QString *error)
{
    if (text.isEmpty()) return true;
    *day = QDate::fromString(text, kDay);
    if (day->isValid()) return true;
    *error = ctlText("takingsDay", idioma).arg(QLatin1String(option), text);
    return false;
}

QStringList figures(const UnitTakings &r)
{
    QStringList cells{QString::number(r.visits), QString::number(r.clears),
                      TakingsReport::money(r.accumulatedFirst),
                      TakingsReport::money(r.accumulatedLast), TakingsReport::money(r.takings)};
    for (const qint64 band : r.bands)
        cells << TakingsReport::money(band);
    return cells << QString::number(r.games) << QString::number(r.powerDowns);
}

const char *kindName(TakingsSign::Kind kind)
{
    switch (kind) {
    case TakingsSign::Kind::TotalDown:
        return "total_down";
    case TakingsSign::Kind::CounterReset:
        return "counter_reset";
    case TakingsSign::Kind::PowerDownJump:
        return "power_down_jump";
    }
    return "";
}

QJsonObject jsonOf(const UnitTakings &r)
{
    QJsonObject bands;
    for (size_t b = 0; b < r.bands.size(); ++b)
        bands.insert(TakingsReport::bandFields()[b], TakingsReport::money(r.bands[b]));
    QJsonArray signs;
    for (const TakingsSign &s : r.signs)
        signs.append(QJsonObject{{QStringLiteral("kind"), QLatin1String(kindName(s.kind))},
                                 {QStringLiteral("at"), s.at.toString(Qt::ISODate)},
                                 {QStringLiteral("field"), s.field},
                                 {QStringLiteral("text"), TakingsDocument::signText(s, 1)}});
    return QJsonObject{
        {QStringLiteral("first_visit"), r.firstVisit.toString(Qt::ISODate)},
        {QStringLiteral("last_visit"), r.lastVisit.toString(Qt::ISODate)},
        {QStringLiteral("visits"), r.visits},
        {QStringLiteral("clears"), r.clears},
        {QStringLiteral("accumulated_first"), TakingsReport::money(r.accumulatedFirst)},
        {QStringLiteral("accumulated_last"), TakingsReport::money(r.accumulatedLast)},
        {QStringLiteral("takings"), TakingsReport::money(r.takings)},
        {QStringLiteral("bands"), bands},
        {QStringLiteral("games"), r.games},
        {QStringLiteral("power_downs"), r.powerDowns},
        {QStringLiteral("signs"), signs}};
}

} // namespace

bool TakingsListing::period(const QString &from, const QString &to, const QDate &today, int idioma,
                            QDate *first, QDate *last, QString *error)
{
    *last = today;
    if (!dayGiven(to, "--to", idioma, last, error)) return false;
    *first = last->addYears(-1).addDays(1);
    if (!dayGiven(from, "--from", idioma, first, error)) return false;
    if (*first <= *last) return true;
    *error = ctlText("takingsBackwards", idioma).arg(first->toString(kDay), last->toString(kDay));
    return false;
}

QString TakingsListing::text(const QList<UnitTakings> &rows, int idioma)
{
    QString out =
        tabLine({QStringLiteral("manufacturing_number"), QStringLiteral("application_serial"),
                 QStringLiteral("visits"), QStringLiteral("clears"),
                 QStringLiteral("accumulated_first"), QStringLiteral("accumulated_last"),
                 QStringLiteral("takings"), QStringLiteral("total00"), QStringLiteral("total08"),
                 QStringLiteral("total12"), QStringLiteral("total15"), QStringLiteral("total20"),
                 QStringLiteral("games"), QStringLiteral("power_downs"), QStringLiteral("signs")});
    for (const UnitTakings &r : rows)
        out += tabLine(QStringList{r.manufacturingNumber, r.applicationSerial} + figures(r) +
                       QStringList{TakingsDocument::signWords(r, idioma)});
    out += tabLine(QStringList{QStringLiteral("total"), QString()} +
                   figures(TakingsReport::total(rows)) + QStringList{QString()});
    // The signs in full below the table, apart from it.
    bool first = true;
    for (const UnitTakings &r : rows)
        for (const TakingsSign &s : r.signs) {
            if (std::exchange(first, false)) out += QLatin1Char('\n');
            out += r.manufacturingNumber + QLatin1Char('/') + r.applicationSerial +
                   QStringLiteral(": ") + TakingsDocument::signText(s, idioma) + QLatin1Char('\n');
        }
    return out;
}

QString TakingsListing::json(const QList<UnitTakings> &rows, const QDate &from, const QDate &to)
{
    QJsonArray units;
    for (const UnitTakings &r : rows) {
        QJsonObject o = jsonOf(r);
        o.insert(QStringLiteral("manufacturing_number"), r.manufacturingNumber);
        o.insert(QStringLiteral("application_serial"), r.applicationSerial);
        units.append(o);
    }
    QJsonObject total = jsonOf(TakingsReport::total(rows));
    total.remove(QStringLiteral("signs"));
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("from"), from.toString(kDay)},
                                  {QStringLiteral("to"), to.toString(kDay)},
                                  {QStringLiteral("units"), units},
                                  {QStringLiteral("total"), total}})
            .toJson(QJsonDocument::Indented));
}
