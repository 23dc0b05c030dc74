#pragma once

#include "takingsreport.h"

#include <QChartView>
#include <QList>

namespace vx {

// The takings window's bar chart: one bar per unit, its takings in the five
// hour bands stacked end to end, the largest at the top. Beyond kUnits units
// only the largest are drawn: the bars would be too thin to tell apart.
class TakingsChart : public QChartView
{
    Q_OBJECT
public:
    static constexpr int kUnits = 20;

    explicit TakingsChart(QWidget *parent = nullptr);

    void setRows(const QList<UnitTakings> &rows, int idioma);
    // The units drawn, top to bottom.
    QStringList units() const { return m_units; }

private:
    QStringList m_units;
};

} // namespace vx
