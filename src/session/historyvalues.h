#pragma once

#include "fieldtable.h"

#include <QString>
#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace vx {

struct Snapshot;

// The takings and counters the history window shows of each visit: the
// table's value columns (the fields with a history caption), and the chart
// lines made of them.
struct HistoryColumn
{
    std::string_view field;   // the window field, as a snapshot keys it
    std::string_view caption; // key of kHistoryCaptions
};

inline constexpr auto kHistoryColumns = [] {
    constexpr FieldId order[] = {FieldId::Accumulated, FieldId::Memory,  FieldId::Total00,
                                 FieldId::Total08,     FieldId::Total12, FieldId::Total15,
                                 FieldId::Total20,     FieldId::Games,   FieldId::Programmings,
                                 FieldId::PowerDowns,  FieldId::Counter};
    std::array<HistoryColumn, std::size(order)> columns{};
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i] = {fieldRow(order[i]).name, fieldRow(order[i]).history};
    return columns;
}();

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
    std::array<FieldId, 5> fields; // FieldId::None past the last
};

inline constexpr std::array<HistorySeries, 5> kHistorySeries{{
    {"historyAccumulated",
     HistoryChartKind::Takings,
     {FieldId::Accumulated, FieldId::None, FieldId::None, FieldId::None, FieldId::None}},
    {"historyMemory",
     HistoryChartKind::Takings,
     {FieldId::Memory, FieldId::None, FieldId::None, FieldId::None, FieldId::None}},
    {"historyBands",
     HistoryChartKind::Takings,
     {FieldId::Total00, FieldId::Total08, FieldId::Total12, FieldId::Total15, FieldId::Total20}},
    {"historyGames",
     HistoryChartKind::Counters,
     {FieldId::Games, FieldId::None, FieldId::None, FieldId::None, FieldId::None}},
    {"historyCounter",
     HistoryChartKind::Counters,
     {FieldId::Counter, FieldId::None, FieldId::None, FieldId::None, FieldId::None}},
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
