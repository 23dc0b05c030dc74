#include "historyvalues.h"

#include "fieldtable.h"
#include "servicehistory.h"
#include "textforms.h"

#include <cmath>

namespace vx {

std::optional<double> HistoryValues::number(const QString &field, const QString &text)
{
    const int i = fieldIndex(field.toStdString());
    const TextForm form = i < 0 ? TextForm::Count3 : kFields[static_cast<size_t>(i)].form;
    if (form == TextForm::Money2 || form == TextForm::Money3) {
        const auto amount = cents(text);
        if (!amount) return std::nullopt;
        return static_cast<double>(*amount) / 100.0;
    }
    const auto n = integer(text);
    if (!n) return std::nullopt;
    return static_cast<double>(*n);
}

HistoryScale HistoryValues::scale(double highest, HistoryChartKind kind)
{
    const bool counters = kind == HistoryChartKind::Counters;
    // Nothing above zero: a few round steps, the line along the bottom.
    if (!(highest > 0)) return HistoryScale{counters ? 5.0 : 1.0, 6};
    // About five steps; a counter's step is a whole number, an amount's at
    // least a cent.
    const double wanted = highest / 5;
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    const double fraction = wanted / power;
    double step = (fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10) * power;
    step = std::max(step, counters ? 1.0 : 0.01);
    // One step above the highest value, so that its point stays clear of
    // the chart's frame; the tolerance absorbs what sums of amounts leave.
    const int steps = int(std::floor(highest / step + 1e-9)) + 1;
    return HistoryScale{steps * step, steps + 1};
}

std::optional<double> HistoryValues::value(const HistorySeries &series, const Snapshot &snapshot)
{
    double sum = 0;
    for (const FieldId field : series.fields) {
        if (field == FieldId::None) break;
        const QString name = fieldName(field);
        const auto n = number(name, snapshot.values.value(name));
        if (!n) return std::nullopt;
        sum += *n;
    }
    return sum;
}

} // namespace vx
