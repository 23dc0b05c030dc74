#include "takingschart.h"

#include "captions.h"
#include "historyvalues.h"
#include "takingsdocument.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QHorizontalStackedBarSeries>
#include <QValueAxis>
#include <algorithm>

namespace vx {

namespace {

QString unitLabel(const UnitTakings &r)
{
    return r.manufacturingNumber + QLatin1Char('/') + r.applicationSerial;
}

// The rows drawn: the largest takings, the largest last so that it is drawn
// at the top of the axis.
QList<UnitTakings> drawn(QList<UnitTakings> rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const UnitTakings &a, const UnitTakings &b) {
        return a.takings > b.takings;
    });
    if (rows.size() > TakingsChart::kUnits) rows.resize(TakingsChart::kUnits);
    std::reverse(rows.begin(), rows.end());
    return rows;
}

} // namespace

TakingsChart::TakingsChart(QWidget *parent) : QChartView(new QChart, parent)
{
    setObjectName(QStringLiteral("Chart_receitas_unidade"));
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(360, 220);
    QChart *c = chart();
    c->setAnimationOptions(QChart::NoAnimation);
    // Amounts read as the window writes them, with a decimal comma.
    QLocale comma(QLocale::Portuguese, QLocale::Portugal);
    comma.setNumberOptions(QLocale::OmitGroupSeparator);
    c->setLocale(comma);
    c->setLocalizeNumbers(true);
    QFont title = c->titleFont();
    title.setBold(true);
    c->setTitleFont(title);
    c->legend()->setAlignment(Qt::AlignRight);
    c->setMargins(QMargins(4, 4, 4, 4));
}

void TakingsChart::setRows(const QList<UnitTakings> &rows, int idioma)
{
    QChart *c = chart();
    c->removeAllSeries();
    for (QAbstractAxis *axis : c->axes())
        c->removeAxis(axis);
    c->setTitle(rows.size() > kUnits
                    ? Captions::caption(QStringLiteral("takingsChartLargest"), idioma).arg(kUnits)
                    : TakingsDocument::title(idioma));
    const QList<UnitTakings> shown = drawn(rows);
    m_units.clear();
    auto *series = new QHorizontalStackedBarSeries;
    for (size_t b = 0; b < TakingsReport::bandFields().size(); ++b) {
        auto *set = new QBarSet(TakingsDocument::caption(TakingsReport::bandFields()[b], idioma));
        for (const UnitTakings &r : shown)
            set->append(double(r.bands[b]) / 100.0);
        series->append(set);
    }
    double top = 0;
    auto *units = new QBarCategoryAxis;
    for (const UnitTakings &r : shown) {
        m_units.prepend(unitLabel(r));
        units->append(unitLabel(r));
        qint64 sum = 0;
        for (const qint64 band : r.bands)
            sum += band;
        top = std::max(top, double(sum) / 100.0);
    }
    auto *money = new QValueAxis;
    const HistoryScale scale = HistoryValues::scale(top, HistoryChartKind::Takings);
    money->setRange(0, scale.top);
    money->setTickCount(scale.ticks);
    money->setLabelFormat(QStringLiteral("%.2f"));
    c->addSeries(series);
    c->addAxis(units, Qt::AlignLeft);
    c->addAxis(money, Qt::AlignBottom);
    series->attachAxis(units);
    series->attachAxis(money);
}

} // namespace vx
