#pragma once

#include <QString>
#include <array>
#include <string_view>

namespace vx {

class EditSet;

// "Clear": asks the next write pass for the erase and takes away the buttons
// that must wait for it. The pass reads the unit first, has those values
// kept, and only then zeroes (zeroForClear, Engine::eraseCounters); the read
// that follows shows the result. Nothing of the window changes before: Clear
// abandoned on the way leaves it as it was.
void requestClear(EditSet &edit);

// What the erase's pass writes: the window's counters and sub-totals at zero
// and almost everything marked for writing, as the unit is to hold it.
void zeroForClear(EditSet &edit, const QString &titulo_base);

// The values that end at zero in the timer after Clear, in the window's
// order, with what they are called in each language: the sub-totals, amount
// to pay and memory Clear zeroes itself, the electromechanical counter that
// the erase zeroes, and the counters. The accumulated takings are not among
// them.
struct ZeroedValue
{
    std::string_view field;
    std::string_view pt;
    std::string_view en;
};

inline constexpr std::array<ZeroedValue, 11> kZeroedByClear{{
    {"Text_total00", "Totais 00-08h", "Sub Totals 00-08h"},
    {"Text_total08", "Totais 08-12h", "Sub Totals 08-12h"},
    {"Text_total12", "Totais 12-15h", "Sub Totals 12-15h"},
    {"Text_total15", "Totais 15-20h", "Sub Totals 15-20h"},
    {"Text_total20", "Totais 20-24h", "Sub Totals 20-24h"},
    {"Text_a_pagar", "A Pagar", "Paying"},
    {"Text_parcial", "Memória", "Memory"},
    {"Text_contador", "Contador electromecânico", "Electromechanical counter"},
    {"Text_aberturas", "N. Jogos", "N. Games"},
    {"Text_prog", "N. Prog.", "N. Prog."},
    {"Text_power", "Power Down", "Power Down"},
}};

// What the window shows of a zeroed value once the erase has been read back.
QString shownAfterClear(std::string_view field);

// The question Clear asks before anything is sent (0 Portuguese, 1
// English): the unit, each value above with what it holds now, that the
// accumulated takings stay, and the file the values are stored in first.
QString clearQuestion(const EditSet &edit, int idioma, const QString &snapshotFile);

} // namespace vx
