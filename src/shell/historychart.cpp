#include "historychart.h"

#include "captions.h"
#include "servicehistory.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QFontMetrics>
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

// The time axis spans the visits, with a little room at either end, so that
// visits on one day stay as far apart as those of a season; a single visit
// sits in the middle of a day.
QDateTimeAxis *timeAxis(const QList<Snapshot> &visits)
{
    auto *axis = new QDateTimeAxis;
    QDateTime first = visits.isEmpty() ? QDateTime::currentDateTime() : visits.first().taken;
    QDateTime last = visits.isEmpty() ? first : visits.last().taken;
    const qint64 span = first.secsTo(last);
    const qint64 room = span > 0 ? std::max<qint64>(span / 20, 60) : 12 * 3600;
    first = first.addSecs(-room);
    last = last.addSecs(room);
    axis->setRange(first, last);
    axis->setFormat(first.secsTo(last) > 2 * 24 * 3600 ? QStringLiteral("dd-MM-yy")
                                                       : QStringLiteral("dd-MM hh:mm"));
    axis->setTickCount(2);
    return axis;
}

QValueAxis *valueAxis(HistoryChartKind kind, double highest)
{
    auto *axis = new QValueAxis;
    const HistoryScale scale = HistoryValues::scale(highest, kind);
    axis->setRange(0, scale.top);
    axis->setTickCount(scale.ticks);
    axis->setLabelFormat(kind == HistoryChartKind::Takings ? QStringLiteral("%.2f")
                                                           : QStringLiteral("%.0f"));
    return axis;
}

// As many time labels as the plot's width holds whole, between two and
// seven: Qt Charts cuts a label that is wider than its share.
void fitTimeTicks(QChart *chart)
{
    auto *axis = qobject_cast<QDateTimeAxis *>(chart->axes(Qt::Horizontal).value(0));
    if (!axis) return;
    const QFontMetrics metrics(axis->labelsFont());
    const int label = metrics.horizontalAdvance(axis->min().toString(axis->format())) +
                      metrics.horizontalAdvance(QStringLiteral("MM"));
    const int ticks = std::clamp(int(chart->plotArea().width()) / std::max(label, 1) + 1, 2, 7);
    if (axis->tickCount() != ticks) axis->setTickCount(ticks);
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
    for (QChartView *view : {m_takings, m_counters}) {
        QChart *chart = view->chart();
        connect(chart, &QChart::plotAreaChanged, this, [chart] { fitTimeTicks(chart); });
    }
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
    fitTimeTicks(chart);
}

} // namespace vx
