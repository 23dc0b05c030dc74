#pragma once

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

// A caption that follows the interface language, in the order aplicar_idioma
// puts them on the window. `eightPt`: the font drops to 8 points on a small
// screen.
struct Caption
{
    std::string_view control;
    std::string_view pt;
    std::string_view en;
    bool eightPt;
};

inline constexpr std::array<Caption, 37> kCaptions{{
    {"mnu_comunicação", "Comunicação", "Communication", false},
    {"mnu_idioma", "Idioma", "Language", false},
    {"Label1", "Tarifas", "Costs per Hour", true},
    {"Frame_semana", "Semana", "Week", true},
    {"Frame_Fimdesemana", "Fim de Semana", "Weekend", true},
    {"Label2", "Totais", "Sub Totals", true},
    {"Label6", "Configuração", "Configuration", true},
    {"Label_numfab", "Número de Série", "Serial Number", true},
    {"Label_sn_apl", "Aplicação", "Application", true},
    {"Label_a_pagar", "A Pagar", "Paying", true},
    {"Label_parcial", "Memória", "Memory", true},
    {"Label_power", "Power Down", "Power Down", true},
    {"Label_fracao", "Fracção", "Fraction", true},
    {"Label_rtc_data", "Data", "Date", true},
    {"Check_ibut", "iButton", "iButton", true},
    {"Check_contador", "Electromecanico", "Electromechanical", true},
    {"Label_aberturas", "N. Jogos", "N. Games", true},
    {"Label_prog", "N. Prog.", "N. Prog.", true},
    {"Label_rtc_hora", "Hora", "Time", true},
    {"Label_master_ibut", "Última Manutenção", "Last Maintnance", true},
    {"Label_baterias", "Baterias", "Batteries", true},
    {"Command_clear", "Clear", "Clear", true},
    {"Frame_actualizacao", "Última Actualizacao do iButton", "Last iButton Update", true},
    {"Frame1", "Password", "Password", true},
    {"Label_act_data", "Data", "Date", true},
    {"Label_act_hora", "Hora", "Time", true},
    {"Label_pwdrelogio", "Relógio", "Clock", true},
    {"Label_pwdtarifas", "Tarifa", "CPH", true},
    {"Command_ler", "Lêr", "Read", true},
    {"Command_testar", "Sair", "Exit", true},
    {"Command_imprimir", "Imprimir", "Print", true},
    {"Command_sair", "Sair da Aplicação", "Close Application", true},
    {"Label5", "Teste de Hardware", "Hardware Test", true},
    {"Label4", "Teste iButton", "iButton Test", true},
    {"Command_teste_disp", "Testar Displays", "Display Test", true},
    {"Label_impulsos", "Impulsos a Enviar", "Send Impulses", true},
    {"Command_enviar", "Enviar", "Send", true},
}};

// The factory menu, offered only with --factory. Its items mirror the hidden
// buttons ("Novo", "Pic -> PC", "PC -> Pic"), whose captions are Portuguese in
// both languages, and open the defaults window.
inline constexpr std::array<Caption, 2> kFactoryCaptions{{
    {"mnu_fabrica", "Fábrica", "Factory", false},
    {"mnu_predefinir", "Predefinição de valores...", "Default Values...", false},
}};

// The report menu: the printed report saved as a PDF file instead, the
// traffic log and the service history.
inline constexpr std::array<Caption, 4> kReportCaptions{{
    {"mnu_relatorio", "Relatório", "Report", false},
    {"mnu_exportar", "Exportar PDF...", "Export PDF...", false},
    {"mnu_registo", "Registo de comunicação", "Traffic log", false},
    {"mnu_historico", "Histórico…", "History…", false},
}};

// The port menu's search item, below the ports.
inline constexpr std::array<Caption, 1> kPortCaptions{{
    {"mnu_search", "Procurar", "Search", false},
}};

// Texts the window writes on the status line and in the port search's
// message, by what they say; "%1", "%2" are filled in where they are used.
inline constexpr std::array<Caption, 37> kStatusTexts{{
    {"portInUse", "Porta: %1", "Port: %1", false},
    {"noPort", "Sem porta aberta", "No port open", false},
    {"portOpen", "Porta aberta", "Port open", false},
    {"reading", "A ler %1 de %2", "Reading %1 of %2", false},
    {"connected", "Ligado", "Connected", false},
    {"notAnswering", "Sem resposta", "Not answering", false},
    {"valuePending", "%1: à espera de ser escrito", "%1: waiting to be written", false},
    {"valueWritten", "%1: escrito no temporizador", "%1: written to the timer", false},
    {"valueRefused",
     "%1: o valor \"%2\" foi recusado: o temporizador não o pode guardar. Corrija-o e carregue "
     "Enter.",
     "%1: the value \"%2\" was refused: the timer cannot store it. Correct it and press Enter.",
     false},
    {"valueInvalid",
     "%1: %2 — corrija-o e carregue Enter, ou Escape para repor o valor da unidade.",
     "%1: %2 — correct it and press Enter, or Escape to bring back the unit's value.", false},
    {"valueEdited",
     "%1: alterado, ainda não escrito. Enter escreve-o, Escape repõe o valor da unidade.",
     "%1: changed, not written yet. Enter writes it, Escape brings back the unit's value.", false},
    // What an action started from the window is doing, then how it ended.
    {"impulsesSending", "A enviar %1 impulsos ao temporizador…",
     "Sending %1 impulses to the timer…", false},
    {"impulsesSent", "%1 impulsos enviados ao temporizador.", "%1 impulses sent to the timer.",
     false},
    {"impulsesFailed",
     "Os impulsos não foram enviados: o temporizador não respondeu. Verifique o cabo e carregue "
     "de novo em Enviar.",
     "The impulses were not sent: the timer did not answer. Check the cable and press Send "
     "again.",
     false},
    {"impulsesStopped", "Os impulsos não foram enviados: a ligação terminou antes.",
     "The impulses were not sent: the connection ended first.", false},
    {"displayTestRunning",
     "Teste dos displays a decorrer (cerca de 20 s): cada display do temporizador mostra 0 a 9. "
     "Os botões voltam no fim.",
     "Display test under way (about 20 s): each of the timer's displays shows 0 to 9. The "
     "buttons come back at the end.",
     false},
    {"displayTestDone", "Teste dos displays terminado.", "Display test finished.", false},
    {"displayTestFailed",
     "Teste dos displays terminado, mas o temporizador deixou de responder a meio. Verifique o "
     "cabo e repita o teste.",
     "Display test finished, but the timer stopped answering during it. Check the cable and run "
     "the test again.",
     false},
    {"displayTestStopped", "Teste dos displays interrompido: a ligação terminou.",
     "Display test interrupted: the connection ended.", false},
    {"printing", "A imprimir o relatório…", "Printing the report…", false},
    {"printed", "Relatório enviado para a impressora.", "Report sent to the printer.", false},
    {"printFailed",
     "O relatório não foi impresso. Verifique a impressora e carregue de novo em Imprimir.",
     "The report was not printed. Check the printer and press Print again.", false},
    {"pdfExporting", "A exportar o relatório para %1…", "Exporting the report to %1…", false},
    {"pdfExported", "Relatório guardado em %1.", "Report saved in %1.", false},
    {"pdfFailed",
     "O relatório não foi guardado em %1. Verifique se a pasta pode ser escrita e tente de novo.",
     "The report was not saved in %1. Check that the folder can be written and try again.", false},
    {"configurationSaving", "A guardar a configuração em %1…", "Saving the configuration in %1…",
     false},
    {"configurationSaved", "Configuração guardada em %1.", "Configuration saved in %1.", false},
    {"configurationNotSaved",
     "A configuração não foi guardada em %1. Escolha uma pasta onde possa escrever.",
     "The configuration was not saved in %1. Choose a folder you can write to.", false},
    {"unitAccepting", "A escrever a nova unidade no temporizador…",
     "Writing the new unit to the timer…", false},
    {"unitAccepted", "Unidade %1 escrita no temporizador e registada com o número %2.",
     "Unit %1 written to the timer and logged with number %2.", false},
    {"unitNotAccepted", "A nova unidade não foi aceite: nada foi escrito nem registado.",
     "The new unit was not accepted: nothing was written or logged.", false},
    {"unitNotLogged",
     "A nova unidade não foi registada: a ligação terminou antes de o temporizador a guardar.",
     "The new unit was not logged: the connection ended before the timer stored it.", false},
    {"searchFound", "Foi encontrado um VX308 na porta %1, que fica escolhida.",
     "A VX308 answered on port %1, which is now chosen.", false},
    {"searchNone",
     "Nenhum VX308 respondeu. Portas tentadas: %1. Verifique o cabo e se o temporizador está "
     "ligado.",
     "No VX308 answered. Ports tried: %1. Check the cable and that the timer is switched on.",
     false},
    {"searchNoPorts", "Não há portas série para procurar. Ligue o adaptador e tente de novo.",
     "There are no serial ports to search. Plug in the adapter and try again.", false},
    {"noSystemPorts", "(nenhuma porta do sistema)", "(no system ports)", false},
    {"portNotRemembered",
     "A porta foi escolhida, mas não foi possível guardá-la em %1 para a próxima vez. Verifique se "
     "essa pasta pode ser escrita.",
     "The port was chosen, but it could not be saved in %1 for next time. Check that the folder "
     "is writable.",
     false},
}};

// The configuration menu: a unit's values saved to a file, compared with one
// and put back from one.
inline constexpr std::array<Caption, 4> kConfigurationCaptions{{
    {"mnu_configuracao", "Configuração", "Configuration", false},
    {"mnu_guardar_configuracao", "Guardar configuração…", "Save configuration…", false},
    {"mnu_comparar_configuracao", "Comparar com ficheiro…", "Compare with file…", false},
    {"mnu_repor_configuracao", "Repor configuração…", "Restore configuration…", false},
}};

// Captions that read the same in both languages.
struct FixedCaption
{
    std::string_view control;
    std::string_view text;
    bool eightPt;
};

inline constexpr std::array<FixedCaption, 24> kFixedCaptions{{
    {"Label_S00", " 00-08h", true},          {"Label_F00", " 00-08h", true},
    {"Label_S08", "08-12h", true},           {"Label_F08", "08-12h", true},
    {"Label_total08", "08-12h", true},       {"Label_S12", "12-15h", true},
    {"Label_F12", "12-15h", true},           {"Label_total12", "12-15h", true},
    {"Label_S15", "15-20h", true},           {"Label_F15", "15-20h", true},
    {"Label_total15", "15-20h", true},       {"Label_S20", "20-24h", true},
    {"Label_F20", "20-24h", true},           {"Label_total20", "20-24h", true},
    {"Label_total00", "00-08h", true},       {"Label_percentagem", "0%", true},
    {"mnu_porta1", "Com 1", false},          {"mnu_porta2", "Com 2", false},
    {"mnu_porta3", "Com 3", false},          {"mnu_porta4", "Com 4", false},
    {"mnu_pt", "Português", false},          {"mnu_EN", "English", false},
    {"Label_acumulado", "Acumulado", false}, {"Label3", "Backup Informação", false},
}};

// Names read out by screen readers: the caption of the control's group, then
// the caption of its label, then a word of its own where the label is shared
// (the two boxes of the manufacturing number) or missing (the indicators).
struct AccessibleName
{
    std::string_view control;
    std::string_view group;   // control whose caption names the group, or empty
    std::string_view caption; // control whose caption labels it, or empty
    std::string_view extraPt;
    std::string_view extraEn;
};

inline constexpr std::array<AccessibleName, 55> kAccessibleNames{{
    {"Text_S00", "Frame_semana", "Label_S00", {}, {}},
    {"Text_S08", "Frame_semana", "Label_S08", {}, {}},
    {"Text_S12", "Frame_semana", "Label_S12", {}, {}},
    {"Text_S15", "Frame_semana", "Label_S15", {}, {}},
    {"Text_S20", "Frame_semana", "Label_S20", {}, {}},
    {"Text_F00", "Frame_Fimdesemana", "Label_F00", {}, {}},
    {"Text_F08", "Frame_Fimdesemana", "Label_F08", {}, {}},
    {"Text_F12", "Frame_Fimdesemana", "Label_F12", {}, {}},
    {"Text_F15", "Frame_Fimdesemana", "Label_F15", {}, {}},
    {"Text_F20", "Frame_Fimdesemana", "Label_F20", {}, {}},
    {"Text_total00", "Label2", "Label_total00", {}, {}},
    {"Text_total08", "Label2", "Label_total08", {}, {}},
    {"Text_total12", "Label2", "Label_total12", {}, {}},
    {"Text_total15", "Label2", "Label_total15", {}, {}},
    {"Text_total20", "Label2", "Label_total20", {}, {}},
    {"Text_a_pagar", "Label2", "Label_a_pagar", {}, {}},
    {"Text_parcial", "Label2", "Label_parcial", {}, {}},
    {"Text_acumulado", {}, "Label_acumulado", {}, {}},
    {"text_numfab_ano", "Label6", "Label_numfab", "código", "code"},
    {"Text_numfab_num", "Label6", "Label_numfab", "número", "number"},
    {"Text_sn_apl", "Label6", "Label_sn_apl", {}, {}},
    {"Text_power", "Label6", "Label_power", {}, {}},
    {"Text_fracao", "Label6", "Label_fracao", {}, {}},
    {"Text_rtc_data", "Label6", "Label_rtc_data", {}, {}},
    {"Check_ibut", "Label6", "Check_ibut", {}, {}},
    {"Text_ibut", "Label6", "Check_ibut", "número", "number"},
    {"Check_contador", "Label6", "Check_contador", {}, {}},
    {"Text_contador", "Label6", "Check_contador", "contagem", "count"},
    {"Text_aberturas", "Label6", "Label_aberturas", {}, {}},
    {"Text_prog", "Label6", "Label_prog", {}, {}},
    {"Text_rtc_hora", "Label6", "Label_rtc_hora", {}, {}},
    {"Text_master_ibut", "Label6", "Label_master_ibut", {}, {}},
    {"ProgressBar_baterias", "Label6", "Label_baterias", {}, {}},
    {"Text_act_data", "Frame_actualizacao", "Label_act_data", {}, {}},
    {"Text_act_hora", "Frame_actualizacao", "Label_act_hora", {}, {}},
    {"Text_pwdrelogio", "Frame1", "Label_pwdrelogio", {}, {}},
    {"Text_pwdtarifas", "Frame1", "Label_pwdtarifas", {}, {}},
    {"Command_clear", "Label6", "Command_clear", {}, {}},
    {"Command_ler", {}, "Command_ler", {}, {}},
    {"Command_testar", {}, "Command_testar", {}, {}},
    {"Command_imprimir", {}, "Command_imprimir", {}, {}},
    {"Command_sair", {}, "Command_sair", {}, {}},
    {"Text_ibutsn", "Label5", "Label4", {}, {}},
    {"Command_teste_disp", "Label5", "Command_teste_disp", {}, {}},
    {"Text_impulsos", "Label5", "Label_impulsos", {}, {}},
    {"Command_enviar", "Label5", "Command_enviar", {}, {}},
    {"Shape_memoria", "Label5", {}, "Memória", "Memory"},
    {"Shape_incremento", "Label5", {}, "Incremento", "Increment"},
    {"Shape_cursor", "Label5", {}, "Cursor", "Cursor"},
    {"Shape_bola0", "Label5", {}, "Entrada 1", "Input 1"},
    {"Shape_bola1", "Label5", {}, "Entrada 2", "Input 2"},
    {"Shape_bola2", "Label5", {}, "Entrada 3", "Input 3"},
    {"Shape_bola3", "Label5", {}, "Entrada 4", "Input 4"},
    {"Image1", {}, {}, "Imagem do VX308", "VX308 picture"},
    {"Shape_gaveta", "Label5", {}, "Gaveta", "Drawer"},
}};

// The traffic log window: every frame on the line, live.
inline constexpr std::array<Caption, 6> kTrafficLogCaptions{{
    {"trafficLogTitle", "Registo de comunicação", "Traffic log", false},
    {"trafficLogFilter", "Filtrar", "Filter", false},
    {"trafficLogSave", "Guardar…", "Save…", false},
    {"trafficLogCount", "%1 de %2 linhas", "%1 of %2 lines", false},
    {"trafficLogFiles", "Registos (*.txt *.log)", "Logs (*.txt *.log)", false},
    {"trafficLogNotSaved",
     "Não foi possível guardar o registo em %1 (%2). Escolha uma pasta onde possa escrever.",
     "The log could not be saved in %1 (%2). Choose a folder you can write to.", false},
}};

// The history window: the visits of a unit, its takings and counters over
// time, and a visit saved as a configuration file. The column and series
// names of the window's values are its own (the window's labels are too short
// out of their frames).
inline constexpr std::array<Caption, 35> kHistoryCaptions{{
    {"historyTitle", "Histórico", "History", false},
    {"historyUnit", "Unidade:", "Unit:", false},
    {"historyUnitItem", "%1, aplicação %2 (%3 visitas)", "%1, application %2 (%3 visits)", false},
    {"historyUnitItemOne", "%1, aplicação %2 (1 visita)", "%1, application %2 (1 visit)", false},
    {"historyInWindow", "%1, na janela", "%1, in the window", false},
    {"historyRefresh", "Actualizar", "Refresh", false},
    {"historySave", "Guardar como configuração…", "Save as configuration…", false},
    {"historyCount", "%1 visitas", "%1 visits", false},
    {"historyCountOne", "1 visita", "1 visit", false},
    {"historyNoUnits", "Ainda não há visitas registadas.", "No visits recorded yet.", false},
    {"historyNoVisits", "Ainda não há visitas registadas desta unidade.",
     "No visits of this unit recorded yet.", false},
    {"historyNotRead",
     "Não foi possível ler o histórico em %1:\n%2\nVerifique se a base de dados está acessível "
     "e carregue em Actualizar.",
     "The history could not be read from %1:\n%2\nCheck that the database can be reached, then "
     "press Refresh.",
     false},
    {"historyNotSaved", "Não foi possível guardar a visita como configuração: %1",
     "The visit could not be saved as a configuration: %1", false},
    {"historyDate", "Data", "Date", false},
    {"historyTime", "Hora", "Time", false},
    {"historyHost", "PC", "PC", false},
    {"historyReason", "Motivo", "Reason", false},
    {"historyRead", "Leitura", "Read", false},
    {"historyClear", "Clear", "Clear", false},
    {"historyRestore", "Reposição", "Restore", false},
    {"historyPaste", "PC -> Pic", "PC -> Pic", false},
    {"historyAccumulated", "Acumulado", "Accumulated", false},
    {"historyMemory", "Memória", "Memory", false},
    {"historyBand00", "Total\n00-08h", "Total\n00-08h", false},
    {"historyBand08", "Total\n08-12h", "Total\n08-12h", false},
    {"historyBand12", "Total\n12-15h", "Total\n12-15h", false},
    {"historyBand15", "Total\n15-20h", "Total\n15-20h", false},
    {"historyBand20", "Total\n20-24h", "Total\n20-24h", false},
    {"historyBands", "Totais 00-24h", "Sub totals 00-24h", false},
    {"historyGames", "N. Jogos", "N. Games", false},
    {"historyProgrammings", "N. Prog.", "N. Prog.", false},
    {"historyPowerDowns", "Power\nDown", "Power\nDown", false},
    {"historyCounter", "Electromecânico", "Electromechanical", false},
    {"historyTakings", "Receitas", "Takings", false},
    {"historyCounters", "Contadores", "Counters", false},
}};

// Every table of captions that follow the language, for the look-ups and
// the completeness check below.
inline constexpr std::array<std::span<const Caption>, 8> kTranslatedTables{
    {kCaptions, kFactoryCaptions, kReportCaptions, kPortCaptions, kStatusTexts,
     kConfigurationCaptions, kTrafficLogCaptions, kHistoryCaptions}};

constexpr bool captionsComplete()
{
    for (const std::span<const Caption> table : kTranslatedTables)
        for (const Caption &l : table)
            if (l.control.empty() || l.pt.empty() || l.en.empty()) return false;
    for (const FixedCaption &l : kFixedCaptions)
        if (l.control.empty() || l.text.empty()) return false;
    for (const AccessibleName &a : kAccessibleNames)
        if (a.control.empty() || (a.caption.empty() && a.extraPt.empty())) return false;
    return true;
}
static_assert(captionsComplete());

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
