#pragma once

#include "text.h"

#include <array>

namespace vx {

// What the window's services and its other windows and dialogs say, both
// languages side by side, found by key; the captions of the main window's
// own controls are in captions.h.

// Texts the window writes on the status line and in the port menu, by what
// they say; "%1", "%2" are filled in where they are used.
inline constexpr std::array<Text, 41> kStatusTexts{{
    {"portInUse", "Porta: %1", "Port: %1"},
    {"noPort", "Sem porta aberta", "No port open"},
    {"portOpen", "Porta aberta", "Port open"},
    {"reading", "A ler %1 de %2", "Reading %1 of %2"},
    {"connected", "Ligado", "Connected"},
    {"notAnswering", "Sem resposta", "Not answering"},
    {"valuePending", "%1: à espera de ser escrito", "%1: waiting to be written"},
    {"valueWritten", "%1: escrito no temporizador", "%1: written to the timer"},
    {"valueRefused",
     "%1: o valor \"%2\" foi recusado: o temporizador não o pode guardar. Corrija-o e carregue "
     "Enter.",
     "%1: the value \"%2\" was refused: the timer cannot store it. Correct it and press Enter."},
    {"valueInvalid",
     "%1: %2 — corrija-o e carregue Enter, ou Escape para repor o valor da unidade.",
     "%1: %2 — correct it and press Enter, or Escape to bring back the unit's value."},
    {"valueEdited",
     "%1: alterado, ainda não escrito. Enter escreve-o, Escape repõe o valor da unidade.",
     "%1: changed, not written yet. Enter writes it, Escape brings back the unit's value."},
    {"valueWrittenShown", "%1: %2 escrito no temporizador; uma leitura mostra %3.",
     "%1: %2 written to the timer; a read shows %3."},
    {"valueRounded",
     "%1: o temporizador guarda cêntimos: fica %3, não %2. À espera de ser escrito.",
     "%1: the timer keeps cents: it holds %3, not %2. Waiting to be written."},
    {"valueTooLong", "%1: no máximo %2 caracteres; o que passou disso não foi aceite.",
     "%1: at most %2 characters; what went past them was not taken."},
    {"valueNotForUnit",
     "%1: \"%2\" não foi escrito: outra unidade está na linha. Carregue em Lêr para a ler.",
     "%1: \"%2\" was not written: another unit is on the line. Press Read to read it."},
    {"tickNotForUnit",
     "%1: não foi mudado: outra unidade está na linha. Carregue em Lêr para a ler.",
     "%1: not changed: another unit is on the line. Press Read to read it."},
    {"unitSwapped",
     "Outra unidade na linha: nada lhe foi escrito nem enviado. Carregue em Lêr para a ler.",
     "Another unit on the line: nothing was written or sent to it. Press Read to read it."},
    // What an action started from the window is doing, then how it ended.
    {"impulsesSending", "A enviar %1 impulsos ao temporizador…",
     "Sending %1 impulses to the timer…"},
    {"impulsesSent", "%1 impulsos enviados ao temporizador.", "%1 impulses sent to the timer."},
    {"impulsesFailed",
     "Os impulsos não foram enviados: o temporizador não respondeu. Verifique o cabo e carregue "
     "de novo em Enviar.",
     "The impulses were not sent: the timer did not answer. Check the cable and press Send "
     "again."},
    {"impulsesStopped", "Os impulsos não foram enviados: a ligação terminou antes.",
     "The impulses were not sent: the connection ended first."},
    {"impulsesOtherUnit",
     "Os impulsos não foram enviados: outra unidade está na linha. Carregue em Lêr para a ler.",
     "The impulses were not sent: another unit is on the line. Press Read to read it."},
    {"displayTestRunning",
     "Teste dos displays a decorrer (cerca de 20 s): cada display do temporizador mostra 0 a 9. "
     "Os botões voltam no fim.",
     "Display test under way (about 20 s): each of the timer's displays shows 0 to 9. The "
     "buttons come back at the end."},
    {"displayTestDone", "Teste dos displays terminado.", "Display test finished."},
    {"displayTestFailed",
     "Teste dos displays terminado, mas o temporizador deixou de responder a meio. Verifique o "
     "cabo e repita o teste.",
     "Display test finished, but the timer stopped answering during it. Check the cable and run "
     "the test again."},
    {"displayTestOtherUnit",
     "O teste dos displays não foi feito: outra unidade está na linha. Carregue em Lêr para a "
     "ler.",
     "The display test was not run: another unit is on the line. Press Read to read it."},
    {"displayTestStopped", "Teste dos displays interrompido: a ligação terminou.",
     "Display test interrupted: the connection ended."},
    {"printing", "A imprimir o relatório…", "Printing the report…"},
    {"printed", "Relatório enviado para a impressora.", "Report sent to the printer."},
    {"printFailed",
     "O relatório não foi impresso. Verifique a impressora e carregue de novo em Imprimir.",
     "The report was not printed. Check the printer and press Print again."},
    {"pdfExporting", "A exportar o relatório para %1…", "Exporting the report to %1…"},
    {"pdfExported", "Relatório guardado em %1.", "Report saved in %1."},
    {"pdfFailed",
     "O relatório não foi guardado em %1. Verifique se a pasta pode ser escrita e tente de novo.",
     "The report was not saved in %1. Check that the folder can be written and try again."},
    {"configurationSaving", "A guardar a configuração em %1…", "Saving the configuration in %1…"},
    {"configurationSaved", "Configuração guardada em %1.", "Configuration saved in %1."},
    {"configurationNotSaved",
     "A configuração não foi guardada em %1. Escolha uma pasta onde possa escrever.",
     "The configuration was not saved in %1. Choose a folder you can write to."},
    {"unitAccepting", "A escrever a nova unidade no temporizador…",
     "Writing the new unit to the timer…"},
    {"unitAccepted", "Unidade %1 escrita no temporizador e registada com o número %2.",
     "Unit %1 written to the timer and logged with number %2."},
    {"unitNotAccepted", "A nova unidade não foi aceite: nada foi escrito nem registado.",
     "The new unit was not accepted: nothing was written or logged."},
    {"unitNotLogged",
     "A nova unidade não foi registada: a ligação terminou antes de o temporizador a guardar.",
     "The new unit was not logged: the connection ended before the timer stored it."},
    {"noSystemPorts", "(nenhuma porta do sistema)", "(no system ports)"},
}};

// The traffic log window: every frame on the line, live.
inline constexpr std::array<Text, 6> kTrafficLogCaptions{{
    {"trafficLogTitle", "Registo de comunicação", "Traffic log"},
    {"trafficLogFilter", "Filtrar", "Filter"},
    {"trafficLogSave", "Guardar…", "Save…"},
    {"trafficLogCount", "%1 de %2 linhas", "%1 of %2 lines"},
    {"trafficLogFiles", "Registos (*.txt *.log)", "Logs (*.txt *.log)"},
    {"trafficLogNotSaved",
     "Não foi possível guardar o registo em %1 (%2). Escolha uma pasta onde possa escrever.",
     "The log could not be saved in %1 (%2). Choose a folder you can write to."},
}};

// The traffic log's kinds of line and the words around the names and values,
// keyed by the log's own (English) wording, as the window shows them.
inline constexpr std::array<Text, 5> kTrafficLogKinds{{
    {"sent", "enviado", "sent"},
    {"unsent", "não enviado", "unsent"},
    {"received", "recebido", "received"},
    {"rejected", "rejeitado", "rejected"},
    {"time-out", "time-out", "time-out"},
}};

// The words around the names and values, longest first where one holds
// another.
inline constexpr std::array<Text, 22> kTrafficLogPhrases{{
    {"late reply to an earlier request: ", "resposta atrasada a um pedido anterior: ",
     "late reply to an earlier request: "},
    {"reply when no request was waiting: ", "resposta sem nenhum pedido à espera: ",
     "reply when no request was waiting: "},
    {" characters after the reply, thrown away", " caracteres depois da resposta, descartados",
     " characters after the reply, thrown away"},
    {"port refused the request (not open): ", "a porta recusou o pedido (não está aberta): ",
     "port refused the request (not open): "},
    {"port refused the request (", "a porta recusou o pedido (", "port refused the request ("},
    {"no reply within ", "sem resposta em ", "no reply within "},
    {" ms to ", " ms a ", " ms to "},
    {" characters of noise before the reply's '!'", " caracteres de ruído antes do '!' da resposta",
     " characters of noise before the reply's '!'"},
    {"does not start with '!'", "não começa por '!'", "does not start with '!'"},
    {"does not end with '%'", "não termina em '%'", "does not end with '%'"},
    {"wrong length: '%' after ", "comprimento errado: '%' depois de ", "wrong length: '%' after "},
    {"wrong length: ", "comprimento errado: ", "wrong length: "},
    {" characters, a reply has ", " caracteres, uma resposta tem ", " characters, a reply has "},
    {"bad checksum: the frame says ", "soma de controlo errada: a trama diz ",
     "bad checksum: the frame says "},
    {", its digits sum to ", ", os seus dígitos somam ", ", its digits sum to "},
    {" address ", " endereço ", " address "},
    {", weekday ", ", dia da semana ", ", weekday "},
    {", second ", ", segundo ", ", second "},
    {" position ", " posição ", " position "},
    {", code ", ", código ", ", code "},
    {" = masked", " = mascarada", " = masked"},
    {", password bytes masked", ", bytes de palavra-passe mascarados", ", password bytes masked"},
}};

// The history window: the visits of a unit, its takings and counters over
// time, and a visit saved as a configuration file. The column and series
// names of the window's values are its own (the window's labels are too short
// out of their frames).
inline constexpr std::array<Text, 36> kHistoryCaptions{{
    {"historyTitle", "Histórico", "History"},
    {"historyUnit", "Unidade:", "Unit:"},
    {"historyUnitItem", "%1, aplicação %2 (%3 visitas)", "%1, application %2 (%3 visits)"},
    {"historyUnitItemOne", "%1, aplicação %2 (1 visita)", "%1, application %2 (1 visit)"},
    {"historyInWindow", "%1, na janela", "%1, in the window"},
    {"historyRefresh", "Actualizar", "Refresh"},
    {"historySave", "Guardar como configuração…", "Save as configuration…"},
    {"historyCount", "%1 visitas", "%1 visits"},
    {"historyCountOne", "1 visita", "1 visit"},
    {"historyNoUnits", "Ainda não há visitas registadas.", "No visits recorded yet."},
    {"historyNoVisits", "Ainda não há visitas registadas desta unidade.",
     "No visits of this unit recorded yet."},
    {"historyNotRead",
     "Não foi possível ler o histórico em %1:\n%2\nVerifique se a base de dados está acessível "
     "e carregue em Actualizar.",
     "The history could not be read from %1:\n%2\nCheck that the database can be reached, then "
     "press Refresh."},
    {"historyWaiting",
     "%1 visita(s) à espera neste PC (%2): entram no histórico quando os registos estiverem "
     "acessíveis.",
     "%1 visit(s) waiting on this PC (%2): they go into the history once the records can be "
     "reached."},
    {"historyNotSaved", "Não foi possível guardar a visita como configuração: %1",
     "The visit could not be saved as a configuration: %1"},
    {"historyDate", "Data", "Date"},
    {"historyTime", "Hora", "Time"},
    {"historyHost", "PC", "PC"},
    {"historyReason", "Motivo", "Reason"},
    {"historyRead", "Leitura", "Read"},
    {"historyClear", "Clear", "Clear"},
    {"historyRestore", "Reposição", "Restore"},
    {"historyPaste", "PC -> Pic", "PC -> Pic"},
    {"historyAccumulated", "Acumulado", "Accumulated"},
    {"historyMemory", "Memória", "Memory"},
    {"historyBand00", "Total\n00-08h", "Total\n00-08h"},
    {"historyBand08", "Total\n08-12h", "Total\n08-12h"},
    {"historyBand12", "Total\n12-15h", "Total\n12-15h"},
    {"historyBand15", "Total\n15-20h", "Total\n15-20h"},
    {"historyBand20", "Total\n20-24h", "Total\n20-24h"},
    {"historyBands", "Totais 00-24h", "Sub totals 00-24h"},
    {"historyGames", "N. Jogos", "N. Games"},
    {"historyProgrammings", "N. Prog.", "N. Prog."},
    {"historyPowerDowns", "Power\nDown", "Power\nDown"},
    {"historyCounter", "Electromecânico", "Electromechanical"},
    {"historyTakings", "Receitas", "Takings"},
    {"historyCounters", "Contadores", "Counters"},
}};

// The takings window: every unit visited in a period, its takings between
// the first and the last visit and the signs an owner looks for. Its column
// names are the saved report's (TakingsDocument).
inline constexpr std::array<Text, 11> kTakingsCaptions{{
    {"takingsTitle", "Receitas por unidade", "Takings by unit"},
    {"takingsFrom", "De:", "From:"},
    {"takingsTo", "a:", "to:"},
    {"takingsRefresh", "Actualizar", "Refresh"},
    {"takingsSaveCsv", "Guardar CSV…", "Save CSV…"},
    {"takingsSavePdf", "Guardar PDF…", "Save PDF…"},
    {"takingsSummary", "%1 unidades: receitas %2, %3 com sinais",
     "%1 units: takings %2, %3 with signs"},
    {"takingsChartLargest", "Receitas por unidade (as %1 maiores)",
     "Takings by unit (the %1 largest)"},
    {"takingsBackwards", "O primeiro dia é depois do último: escolha um período.",
     "The first day is after the last: choose a period."},
    {"takingsNotSaved",
     "Não foi possível guardar as receitas: %1\nEscolha uma pasta onde possa escrever.",
     "The takings could not be saved: %1\nChoose a folder you can write to."},
    {"takingsCsvFiles", "Valores separados por vírgulas (*.csv)", "Comma-separated values (*.csv)"},
}};

// The history window's changes: every value a timer accepted, with how it
// was changed.
inline constexpr std::array<Text, 22> kJournalCaptions{{
    {"journalTab", "Alterações", "Changes"},
    {"journalVisitsTab", "Visitas", "Visits"},
    {"journalField", "Campo:", "Field:"},
    {"journalAllFields", "Todos", "All"},
    {"journalFieldColumn", "Campo", "Field"},
    {"journalBefore", "Antes", "Before"},
    {"journalAfter", "Depois", "After"},
    {"journalHow", "Como", "How"},
    {"journalUser", "Utilizador", "User"},
    {"journalCount", "%1 alterações", "%1 changes"},
    {"journalCountOne", "1 alteração", "1 change"},
    {"journalNone", "Ainda não há alterações registadas desta unidade.",
     "No changes of this unit recorded yet."},
    {"journalNotRead",
     "Não foi possível ler as alterações em %1:\n%2\nVerifique se a base de dados está "
     "acessível e carregue em Actualizar.",
     "The changes could not be read from %1:\n%2\nCheck that the database can be reached, then "
     "press Refresh."},
    {"journalWaiting",
     "%1 alteração(ões) à espera neste PC (%2): entram nos registos quando estes estiverem "
     "acessíveis.",
     "%1 change(s) waiting on this PC (%2): they go into the records once these can be reached."},
    {"journalByWindow", "Janela", "Window"},
    {"journalByCtl", "vx308ctl set", "vx308ctl set"},
    {"journalByRestore", "Reposição", "Restore"},
    {"journalByPaste", "PC -> Pic", "PC -> Pic"},
    {"journalByClear", "Clear", "Clear"},
    {"journalByNewUnit", "Unidade nova", "New unit"},
    {"journalDate", "Data", "Date"},
    {"journalTime", "Hora", "Time"},
}};

// The window comparing a configuration file with the timer, and restoring
// it.
inline constexpr std::array<Text, 11> kConfigurationDialogTexts{{
    {"title", "Configuração", "Configuration"},
    {"field", "Campo", "Field"},
    {"file", "Ficheiro", "File"},
    {"timer", "Temporizador", "Timer"},
    {"differences",
     "Diferenças entre %1 e o temporizador:", "Differences between %1 and the timer:"},
    {"same", "O temporizador já tem os valores de %1.",
     "The timer already holds the values of %1."},
    {"all", "Também contadores, totais, Power Down e identificação",
     "Also counters, takings, Power Down and identity"},
    {"refused", "Valores que o temporizador não aceita (não são escritos):",
     "Values the timer cannot store (not written):"},
    {"otherUnit",
     "Atenção: %1 foi guardado da unidade %2, e este temporizador é a unidade %3. Repor todos os "
     "valores dá-lhe o número de fabrico e o número de série da aplicação da outra unidade, e as "
     "duas ficam com a mesma identidade nos registos.",
     "Warning: %1 was saved from unit %2, and this timer is unit %3. Restoring every value gives "
     "it the other unit's manufacturing number and application serial, and both then share one "
     "identity in the records."},
    {"question", "Escrever os valores do ficheiro no temporizador?",
     "Write the file's values into the timer?"},
    {"filter", "Configuração VX308 (*.json)", "VX308 configuration (*.json)"},
}};

// The buttons of Clear's question, and why it zeroed nothing after it: %1
// the reason, %2 where the values were to be stored.
inline constexpr std::array<Text, 5> kClearDialogTexts{{
    {"confirm", "Pôr a zero", "Zero them"},
    {"cancel", "Cancelar", "Cancel"},
    {"close", "Fechar", "Close"},
    // The question while it is open, once another unit answers: %1 the unit
    // on the line, %2 the unit the question was about.
    {"noLongerApplies",
     "Este Clear já não se aplica: responde outra unidade na linha (%1), e a pergunta era da "
     "%2. Nada foi posto a zero. Carregue em Lêr para ler a unidade na linha.",
     "This Clear no longer applies: another unit answers on the line (%1), and the question "
     "was about %2. Nothing was zeroed. Press Read to read the unit on the line."},
    {"notStored",
     "Nada foi posto a zero: não foi possível guardar antes os valores da unidade.\n%1\nVerifique "
     "se %2 pode ser escrito (ou se o seu servidor está ao alcance), e carregue de novo em Clear.",
     "Nothing was zeroed: the unit's values could not be stored first.\n%1\nCheck that %2 can be "
     "written (or that its server can be reached), then press Clear again."},
}};

// What the notice of another unit on the line adds when something waited for
// the unit read and was dropped: %1 the values and commands, each named by
// its caption or below.
inline constexpr std::array<Text, 7> kUnitSwapTexts{{
    {"notDone", "Não foi escrito nem feito, e não fica à espera: %1.",
     "Not written or done, and not kept for later: %1."},
    {"Command_clear", "Clear", "Clear"},
    {"Command_enviar", "Enviar impulsos", "Send impulses"},
    {"Command_teste_disp", "Testar Displays", "Display Test"},
    {"mnu_repor_configuracao", "Repor configuração", "Restore configuration"},
    {"command_paste1", "PC -> Pic", "PC -> Pic"},
    {"Command_novo", "Aceitar (a unidade nova)", "Aceitar (the new unit)"},
}};

// The splash screen once the stored language is known.
inline constexpr std::array<Text, 2> kSplashTexts{{
    {"product", "Manutenção VX308", "VX308 Maintnance"},
    {"version", "Versão: 3.5", "Version: 3.5"},
}};

// What the notice over the picture adds to the trouble it names.
inline constexpr std::array<Text, 1> kLinkNoticeTexts{{
    {"keepsTrying",
     "A ferramenta continua a tentar e prossegue logo que o temporizador responda; \"Sair\" "
     "termina a ligação.",
     "The tool keeps trying and goes on as soon as the timer answers; \"Exit\" ends the "
     "connection."},
}};

// The tooltip of a value whose bytes no text of its field says.
inline constexpr std::array<Text, 1> kRawValueTexts{{
    {"rawBytes",
     "O temporizador não guarda aqui um valor, mas os bytes %1 (nunca configurado ou memória "
     "apagada); são escritos de volta tal como estão.",
     "The timer holds no value here but the bytes %1 (never set up, or an erased memory); they "
     "are written back as they are."},
}};

} // namespace vx
