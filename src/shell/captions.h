#pragma once

#include "shelltexts.h"
#include "text.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <span>
#include <string_view>

namespace vx {

// The captions of the main window. Every table is data, walked by one loop
// where it is used; both languages sit side by side so that a missing
// translation shows up as an empty cell in review and in the caption test.

// The captions that follow the interface language, keyed by control, in the
// order aplicar_idioma puts them on the window.
inline constexpr std::array<Text, 37> kCaptions{{
    {"mnu_comunicação", "Comunicação", "Communication"},
    {"mnu_idioma", "Idioma", "Language"},
    {"Label1", "Tarifas", "Costs per Hour"},
    {"Frame_semana", "Semana", "Week"},
    {"Frame_Fimdesemana", "Fim de Semana", "Weekend"},
    {"Label2", "Totais", "Sub Totals"},
    {"Label6", "Configuração", "Configuration"},
    {"Label_numfab", "Número de Série", "Serial Number"},
    {"Label_sn_apl", "Aplicação", "Application"},
    {"Label_a_pagar", "A Pagar", "Paying"},
    {"Label_parcial", "Memória", "Memory"},
    {"Label_power", "Power Down", "Power Down"},
    {"Label_fracao", "Fracção", "Fraction"},
    {"Label_rtc_data", "Data", "Date"},
    {"Check_ibut", "iButton", "iButton"},
    {"Check_contador", "Electromecanico", "Electromechanical"},
    {"Label_aberturas", "N. Jogos", "N. Games"},
    {"Label_prog", "N. Prog.", "N. Prog."},
    {"Label_rtc_hora", "Hora", "Time"},
    {"Label_master_ibut", "Última Manutenção", "Last Maintnance"},
    {"Label_baterias", "Baterias", "Batteries"},
    {"Command_clear", "Clear", "Clear"},
    {"Frame_actualizacao", "Última Actualizacao do iButton", "Last iButton Update"},
    {"Frame1", "Password", "Password"},
    {"Label_act_data", "Data", "Date"},
    {"Label_act_hora", "Hora", "Time"},
    {"Label_pwdrelogio", "Relógio", "Clock"},
    {"Label_pwdtarifas", "Tarifa", "CPH"},
    {"Command_ler", "Lêr", "Read"},
    {"Command_testar", "Sair", "Exit"},
    {"Command_imprimir", "Imprimir", "Print"},
    {"Command_sair", "Sair da Aplicação", "Close Application"},
    {"Label5", "Teste de Hardware", "Hardware Test"},
    {"Label4", "Teste iButton", "iButton Test"},
    {"Command_teste_disp", "Testar Displays", "Display Test"},
    {"Label_impulsos", "Impulsos a Enviar", "Send Impulses"},
    {"Command_enviar", "Enviar", "Send"},
}};

// The factory menu, offered only with --factory. Its items mirror the hidden
// buttons ("Novo", "Pic -> PC", "PC -> Pic"), whose captions are Portuguese in
// both languages, and open the defaults window.
inline constexpr std::array<Text, 2> kFactoryCaptions{{
    {"mnu_fabrica", "Fábrica", "Factory"},
    {"mnu_predefinir", "Predefinição de valores...", "Default Values..."},
}};

// The report menu: the printed report saved as a PDF file instead, the
// traffic log and the service history.
inline constexpr std::array<Text, 4> kReportCaptions{{
    {"mnu_relatorio", "Relatório", "Report"},
    {"mnu_exportar", "Exportar PDF...", "Export PDF..."},
    {"mnu_registo", "Registo de comunicação", "Traffic log"},
    {"mnu_historico", "Histórico…", "History…"},
}};

// The port menu's search item, below the ports.
inline constexpr std::array<Text, 1> kPortCaptions{{
    {"mnu_search", "Procurar", "Search"},
}};

// The configuration menu: a unit's values saved to a file, compared with one
// and put back from one.
inline constexpr std::array<Text, 4> kConfigurationCaptions{{
    {"mnu_configuracao", "Configuração", "Configuration"},
    {"mnu_guardar_configuracao", "Guardar configuração…", "Save configuration…"},
    {"mnu_comparar_configuracao", "Comparar com ficheiro…", "Compare with file…"},
    {"mnu_repor_configuracao", "Repor configuração…", "Restore configuration…"},
}};

// Captions that read the same in both languages.
inline constexpr std::array<Text, 24> kFixedCaptions{{
    {"Label_S00", " 00-08h", " 00-08h"},
    {"Label_F00", " 00-08h", " 00-08h"},
    {"Label_S08", "08-12h", "08-12h"},
    {"Label_F08", "08-12h", "08-12h"},
    {"Label_total08", "08-12h", "08-12h"},
    {"Label_S12", "12-15h", "12-15h"},
    {"Label_F12", "12-15h", "12-15h"},
    {"Label_total12", "12-15h", "12-15h"},
    {"Label_S15", "15-20h", "15-20h"},
    {"Label_F15", "15-20h", "15-20h"},
    {"Label_total15", "15-20h", "15-20h"},
    {"Label_S20", "20-24h", "20-24h"},
    {"Label_F20", "20-24h", "20-24h"},
    {"Label_total20", "20-24h", "20-24h"},
    {"Label_total00", "00-08h", "00-08h"},
    {"Label_percentagem", "0%", "0%"},
    {"mnu_porta1", "Com 1", "Com 1"},
    {"mnu_porta2", "Com 2", "Com 2"},
    {"mnu_porta3", "Com 3", "Com 3"},
    {"mnu_porta4", "Com 4", "Com 4"},
    {"mnu_pt", "Português", "Português"},
    {"mnu_EN", "English", "English"},
    {"Label_acumulado", "Acumulado", "Acumulado"},
    {"Label3", "Backup Informação", "Backup Informação"},
}};

// Names read out by screen readers: the caption of the control's group, then
// the caption of its label, then a word of its own (kAccessibleWords) where
// the label is shared (the two boxes of the manufacturing number) or missing
// (the indicators).
struct AccessibleName
{
    std::string_view control;
    std::string_view group;   // control whose caption names the group, or empty
    std::string_view caption; // control whose caption labels it, or empty
};

inline constexpr std::array<AccessibleName, 55> kAccessibleNames{{
    {"Text_S00", "Frame_semana", "Label_S00"},
    {"Text_S08", "Frame_semana", "Label_S08"},
    {"Text_S12", "Frame_semana", "Label_S12"},
    {"Text_S15", "Frame_semana", "Label_S15"},
    {"Text_S20", "Frame_semana", "Label_S20"},
    {"Text_F00", "Frame_Fimdesemana", "Label_F00"},
    {"Text_F08", "Frame_Fimdesemana", "Label_F08"},
    {"Text_F12", "Frame_Fimdesemana", "Label_F12"},
    {"Text_F15", "Frame_Fimdesemana", "Label_F15"},
    {"Text_F20", "Frame_Fimdesemana", "Label_F20"},
    {"Text_total00", "Label2", "Label_total00"},
    {"Text_total08", "Label2", "Label_total08"},
    {"Text_total12", "Label2", "Label_total12"},
    {"Text_total15", "Label2", "Label_total15"},
    {"Text_total20", "Label2", "Label_total20"},
    {"Text_a_pagar", "Label2", "Label_a_pagar"},
    {"Text_parcial", "Label2", "Label_parcial"},
    {"Text_acumulado", {}, "Label_acumulado"},
    {"text_numfab_ano", "Label6", "Label_numfab"},
    {"Text_numfab_num", "Label6", "Label_numfab"},
    {"Text_sn_apl", "Label6", "Label_sn_apl"},
    {"Text_power", "Label6", "Label_power"},
    {"Text_fracao", "Label6", "Label_fracao"},
    {"Text_rtc_data", "Label6", "Label_rtc_data"},
    {"Check_ibut", "Label6", "Check_ibut"},
    {"Text_ibut", "Label6", "Check_ibut"},
    {"Check_contador", "Label6", "Check_contador"},
    {"Text_contador", "Label6", "Check_contador"},
    {"Text_aberturas", "Label6", "Label_aberturas"},
    {"Text_prog", "Label6", "Label_prog"},
    {"Text_rtc_hora", "Label6", "Label_rtc_hora"},
    {"Text_master_ibut", "Label6", "Label_master_ibut"},
    {"ProgressBar_baterias", "Label6", "Label_baterias"},
    {"Text_act_data", "Frame_actualizacao", "Label_act_data"},
    {"Text_act_hora", "Frame_actualizacao", "Label_act_hora"},
    {"Text_pwdrelogio", "Frame1", "Label_pwdrelogio"},
    {"Text_pwdtarifas", "Frame1", "Label_pwdtarifas"},
    {"Command_clear", "Label6", "Command_clear"},
    {"Command_ler", {}, "Command_ler"},
    {"Command_testar", {}, "Command_testar"},
    {"Command_imprimir", {}, "Command_imprimir"},
    {"Command_sair", {}, "Command_sair"},
    {"Text_ibutsn", "Label5", "Label4"},
    {"Command_teste_disp", "Label5", "Command_teste_disp"},
    {"Text_impulsos", "Label5", "Label_impulsos"},
    {"Command_enviar", "Label5", "Command_enviar"},
    {"Shape_memoria", "Label5", {}},
    {"Shape_incremento", "Label5", {}},
    {"Shape_cursor", "Label5", {}},
    {"Shape_bola0", "Label5", {}},
    {"Shape_bola1", "Label5", {}},
    {"Shape_bola2", "Label5", {}},
    {"Shape_bola3", "Label5", {}},
    {"Image1", {}, {}},
    {"Shape_gaveta", "Label5", {}},
}};

// The words of their own that some controls' names end with, keyed by
// control.
inline constexpr std::array<Text, 13> kAccessibleWords{{
    {"text_numfab_ano", "código", "code"},
    {"Text_numfab_num", "número", "number"},
    {"Text_ibut", "número", "number"},
    {"Text_contador", "contagem", "count"},
    {"Shape_memoria", "Memória", "Memory"},
    {"Shape_incremento", "Incremento", "Increment"},
    {"Shape_cursor", "Cursor", "Cursor"},
    {"Shape_bola0", "Entrada 1", "Input 1"},
    {"Shape_bola1", "Entrada 2", "Input 2"},
    {"Shape_bola2", "Entrada 3", "Input 3"},
    {"Shape_bola3", "Entrada 4", "Input 4"},
    {"Image1", "Imagem do VX308", "VX308 picture"},
    {"Shape_gaveta", "Gaveta", "Drawer"},
}};

// The window's title, titulo_base before a read adds the timer's version.
inline constexpr std::array<Text, 1> kTitleTexts{{
    {"titulo_base", "Manutenção VX308 v3.5", "VX308 Maintnance v3.5"},
}};

// Controls with a caption that nothing ever shows: the font rule skips them.
inline constexpr std::array<std::string_view, 2> kHiddenCaptioned{{"Label_acumulado", "Label3"}};

// Every table a caption or a window's text is looked up in, by key.
inline constexpr std::array<std::span<const Text>, 9> kTranslatedTables{
    {kCaptions, kFactoryCaptions, kReportCaptions, kPortCaptions, kStatusTexts,
     kConfigurationCaptions, kTrafficLogCaptions, kHistoryCaptions, kFixedCaptions}};

// Every text table of the shell, for the completeness check.
inline constexpr std::array<TextTable, 16> kShellTextTables{{
    {"kCaptions", kCaptions},
    {"kFactoryCaptions", kFactoryCaptions},
    {"kReportCaptions", kReportCaptions},
    {"kPortCaptions", kPortCaptions},
    {"kConfigurationCaptions", kConfigurationCaptions},
    {"kFixedCaptions", kFixedCaptions},
    {"kAccessibleWords", kAccessibleWords},
    {"kTitleTexts", kTitleTexts},
    {"kStatusTexts", kStatusTexts},
    {"kTrafficLogCaptions", kTrafficLogCaptions},
    {"kTrafficLogKinds", kTrafficLogKinds},
    {"kTrafficLogPhrases", kTrafficLogPhrases},
    {"kHistoryCaptions", kHistoryCaptions},
    {"kConfigurationDialogTexts", kConfigurationDialogTexts},
    {"kClearDialogTexts", kClearDialogTexts},
    {"kLinkNoticeTexts", kLinkNoticeTexts},
}};

// Look-ups over the tables above. The language code is 0 (Portuguese) or 1
// (English); any other code is treated as Portuguese.
class Captions
{
public:
    static QString text(std::string_view s);
    // The caption of a control in a language; empty when it has none.
    static QString caption(const QString &control, int idioma);
    // True for the captioned controls whose font drops to 8 points.
    static bool eightPoints(const QString &control);
    // How many controls the font rule touches.
    static int countEightPoint();
    // The name a screen reader announces, e.g. "Semana 00-08h".
    static QString accessibleName(const QString &control, int idioma);
    // The same, with the caption of each control it names taken from
    // `caption` (the window passes what the control shows now).
    static QString accessibleName(const QString &control, int idioma,
                                  const std::function<QString(const QString &)> &caption);
    // Window title of a language.
    static QString title(int idioma);

    // Menu titles or items with an access key each ("&Comunicação"), for
    // Alt+letter: the first letter of a word not yet taken in the same menu,
    // else any other letter or digit. The captions themselves stay without
    // one: the report and documents print the same texts.
    static QStringList withMnemonics(const QStringList &captions);
    // A text as shown, without its access key's marker.
    static QString plain(const QString &text);
};

} // namespace vx
