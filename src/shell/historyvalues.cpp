#include "historyvalues.h"

#include "fields.h"
#include "servicehistory.h"
#include "textforms.h"

namespace vx {

std::optional<double> HistoryValues::number(const QString &field, const QString &text)
{
    const int i = fieldIndex(field.toStdString());
    const TextForm form = i < 0 ? TextForm::Count3 : kFields[static_cast<size_t>(i)].form;
    if (form == TextForm::Money2 || form == TextForm::Money3) {
        const auto cents = centimos(text);
        if (!cents) return std::nullopt;
        return static_cast<double>(*cents) / 100.0;
    }
    const auto n = integer(text);
    if (!n) return std::nullopt;
    return static_cast<double>(*n);
}

std::optional<double> HistoryValues::value(const HistorySeries &series, const Snapshot &snapshot)
{
    double sum = 0;
    for (const std::string_view field : series.fields) {
        if (field.empty()) break;
        const QString name = toQString(field);
        const auto n = number(name, snapshot.values.value(name));
        if (!n) return std::nullopt;
        sum += *n;
    }
    return sum;
}

} // namespace vx
