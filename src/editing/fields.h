#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <string_view>

namespace vx {

// A name from the tables (fields, controls, files) as Qt text. The tables are
// UTF-8 source text; most names are plain ASCII.
inline QString toQString(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// How a value is held as text in the window and as bytes in the device.
enum class TextForm : uint8_t
{
    Money2,     // money, 2 bytes of cents (tariffs): "12,50"
    Money3,     // money, 3 bytes of cents (takings)
    Count1,     // count, 1 byte
    Count2,     // count, 2 bytes
    Count3,     // count, 3 bytes
    PowerDowns, // power-down count, 2 bytes; a negative text is written as 0
    Flag,       // tick box, 1 byte 0/1
    Data,       // dd-mm-yyyy or "-", 3 bytes day, month, year-2000
    Time,       // hh:mm or "-", 2 bytes hour, minute
    Code,       // manufacturing code "A0715": week, year, letter code
    Serial,     // 12 hex digits or "-", 6 bytes
};

enum class EnterCheck : uint8_t
{
    None,
    Tariff,
    Fraction
};

struct Field
{
    std::string_view name;
    uint8_t address;
    uint8_t bytes;
    TextForm form;
    uint8_t limit; // typing limit, 0 = none
    EnterCheck enter;
    bool numeric; // numeric check on every change
    bool copied;  // kept by "Pic -> PC" and put back by "PC -> Pic"
    // What a unit is set up with, rather than what it counted or who it is:
    // what a configuration file restores without --all.
    bool setting = false;
};

// The writable values, in the order the write pass sends them. The date and
// time of the last key update are not copied: they say when a unit was
// updated, not what it holds.
inline constexpr std::array<Field, 33> kFields{{
    {"Text_pwdtarifas", 0, 2, TextForm::Count2, 4, EnterCheck::None, true, true, true},
    {"Text_pwdrelogio", 2, 2, TextForm::Count2, 0, EnterCheck::None, true, true, true},
    {"Text_S00", 4, 2, TextForm::Money2, 6, EnterCheck::Tariff, true, true, true},
    {"Text_S08", 6, 2, TextForm::Money2, 6, EnterCheck::Tariff, true, true, true},
    {"Text_S12", 8, 2, TextForm::Money2, 6, EnterCheck::Tariff, true, true, true},
    {"Text_S15", 10, 2, TextForm::Money2, 6, EnterCheck::Tariff, true, true, true},
    {"Text_S20", 12, 2, TextForm::Money2, 6, EnterCheck::Tariff, true, true, true},
    {"Text_F00", 14, 2, TextForm::Money2, 6, EnterCheck::Tariff, true, true, true},
    {"Text_F08", 16, 2, TextForm::Money2, 6, EnterCheck::Tariff, true, true, true},
    {"Text_F12", 18, 2, TextForm::Money2, 6, EnterCheck::Tariff, true, true, true},
    {"Text_F15", 20, 2, TextForm::Money2, 6, EnterCheck::Tariff, true, true, true},
    {"Text_F20", 22, 2, TextForm::Money2, 6, EnterCheck::Tariff, true, true, true},
    {"Check_ibut", 24, 1, TextForm::Flag, 0, EnterCheck::None, false, true, true},
    {"Check_contador", 25, 1, TextForm::Flag, 0, EnterCheck::None, false, true, true},
    {"Text_act_data", 26, 3, TextForm::Data, 0, EnterCheck::None, false, false},
    {"Text_act_hora", 29, 2, TextForm::Time, 0, EnterCheck::None, false, false},
    {"Text_fracao", 31, 1, TextForm::Count1, 2, EnterCheck::Fraction, true, true, true},
    {"Text_acumulado", 32, 3, TextForm::Money3, 0, EnterCheck::None, true, true},
    {"Text_a_pagar", 37, 3, TextForm::Money3, 0, EnterCheck::None, false, true},
    {"Text_parcial", 40, 3, TextForm::Money3, 0, EnterCheck::None, true, true},
    {"Text_numfab_num", 43, 1, TextForm::Count1, 3, EnterCheck::None, false, true},
    {"text_numfab_ano", 44, 3, TextForm::Code, 5, EnterCheck::None, false, true},
    {"Text_ibut", 47, 6, TextForm::Serial, 12, EnterCheck::None, false, true, true},
    {"Text_contador", 53, 2, TextForm::Count2, 5, EnterCheck::None, true, true},
    {"Text_total00", 55, 3, TextForm::Money3, 0, EnterCheck::None, true, true},
    {"Text_total08", 58, 3, TextForm::Money3, 0, EnterCheck::None, true, true},
    {"Text_total12", 61, 3, TextForm::Money3, 0, EnterCheck::None, true, true},
    {"Text_total15", 64, 3, TextForm::Money3, 0, EnterCheck::None, true, true},
    {"Text_total20", 67, 3, TextForm::Money3, 0, EnterCheck::None, true, true},
    {"Text_power", 70, 2, TextForm::PowerDowns, 5, EnterCheck::None, true, true},
    {"Text_aberturas", 72, 2, TextForm::Count2, 5, EnterCheck::None, true, true},
    {"Text_prog", 74, 1, TextForm::Count1, 5, EnterCheck::None, true, true},
    {"Text_sn_apl", 96, 3, TextForm::Count3, 5, EnterCheck::None, true, true},
}};

// Text fields of the window that the program fills but never writes back.
struct DisplayField
{
    std::string_view name;
    uint8_t limit;
    bool numeric;
    // Filled by a read (the pulse count is filled by the pulse test only).
    bool fromRead = true;
};
inline constexpr std::array<DisplayField, 5> kDisplayFields{{
    {"Text_master_ibut", 0, false},
    {"Text_rtc_data", 0, false},
    {"Text_rtc_hora", 0, false},
    {"Text_ibutsn", 12, false},
    {"Text_impulsos", 5, true, false},
}};

// Index into kFields, or -1.
int fieldIndex(std::string_view name);

} // namespace vx
