#pragma once

#include "historyvalues.h"

#include <QList>
#include <QWidget>

class QChart;
class QChartView;

namespace vx {

struct Snapshot;

// The history window's charts, one line per series of kHistorySeries and one
// point per visit, on a time axis: the takings (money) beside the counters,
// each chart on its own scale, as neither reads on the other's.
class HistoryChart : public QWidget
{
    Q_OBJECT
public:
    explicit HistoryChart(QWidget *parent = nullptr);

    void setVisits(const QList<Snapshot> &visits, int idioma);

    QChart *chart(HistoryChartKind kind) const;

private:
    void fill(QChart *chart, HistoryChartKind kind, const QList<Snapshot> &visits, int idioma);

    QChartView *m_takings;
    QChartView *m_counters;
};

} // namespace vx
