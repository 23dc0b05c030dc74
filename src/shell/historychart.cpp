#include "historychart.h"

#include "captions.h"
#include "servicehistory.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QValueAxis>

namespace vx {

namespace {

QChartView *makeView(const QString &name, QWidget *parent)
{
    auto *view = new QChartView(new QChart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(360, 260);
    QChart *chart = view->chart();
    chart->setAnimationOptions(QChart::NoAnimation);
    // Amounts read as the window writes them, with a decimal comma, in
    // either language.
    QLocale comma(QLocale::Portuguese, QLocale::Portugal);
    comma.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(comma);
    chart->setLocalizeNumbers(true);
    QFont title = chart->titleFont();
    title.setBold(true);
    chart->setTitleFont(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    return view;
}

// The time axis spans the visits; a single visit sits in the middle of a day.
QDateTimeAxis *timeAxis(const QList<Snapshot> &visits)
{
    auto *axis = new QDateTimeAxis;
    QDateTime first = visits.isEmpty() ? QDateTime::currentDateTime() : visits.first().taken;
    QDateTime last = visits.isEmpty() ? first : visits.last().taken;
    if (first.daysTo(last) < 1) {
        first = first.addSecs(-12 * 3600);
        last = last.addSecs(12 * 3600);
    }
    axis->setRange(first, last);
    axis->setFormat(first.daysTo(last) > 2 ? QStringLiteral("dd-MM-yy")
                                           : QStringLiteral("dd-MM hh:mm"));
    axis->setTickCount(static_cast<int>(std::clamp<qsizetype>(visits.size(), 2, 6)));
    return axis;
}

QValueAxis *valueAxis(HistoryChartKind kind, double top)
{
    auto *axis = new QValueAxis;
    axis->setRange(0, top > 0 ? top * 1.1 : 1.0);
    axis->applyNiceNumbers();
    axis->setLabelFormat(kind == HistoryChartKind::Takings ? QStringLiteral("%.2f")
                                                           : QStringLiteral("%.0f"));
    return axis;
}

} // namespace

HistoryChart::HistoryChart(QWidget *parent)
    : QWidget(parent), m_takings(makeView(QStringLiteral("Chart_receitas"), this)),
      m_counters(makeView(QStringLiteral("Chart_contadores"), this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_takings, 1);
    layout->addWidget(m_counters, 1);
}

QChart *HistoryChart::chart(HistoryChartKind kind) const
{
    return (kind == HistoryChartKind::Takings ? m_takings : m_counters)->chart();
}

void HistoryChart::setVisits(const QList<Snapshot> &visits, int idioma)
{
    fill(chart(HistoryChartKind::Takings), HistoryChartKind::Takings, visits, idioma);
    fill(chart(HistoryChartKind::Counters), HistoryChartKind::Counters, visits, idioma);
}

void HistoryChart::fill(QChart *chart, HistoryChartKind kind, const QList<Snapshot> &visits,
                        int idioma)
{
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes())
        chart->removeAxis(axis);
    chart->setTitle(Captions::caption(kind == HistoryChartKind::Takings
                                          ? QStringLiteral("historyTakings")
                                          : QStringLiteral("historyCounters"),
                                      idioma));
    QDateTimeAxis *x = timeAxis(visits);
    double top = 0;
    QList<QLineSeries *> lines;
    for (const HistorySeries &s : kHistorySeries) {
        if (s.chart != kind) continue;
        auto *line = new QLineSeries;
        line->setName(Captions::caption(Captions::text(s.caption), idioma));
        line->setPointsVisible(true);
        for (const Snapshot &visit : visits) {
            const auto v = HistoryValues::value(s, visit);
            if (!v) continue;
            line->append(static_cast<qreal>(visit.taken.toMSecsSinceEpoch()), *v);
            top = std::max(top, *v);
        }
        lines << line;
    }
    QValueAxis *y = valueAxis(kind, top);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QLineSeries *line : lines) {
        chart->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
    }
}

} // namespace vx
