#pragma once

#include "text.h"

#include <array>

namespace vx {

// What the records say to the technician, both languages side by side; each
// table is the texts of one class, found by key.

// A new unit whose log row waits on this PC, and one resumed on its timer.
inline constexpr std::array<Text, 2> kNewUnitTexts{{
    {"waiting",
     "A unidade %1 (NMec %2) está no temporizador, mas os registos em %3 não a puderam registar "
     "agora:\n%4\nA linha do registo ficou guardada neste PC (%5) e é acrescentada quando os "
     "registos voltarem a estar acessíveis: no próximo arranque, depois da próxima unidade nova "
     "ou com vx308ctl records pending add. Nada se perde.",
     "Unit %1 (NMec %2) is in the timer, but the records in %3 could not log it now:\n%4\nIts log "
     "row is kept on this PC (%5) and is added once the records can be reached again: at the "
     "next start, after the next new unit, or with vx308ctl records pending add. Nothing is "
     "lost."},
    {"resumed",
     "Este temporizador tem uma unidade nova que ficou por acabar: %1 (NMec %2), de %3. Acaba-se "
     "a mesma unidade, com os mesmos números.",
     "This timer holds a new unit that was not finished: %1 (NMec %2), of %3. The same unit is "
     "finished, with the same numbers."},
}};

// The rows that wait on this PC for the records: %1 a file or row, %2 why.
inline constexpr std::array<Text, 10> kOutboxTexts{{
    {"write", "Não foi possível guardar %1: %2.", "%1 cannot be written: %2."},
    {"folder", "Não foi possível criar a pasta %1.", "The folder %1 cannot be made."},
    {"unreadable", "%1 não é uma linha à espera legível (%2); fica como está.",
     "%1 is not a readable waiting row (%2); it is left as it is."},
    {"noRow", "os seus valores não fazem uma linha de %1", "its values make no row of %1"},
    {"unstorable",
     "%1 tem, na coluna %2 da tabela %3, um texto que nenhuma base de dados guarda; fica como "
     "está, e as linhas seguintes são acrescentadas.",
     "%1 holds, for the column %2 of the table %3, a text no database can store; it is left as "
     "it is, and the rows after it are added."},
    {"unknown", "%1 é para a tabela %2, que esta versão do programa não conhece; fica à espera.",
     "%1 is for the table %2, which this version of the program does not know; it waits."},
    {"remove", "Não foi possível apagar %1: %2.", "%1 cannot be removed: %2."},
    {"waiting", "%1 linha(s) à espera em %2", "%1 row(s) waiting in %2"},
    {"added", "%1 linha(s) à espera acrescentada(s) a %2", "%1 waiting row(s) added to %2"},
    {"created", "criado %1", "made %1"},
}};

// Records whose tables this program cannot use as they are.
inline constexpr std::array<Text, 2> kSchemaTexts{{
    {"newer",
     "Os registos em %1 são da versão %2, mais recente do que esta versão do programa conhece "
     "(%3): atualize o programa neste PC.",
     "The records in %1 are of version %2, newer than this version of the program knows (%3): "
     "update the program on this PC."},
    {"ownerOnly",
     "As tabelas (versão %1) são criadas e atualizadas pelo papel que é o seu dono: corra o "
     "programa uma vez ligado como esse papel, depois volte a ligar este posto.",
     "The tables (version %1) are made and brought up to date by the role that owns them: run "
     "the program once connected as that role, then connect this bench again."},
}};

// The unit log: a row that cannot be copied, and a log that is full.
inline constexpr std::array<Text, 11> kUnitRecordsTexts{{
    {"row", "Linha %1 (NMec %2, NFab %3): ", "Row %1 (NMec %2, NFab %3): "},
    {"counts", "NAct %1 ou SAct %2 fora dos limites", "NAct %1 or SAct %2 out of range"},
    {"nmecTaken", "NMec já existe", "NMec already exists"},
    {"nfabTaken", "NFab já existe", "NFab already exists"},
    {"noNMec", "sem NMec inteiro de 1 a %1 (tem \"%2\")",
     "no whole NMec from 1 to %1 (it holds \"%2\")"},
    {"noNFab", "sem NFab", "no NFab"},
    {"invalidRow", "Registo inválido: NAct %1, SAct %2.", "Invalid log row: NAct %1, SAct %2."},
    {"weekFull", "Os 255 números de fabrico da semana %1 já foram dados; escolha outro código.",
     "The 255 manufacturing numbers of week %1 have all been given; choose another code."},
    {"numberTaken", "O número de fabrico %1%2 já foi dado à unidade %3 do registo; escolha outro.",
     "Manufacturing number %1%2 has already been given to unit %3 of the log; choose another."},
    {"invalidNumber", "Número de fabrico inválido: %1%2.", "Invalid manufacturing number: %1%2."},
    {"full",
     "O registo em %1 já chegou ao maior NMec que pode guardar (%2): não há número para outra "
     "unidade. Nada foi escrito no temporizador.",
     "The log in %1 has reached the largest NMec it can hold (%2): there is no number for "
     "another unit. Nothing was written to the timer."},
}};

// The report's sentence about the previous visit, the reasons a visit was
// kept for, and a visit the records did not take.
inline constexpr std::array<Text, 11> kVisitTexts{{
    {"found", "Visita anterior: %1, no PC %2 (%3).", "Previous visit: %1, on PC %2 (%3)."},
    {"none", "Primeira visita registada.", "First recorded visit."},
    {"unknown", "Visita anterior desconhecida.", "Previous visit not known."},
    {"unreadable", "Não foi possível ler a visita anterior: %1",
     "The previous visit could not be read: %1"},
    {"read", "leitura", "read"},
    {"clear", "Clear: valores antes de pôr a zero", "Clear: the values before zeroing"},
    {"restore", "configuração reposta", "configuration restored"},
    {"paste", "PC -> Pic", "PC -> Pic"},
    // The short dates and times of the report follow its language, whatever
    // the system's locale: a Portuguese report never names an English month.
    {"locale", "pt_PT", "en_GB"},
    // %1 the records, %2 their sentence, %3 how many visits wait, %4 where.
    {"waits",
     "A visita não foi acrescentada ao histórico em %1: %2 Ficou guardada neste PC e é "
     "acrescentada quando os registos voltarem a estar acessíveis (no próximo arranque, com a "
     "próxima visita ou com vx308ctl records pending add): %3 visita(s) à espera em %4.",
     "The visit was not added to the service history in %1: %2 It is kept on this PC and added "
     "once the records can be reached again (at the next start, with the next visit, or with "
     "vx308ctl records pending add): %3 visit(s) waiting in %4."},
    // %1 the records, %2 their sentence, %3 why it could not be kept.
    {"lost",
     "A visita não foi acrescentada ao histórico em %1 (%2) nem guardada neste PC: %3 Perdeu-se; "
     "leia a unidade de novo quando os registos ou a pasta de dados estiverem acessíveis.",
     "The visit was not added to the service history in %1 (%2), nor kept on this PC: %3 It is "
     "lost; read the unit again once the records or the data folder can be reached."},
}};

// The settings files: %1 a file; and the code the settings row stores for
// the language.
inline constexpr std::array<Text, 5> kDatabasesTexts{{
    {"notCreated", "Não foi possível criar %1.", "%1 cannot be made."},
    {"exists", "O ficheiro %1 já existe.", "The file %1 already exists."},
    {"noPort", "O campo Comm de %1 não tem um número de porta.",
     "The Comm field of %1 holds no port number."},
    {"unknownLanguage", "Idioma desconhecido: %1", "Unknown language: %1"},
    {"languageCode", "PT", "EN"},
}};

// Tables read and edited by column name: %1 a table or field, %2 and %3 the
// table and where the database is.
inline constexpr std::array<Text, 7> kTableRowsTexts{{
    {"noField", "O campo %1 não existe na tabela %2 de %3.",
     "There is no field %1 in the table %2 of %3."},
    {"noTable", "A tabela %1 não existe em %2.", "There is no table %1 in %2."},
    {"noRows", "A tabela %1 de %2 não tem linhas.", "The table %1 of %2 has no rows."},
    {"badValue", "O campo %1 da tabela %2 de %3 tem um valor inválido.",
     "The field %1 of the table %2 of %3 holds an invalid value."},
    {"refusedValue", "Valor inválido para o campo %1: \"%2\".",
     "Invalid value for the field %1: \"%2\"."},
    {"badTableName", "Nome de tabela inválido: %1", "Invalid table name: %1"},
    {"badName", "Nome inválido na tabela %1.", "Invalid name in the table %1."},
}};

// The takings by unit: the report's title and period, its columns (by key,
// or by field name), what it says of its signs (%1 the visit's date, then
// the field and the values before and after).
inline constexpr std::array<Text, 30> kTakingsTexts{{
    {"title", "Receitas por unidade", "Takings by unit"},
    {"period", "De %1 a %2", "From %1 to %2"},
    {"unit", "Unidade", "Unit"},
    {"serial", "Aplicação", "Application"},
    {"first", "Primeira visita", "First visit"},
    {"last", "Última visita", "Last visit"},
    {"accumulatedFirst", "Acumulado, 1.ª visita", "Accumulated, first visit"},
    {"accumulatedLast", "Acumulado, última visita", "Accumulated, last visit"},
    {"takings", "Receitas", "Takings"},
    {"accumulated", "Acumulado", "Accumulated"},
    {"band00", "00-08h", "00-08h"},
    {"band08", "08-12h", "08-12h"},
    {"band12", "12-15h", "12-15h"},
    {"band15", "15-20h", "15-20h"},
    {"band20", "20-24h", "20-24h"},
    {"games", "N. Jogos", "N. Games"},
    {"powerDowns", "Power Down", "Power Down"},
    {"visits", "Visitas", "Visits"},
    {"clears", "Clears", "Clears"},
    {"signs", "Sinais", "Signs"},
    {"total", "Total", "Total"},
    {"units", "%1 unidades", "%1 units"},
    {"none", "Nenhuma unidade foi visitada neste período.", "No unit was visited in this period."},
    {"noSigns", "Nenhum sinal.", "No signs."},
    {"wordTotalDown", "total desceu", "total down"},
    {"wordCounterReset", "reset sem Clear", "reset without Clear"},
    {"wordPowerDownJump", "salto de Power Down", "Power Down jump"},
    {"TotalDown", "%1: o acumulado desceu de %2 para %3",
     "%1: the accumulated takings went down from %2 to %3"},
    {"CounterReset", "%1: %2 voltou de %3 a %4 sem Clear",
     "%1: %2 went back from %3 to %4 without a Clear"},
    {"PowerDownJump", "%1: Power Down subiu de %2 para %3 desde a visita anterior",
     "%1: Power Down rose from %2 to %3 since the visit before"},
}};

// Changes for the journal that the records did not take: %1 the records,
// %2 why, %3 where they wait; a change that could not even be kept.
inline constexpr std::array<Text, 2> kJournalTexts{{
    {"notAdded", "As alterações não foram acrescentadas ao diário em %1: %2\n%3",
     "The changes were not added to the journal in %1: %2\n%3"},
    {"notKept", "Perdeu-se uma alteração (%1 de %2 para %3): %4",
     "A change was lost (%1 from %2 to %3): %4"},
}};

// Every text table of the records, for the completeness check.
inline constexpr std::array<TextTable, 9> kRecordsTextTables{{
    {"kJournalTexts", kJournalTexts},
    {"kNewUnitTexts", kNewUnitTexts},
    {"kOutboxTexts", kOutboxTexts},
    {"kSchemaTexts", kSchemaTexts},
    {"kUnitRecordsTexts", kUnitRecordsTexts},
    {"kVisitTexts", kVisitTexts},
    {"kDatabasesTexts", kDatabasesTexts},
    {"kTableRowsTexts", kTableRowsTexts},
    {"kTakingsTexts", kTakingsTexts},
}};

} // namespace vx
