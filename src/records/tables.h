#pragma once

#include "fields.h"

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
inline constexpr std::array<DefaultField, 25> kDefaults{{
    {"TarS00", "Text_S00", "0,00"},
    {"TarS08", "Text_S08", "0,00"},
    {"TarS12", "Text_S12", "0,00"},
    {"TarS15", "Text_S15", "0,00"},
    {"TarS20", "Text_S20", "0,00"},
    {"TarF00", "Text_F00", "0,00"},
    {"TarF08", "Text_F08", "0,00"},
    {"TarF12", "Text_F12", "0,00"},
    {"TarF15", "Text_F15", "0,00"},
    {"TarF20", "Text_F20", "0,00"},
    {"Total00", "Text_total00", "0,00"},
    {"Total08", "Text_total08", "0,00"},
    {"Total12", "Text_total12", "0,00"},
    {"Total15", "Text_total15", "0,00"},
    {"Total20", "Text_total20", "0,00"},
    {"Acumulado", "Text_acumulado", "0,00"},
    {"Parcial", "Text_parcial", "0,00"},
    {"MasterIbut", "Text_master_ibut", "-"},
    {"PwdRelogio", "Text_pwdrelogio", "0"},
    {"PwdTarifas", "Text_pwdtarifas", "0"},
    {"Contador", "Text_contador", "0"},
    {"Aberturas", "Text_aberturas", "0"},
    {"Power", "Text_power", "0"},
    {"FRACAO", "Text_fracao", "0"},
    {"prog", "Text_prog", "0"},
}};

// Settings of the same row that the defaults never touch.
inline constexpr std::string_view kIdioma = "idioma";
inline constexpr std::string_view kComm = "Comm";
inline constexpr std::string_view kPagar = "Pagar";
inline constexpr std::string_view kPagarControl = "Text_a_pagar";
inline constexpr std::string_view kPagarInitial = "0,00";

// How a field of the report row is made from the window.
enum class ReportSource
{
    Text,    // text of a
    Joined,  // text of a immediately followed by text of b
    AtSign,  // text of a, " @ ", text of b
    TickBox, // "Activado" / "Desactivado" from tick box a
    DataSys, // the PC's date and time in the system's short formats
};

struct ReportField
{
    std::string_view field;
    ReportSource source;
    std::string_view a;
    std::string_view b;
};

// The 32 fields of TbReport, in the order they are assigned.
inline constexpr std::array<ReportField, 32> kReportFields{{
    {"TarS00", ReportSource::Text, "Text_S00", {}},
    {"TarS08", ReportSource::Text, "Text_S08", {}},
    {"TarS12", ReportSource::Text, "Text_S12", {}},
    {"TarS15", ReportSource::Text, "Text_S15", {}},
    {"TarS20", ReportSource::Text, "Text_S20", {}},
    {"TarF00", ReportSource::Text, "Text_F00", {}},
    {"TarF08", ReportSource::Text, "Text_F08", {}},
    {"TarF12", ReportSource::Text, "Text_F12", {}},
    {"TarF15", ReportSource::Text, "Text_F15", {}},
    {"TarF20", ReportSource::Text, "Text_F20", {}},
    {"tot00", ReportSource::Text, "Text_total00", {}},
    {"tot08", ReportSource::Text, "Text_total08", {}},
    {"tot12", ReportSource::Text, "Text_total12", {}},
    {"tot15", ReportSource::Text, "Text_total15", {}},
    {"tot20", ReportSource::Text, "Text_total20", {}},
    {"Acumulado", ReportSource::Text, "Text_acumulado", {}},
    {"Pagar", ReportSource::Text, "Text_a_pagar", {}},
    {"ns", ReportSource::Joined, "text_numfab_ano", "Text_numfab_num"},
    {"IButton", ReportSource::TickBox, "Check_ibut", {}},
    {"Cnt_mec", ReportSource::TickBox, "Check_contador", {}},
    {"Ibutton_sn", ReportSource::Text, "Text_ibut", {}},
    {"Ibutton_act", ReportSource::AtSign, "Text_act_data", "Text_act_hora"},
    {"baterias", ReportSource::Text, "Label_percentagem", {}},
    {"rtc", ReportSource::AtSign, "Text_rtc_data", "Text_rtc_hora"},
    {"pwd_relogio", ReportSource::Text, "Text_pwdrelogio", {}},
    {"pwd_tarifas", ReportSource::Text, "Text_pwdtarifas", {}},
    {"Resets", ReportSource::Text, "Text_power", {}},
    {"jogos", ReportSource::Text, "Text_aberturas", {}},
    {"Progs", ReportSource::Text, "Text_prog", {}},
    {"FRACAO", ReportSource::Text, "Text_fracao", {}},
    {"impulsos", ReportSource::Text, "Text_contador", {}},
    {"Data_Sys", ReportSource::DataSys, {}, {}},
}};

} // namespace vx
