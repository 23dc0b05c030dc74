#pragma once

#include "fieldtable.h"

#include <QLatin1String>
#include <QString>
#include <array>
#include <string_view>

namespace vx {

// The local database files, the settings file's tables and what fills them. The
// tables are data: each is walked by one loop where it is used.

inline constexpr std::string_view kSettingsFile = "ValoresPre1.db";
inline constexpr std::string_view kLogFile = "Registo.db";
inline constexpr std::string_view kTemplateFile = "manutencao.html";
// The English layout: taken from the data folder when the technician has put
// one there, otherwise the one built into the tool.
inline constexpr std::string_view kEnglishTemplateFile = "manutencao-en.html";

inline constexpr std::string_view kTbValoresPre1 = "TbValoresPre1";
inline constexpr std::string_view kTbReport = "TbReport";
// The log's tables are the records' (RecordsSchema); the PC's own records
// are kLogFile in the data folder.

// One stored default: the field of TbValoresPre1, the window field it is
// taken from and given back to, and the value a new file starts with.
struct DefaultField
{
    std::string_view field;
    std::string_view window;
    std::string_view initial;
};

// The 25 fields that "Aceitar" of the defaults window stores, in its order.
inline constexpr auto kDefaults = [] {
    constexpr FieldId order[] = {
        FieldId::Week00,        FieldId::Week08,         FieldId::Week12,
        FieldId::Week15,        FieldId::Week20,         FieldId::Weekend00,
        FieldId::Weekend08,     FieldId::Weekend12,      FieldId::Weekend15,
        FieldId::Weekend20,     FieldId::Total00,        FieldId::Total08,
        FieldId::Total12,       FieldId::Total15,        FieldId::Total20,
        FieldId::Accumulated,   FieldId::Memory,         FieldId::LastMaintenance,
        FieldId::ClockPassword, FieldId::TariffPassword, FieldId::Counter,
        FieldId::Games,         FieldId::PowerDowns,     FieldId::Fraction,
        FieldId::Programmings};
    std::array<DefaultField, std::size(order)> fields{};
    for (size_t i = 0; i < fields.size(); ++i) {
        const Field &f = fieldRow(order[i]);
        fields[i] = {f.defaultsColumn, f.name, f.defaultsInitial};
    }
    return fields;
}();

// Settings of the same row that the defaults never touch.
inline constexpr std::string_view kIdioma = "idioma";
inline constexpr std::string_view kComm = "Comm";
// What a new unit is proposed to pay: read by "Novo", written by nothing.
inline constexpr std::string_view kPagar = fieldRow(FieldId::ToPay).defaultsColumn;
inline constexpr std::string_view kPagarInitial = fieldRow(FieldId::ToPay).defaultsInitial;

// A field of the report row: made from the window's field `a` (and `b`) as
// the source says.
struct ReportField
{
    std::string_view field;
    ReportSource source;
    std::string_view a;
    std::string_view b;
};

// The 32 fields of TbReport, in the order they are assigned: the report
// columns of the field table, and the PC's date and time.
inline constexpr auto kReportFields = [] {
    constexpr FieldId order[] = {
        FieldId::Week00,        FieldId::Week08,         FieldId::Week12,      FieldId::Week15,
        FieldId::Week20,        FieldId::Weekend00,      FieldId::Weekend08,   FieldId::Weekend12,
        FieldId::Weekend15,     FieldId::Weekend20,      FieldId::Total00,     FieldId::Total08,
        FieldId::Total12,       FieldId::Total15,        FieldId::Total20,     FieldId::Accumulated,
        FieldId::ToPay,         FieldId::MakerCode,      FieldId::KeyReaderOn, FieldId::CounterOn,
        FieldId::KeySerial,     FieldId::KeyUpdateDate,  FieldId::Battery,     FieldId::ClockDate,
        FieldId::ClockPassword, FieldId::TariffPassword, FieldId::PowerDowns,  FieldId::Games,
        FieldId::Programmings,  FieldId::Fraction,       FieldId::Counter};
    std::array<ReportField, std::size(order) + 1> fields{};
    for (size_t i = 0; i < std::size(order); ++i) {
        const Field &f = fieldRow(order[i]);
        const std::string_view with =
            f.reportWith == FieldId::None ? std::string_view{} : fieldRow(f.reportWith).name;
        fields[i] = {f.reportColumn, f.reportHow, f.name, with};
    }
    fields.back() = {"Data_Sys", ReportSource::DataSys, {}, {}};
    return fields;
}();

} // namespace vx
