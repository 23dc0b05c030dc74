#pragma once

#include <QString>
#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace vx {

struct Snapshot;

// The takings and counters the history window shows of each visit: the
// table's value columns, and the chart lines made of them.
struct HistoryColumn
{
    std::string_view field;   // the window field, as a snapshot keys it
    std::string_view caption; // key of kHistoryCaptions
};

inline constexpr std::array<HistoryColumn, 11> kHistoryColumns{{
    {"Text_acumulado", "historyAccumulated"},
    {"Text_parcial", "historyMemory"},
    {"Text_total00", "historyBand00"},
    {"Text_total08", "historyBand08"},
    {"Text_total12", "historyBand12"},
    {"Text_total15", "historyBand15"},
    {"Text_total20", "historyBand20"},
    {"Text_aberturas", "historyGames"},
    {"Text_prog", "historyProgrammings"},
    {"Text_power", "historyPowerDowns"},
    {"Text_contador", "historyCounter"},
}};

enum class HistoryChartKind
{
    Takings, // money
    Counters
};

// One line of a chart: the sum of its fields at each visit. The five hour
// bands are one line: apart they cross and hide each other.
struct HistorySeries
{
    std::string_view caption; // key of kHistoryCaptions
    HistoryChartKind chart;
    std::array<std::string_view, 5> fields;
};

inline constexpr std::array<HistorySeries, 5> kHistorySeries{{
    {"historyAccumulated", HistoryChartKind::Takings, {"Text_acumulado"}},
    {"historyMemory", HistoryChartKind::Takings, {"Text_parcial"}},
    {"historyBands",
     HistoryChartKind::Takings,
     {"Text_total00", "Text_total08", "Text_total12", "Text_total15", "Text_total20"}},
    {"historyGames", HistoryChartKind::Counters, {"Text_aberturas"}},
    {"historyCounter", HistoryChartKind::Counters, {"Text_contador"}},
}};

// A value axis from zero: its top and how many ticks divide it, each tick
// a round number (1, 2 or 5 times a power of ten) that its labels can show.
struct HistoryScale
{
    double top = 1;
    int ticks = 2;
};

class HistoryValues
{
public:
    // The axis for values up to `highest`: counters get whole steps, so that
    // no two labels read the same; nothing above zero still gets a scale of
    // a few steps.
    static HistoryScale scale(double highest, HistoryChartKind kind);
    // A field's text as a number: money ("12,50") in units, counts as they
    // are. Nothing for an empty or malformed text.
    static std::optional<double> number(const QString &field, const QString &text);
    // The series' value at a visit; nothing when any of its fields has none,
    // so that a gap shows rather than a wrong sum.
    static std::optional<double> value(const HistorySeries &series, const Snapshot &snapshot);
};

} // namespace vx
