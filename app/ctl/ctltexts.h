#pragma once

#include "text.h"

#include <array>

// What vx308ctl itself says on standard error, both languages side by side,
// found by key; the engine's, the link's and the records' messages come from
// their own tables.
inline constexpr std::array<vx::Text, 29> kCtlTexts{{
    {"visitsWaiting", "%1 visita(s) para o histórico à espera em %2",
     "%1 visit(s) for the service history waiting in %2"},
    {"changesWaiting", "%1 alteração(ões) para o diário à espera em %2",
     "%1 change(s) for the journal waiting in %2"},
    {"journalNotKept",
     "vx308ctl: %1 alteração(ões) fora do diário: indique --data ou --records para as guardar",
     "vx308ctl: %1 change(s) not kept in a journal: give --data or --records to keep them"},
    {"typeYes", "Escreva sim para continuar:", "Type yes to go ahead:"},
    {"notConfirmed", "não confirmado; nada foi posto a zero", "not confirmed; nothing was zeroed"},
    {"clearNeedsYes",
     "clear põe a zero os totais e contadores da unidade; a entrada não é um terminal, ninguém "
     "pode confirmar: junte --yes para continuar. Nada foi enviado.",
     "clear zeroes the unit's sub-totals and counters; standard input is not a terminal, so "
     "nobody can confirm it: add --yes to go ahead. Nothing was sent."},
    {"notStored",
     "vx308ctl: nada foi posto a zero: não foi possível guardar antes os valores da unidade: %1 "
     "%2",
     "vx308ctl: nothing was zeroed: the unit's values could not be stored first: %1 %2"},
    {"checkServer", "Verifique se o servidor está acessível, ou indique --records local.",
     "Check that the server can be reached, or give --records local."},
    {"checkFolder", "Verifique se %1 pode ser escrita, ou indique outra --data.",
     "Check that %1 can be written, or give another --data."},
    {"storedBeforeErase",
     "vx308ctl: valores guardados antes de apagar: %1, tabela ServiceSnapshots, linha %2",
     "vx308ctl: values stored before the erase: %1, table ServiceSnapshots, row %2"},
    {"unitChanged",
     "o temporizador na linha mudou durante a execução: foi lida a unidade %1, responde agora a "
     "unidade %2. Nada mais foi escrito; execute de novo o comando na unidade pretendida.",
     "the timer on the line changed during the run: unit %1 was read, unit %2 answers now. "
     "Nothing more was written; run the command again on the unit you mean."},
    {"identityTaken", "vx308ctl: o temporizador %1 fica com a identidade de %2",
     "vx308ctl: the timer %1 takes the identity of %2"},
    {"otherUnit",
     "vx308ctl: %1 foi guardado da unidade %2, e este temporizador é a unidade %3: restore --all "
     "dar-lhe-ia o número de fabrico e o número de série da aplicação da outra, e as duas teriam "
     "a mesma identidade nos registos. Nada foi escrito. Junte --identity se é isso que quer, ou "
     "reponha sem --all.",
     "vx308ctl: %1 was saved from unit %2, and this timer is unit %3: restore --all would give it "
     "the other's manufacturing number and application serial, and both would share one "
     "identity in the records. Nothing was written. Add --identity if that is what you want, or "
     "restore without --all."},
    {"notTickBox",
     "%1 é uma caixa de selecção: indique 0 ou 1 (ou false/true, não/sim), não \"%2\"",
     "%1 is a tick box: give 0 or 1 (or false/true, não/sim), not \"%2\""},
    {"identityOption", "--identity é só para restore --all", "--identity is for restore --all"},
    {"onePort", "indique uma só porta: --port N ou --device CAMINHO, uma vez",
     "give one port: --port N or --device PATH, once"},
    {"passwordVisible",
     "aviso: a palavra-passe escrita em --records fica visível a todos os utilizadores deste PC "
     "(ps) enquanto o programa corre; guarde-a em ~/.pgpass (chmod 600) ou em PGPASSWORD e "
     "tire-a do URI",
     "warning: the password written in --records can be seen by every user of this PC (ps) "
     "while the program runs; keep it in ~/.pgpass (chmod 600) or PGPASSWORD and leave it out "
     "of the URI"},
    {"none", "nenhum", "none"},
    {"numbersHeld",
     "Os números ficam guardados para este temporizador. Execute de novo new-unit neste "
     "temporizador para acabar a mesma unidade com os mesmos números.",
     "Its numbers stay held for this timer. Run new-unit again on this timer to finish the same "
     "unit with the same numbers."},
    {"numbersGap",
     "Não foi possível avisar os registos: new-unit de novo dá a este temporizador números "
     "novos, e estes ficam por usar.",
     "The records could not be told: new-unit again gives this timer new numbers, and these "
     "stay a gap."},
    {"partlyWritten",
     "a unidade %1 (NMec %2) só está em parte no temporizador.\n  escritos: %3\n  por escrever: "
     "%4\nNão está registada. %5",
     "unit %1 (NMec %2) is only partly in the timer.\n  written: %3\n  not written: %4\nIt is "
     "not logged. %5"},
    {"rowsAdded", "%1 linha(s) que esperavam em %2 acrescentada(s) a %3",
     "%1 row(s) that waited in %2 added to %3"},
    {"recordsUnusable", "os registos não podem ser usados: %1 %2",
     "the records cannot be used: %1 %2"},
    {"useLocalRecords", "Para continuar com os registos deste PC, indique --records local.",
     "To go on with this PC's own records, give --records local."},
    {"checkRecordsFile", "Verifique o ficheiro, ou indique outra --data.",
     "Check the file, or give another --data."},
    {"nothingCopied",
     "nada foi copiado: %1 das linhas de %2 não têm números utilizáveis (cada uma indicada "
     "acima).",
     "nothing was copied: %1 of the rows of %2 have no usable numbers (each is named above)."},
    {"takingsDay", "%1 leva uma data como aaaa-MM-dd (2026-03-31), não \"%2\"",
     "%1 takes a date as yyyy-MM-dd (2026-03-31), not \"%2\""},
    {"takingsBackwards", "--from %1 é depois de --to %2", "--from %1 is after --to %2"},
    {"takingsNone", "nenhuma unidade foi visitada de %1 a %2 em %3",
     "no unit was visited from %1 to %2 in %3"},
}};

// Every text table of vx308ctl, for the completeness check.
inline constexpr std::array<vx::TextTable, 1> kCtlTextTables{{{"kCtlTexts", kCtlTexts}}};

// The text of `key` in the language (0 Portuguese, 1 English).
inline QString ctlText(std::string_view key, int idioma)
{
    return vx::textOf(kCtlTexts, key, idioma);
}
