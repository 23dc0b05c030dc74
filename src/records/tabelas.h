#pragma once

#include <QLatin1String>
#include <QString>
#include <array>
#include <string_view>

namespace vx {

// The two local database files, their tables and what fills them. The
// tables are data: each is walked by one loop where it is used.

inline constexpr std::string_view kFicheiroValores = "ValoresPre1.db";
inline constexpr std::string_view kFicheiroRegisto = "Registo.db";
inline constexpr std::string_view kFicheiroModelo = "manutencao.html";

inline constexpr std::string_view kTbValoresPre1 = "TbValoresPre1";
inline constexpr std::string_view kTbReport = "TbReport";
inline constexpr std::string_view kTbRegisto = "TbRegisto";
// Order of appending to the log; "the last row" is the highest.
inline constexpr std::string_view kOrdemRegisto = "ordem";

inline QString nome(std::string_view s)
{
    return QLatin1String(s.data(), static_cast<qsizetype>(s.size()));
}

// One stored default: the field of TbValoresPre1, the window field it is
// taken from and given back to, and the value a new file starts with.
struct CampoPredefinido
{
    std::string_view campo;
    std::string_view janela;
    std::string_view inicial;
};

// The 25 fields that "Aceitar" of the defaults window stores, in its order.
inline constexpr std::array<CampoPredefinido, 25> kPredefinidos{{
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
inline constexpr std::string_view kPagarJanela = "Text_a_pagar";
inline constexpr std::string_view kPagarInicial = "0,00";

// How a field of the report row is made from the window.
enum class FonteRelatorio
{
    Texto,   // text of a
    Juntos,  // text of a immediately followed by text of b
    Arroba,  // text of a, " @ ", text of b
    Marca,   // "Activado" / "Desactivado" from tick box a
    DataSys, // the PC's date and time in the system's short formats
};

struct CampoRelatorio
{
    std::string_view campo;
    FonteRelatorio fonte;
    std::string_view a;
    std::string_view b;
};

// The 32 fields of TbReport, in the order they are assigned.
inline constexpr std::array<CampoRelatorio, 32> kCamposRelatorio{{
    {"TarS00", FonteRelatorio::Texto, "Text_S00", {}},
    {"TarS08", FonteRelatorio::Texto, "Text_S08", {}},
    {"TarS12", FonteRelatorio::Texto, "Text_S12", {}},
    {"TarS15", FonteRelatorio::Texto, "Text_S15", {}},
    {"TarS20", FonteRelatorio::Texto, "Text_S20", {}},
    {"TarF00", FonteRelatorio::Texto, "Text_F00", {}},
    {"TarF08", FonteRelatorio::Texto, "Text_F08", {}},
    {"TarF12", FonteRelatorio::Texto, "Text_F12", {}},
    {"TarF15", FonteRelatorio::Texto, "Text_F15", {}},
    {"TarF20", FonteRelatorio::Texto, "Text_F20", {}},
    {"tot00", FonteRelatorio::Texto, "Text_total00", {}},
    {"tot08", FonteRelatorio::Texto, "Text_total08", {}},
    {"tot12", FonteRelatorio::Texto, "Text_total12", {}},
    {"tot15", FonteRelatorio::Texto, "Text_total15", {}},
    {"tot20", FonteRelatorio::Texto, "Text_total20", {}},
    {"Acumulado", FonteRelatorio::Texto, "Text_acumulado", {}},
    {"Pagar", FonteRelatorio::Texto, "Text_a_pagar", {}},
    {"ns", FonteRelatorio::Juntos, "text_numfab_ano", "Text_numfab_num"},
    {"IButton", FonteRelatorio::Marca, "Check_ibut", {}},
    {"Cnt_mec", FonteRelatorio::Marca, "Check_contador", {}},
    {"Ibutton_sn", FonteRelatorio::Texto, "Text_ibut", {}},
    {"Ibutton_act", FonteRelatorio::Arroba, "Text_act_data", "Text_act_hora"},
    {"baterias", FonteRelatorio::Texto, "Label_percentagem", {}},
    {"rtc", FonteRelatorio::Arroba, "Text_rtc_data", "Text_rtc_hora"},
    {"pwd_relogio", FonteRelatorio::Texto, "Text_pwdrelogio", {}},
    {"pwd_tarifas", FonteRelatorio::Texto, "Text_pwdtarifas", {}},
    {"Resets", FonteRelatorio::Texto, "Text_power", {}},
    {"jogos", FonteRelatorio::Texto, "Text_aberturas", {}},
    {"Progs", FonteRelatorio::Texto, "Text_prog", {}},
    {"FRACAO", FonteRelatorio::Texto, "Text_fracao", {}},
    {"impulsos", FonteRelatorio::Texto, "Text_contador", {}},
    {"Data_Sys", FonteRelatorio::DataSys, {}, {}},
}};

} // namespace vx
