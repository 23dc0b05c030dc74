#pragma once

#include "fieldtable.h"
#include "text.h"

#include <QString>
#include <array>
#include <span>
#include <string_view>

namespace vx {

class EditSet;

// The messages the tool shows in its message boxes, both languages side by
// side like the captions: the Portuguese is what the technician has always
// read, the English is what the window shows when English is chosen.
enum class MessageId
{
    TitleMaintenance,
    TitleError,
    ValueInvalid,
    TariffRange,
    FractionRange,
    ReadPending,
    UnitWrittenNotLogged,
    PortMissingOrInUse,
    PortMissingOrInUseAtStartUp,
    ValuesNotWritten,
    FileUnusable,
    CheckPrinter,
    TitlePrinterError,
    RecordsUnavailable,
    UnitNumberMoved,
    UnitNumberTaken,
    ClearNoReply,
    UnitChanged,
    UnitInDoubt,
    UnitNotRead,
    RecordsUnusable,
};

// In the order of MessageId, which picks a row by its position.
inline constexpr std::array<Text, 21> kMessageTexts{{
    {"titleMaintenance", "Manutenção", "Maintenance"},
    {"titleError", "Mensagem de Erro!", "Error Message!"},
    {"valueInvalid", "O valor inserido não é válido!", "The value entered is not valid!"},
    {"tariffRange", "O valor da tarifa deve estar entre 0 e 655,35",
     "The tariff must be between 0 and 655,35"},
    {"fractionRange", "O valor da fracao deve estar entre 0 e 255",
     "The fraction must be between 0 and 255"},
    {"readPending",
     "A leitura do temporizador ainda não terminou. Aguarde o fim da leitura e carregue outra "
     "vez em Novo.",
     "The timer is still being read. Wait for the read to end, then choose New again."},
    {"unitWrittenNotLogged", "A unidade %1 foi escrita no temporizador mas não ficou registada.",
     "Unit %1 was written to the timer but was not logged."},
    {"portMissingOrInUse", "A porta %1 não existe ou está a ser utilizada!",
     "Port %1 does not exist or is in use!"},
    {"portMissingOrInUseAtStartUp",
     "A porta %1 não existe ou está a ser utilizada! Selecione outra porta.",
     "Port %1 does not exist or is in use! Choose another port."},
    {"valuesNotWritten",
     "Estes valores não foram escritos no temporizador, que não os pode guardar:\n%1\nCorrija-os "
     "e confirme cada um com Enter.",
     "These values were not written to the timer, which cannot hold them:\n%1\nCorrect them and "
     "confirm each with Enter."},
    {"fileUnusable", "Não foi possível usar o ficheiro %1.\n%2", "The file %1 cannot be used.\n%2"},
    {"checkPrinter", "Por favor verifique a ligação da impressora!",
     "Please check the printer connection!"},
    {"titlePrinterError", "Mensagem de errro!", "Error Message!"},
    {"recordsUnavailable",
     "Sem os registos não é possível dar números a uma unidade nova (nunca se adivinha um "
     "número). Verifique a ligação ao servidor dos registos e tente outra vez. Ler e escrever o "
     "temporizador continua possível.",
     "Without the records a new unit cannot be given its numbers (a number is never guessed). "
     "Check the connection to the records' server and try again. Reading and writing the timer "
     "still work."},
    {"unitNumberMoved",
     "O número de fabrico %1 foi dado noutra bancada entretanto; esta unidade fica com o %2.",
     "Manufacturing number %1 was given on another bench meanwhile; this unit gets %2."},
    {"unitNumberTaken",
     "O número de fabrico %1 já foi dado à unidade com o NMec %2 do registo. O próximo número "
     "livre desta semana é o %3, que ficou proposto: carregue de novo em Aceitar para o usar, ou "
     "escreva outro.",
     "Manufacturing number %1 has already been given to the unit with NMec %2 in the log. The "
     "next free number of this week is %3, which is now proposed: press Aceitar again to use it, "
     "or type another."},
    {"clearNoReply",
     "Nada foi posto a zero: o temporizador não responde. Verifique o cabo e a porta e, quando "
     "o temporizador voltar a responder, carregue de novo em Clear.",
     "Nothing was zeroed: the timer does not answer. Check the cable and the port and, once the "
     "timer answers again, press Clear again."},
    {"unitChanged",
     "Outra unidade na linha: responde a %2, e os valores na janela são da %1. Nada da %1 lhe "
     "foi escrito. Carregue em Lêr para a ler.",
     "Another unit on the line: %2 answers, and the values in the window are of %1. Nothing of "
     "%1 was written to it. Press Read to read it."},
    {"unitInDoubt",
     "A linha foi interrompida e o temporizador ainda não voltou a responder: não se sabe que "
     "unidade está na linha. Verifique o cabo e tente de novo quando o temporizador responder.",
     "The line was interrupted and the timer has not answered since: which unit is on the line "
     "is not known. Check the cable and try again once the timer answers."},
    {"unitNotRead",
     "Os valores na janela não são da unidade que está na linha (%1). Carregue em Lêr para a "
     "ler primeiro.",
     "The values in the window are not of the unit on the line (%1). Press Read to read it "
     "first."},
    // fileUnusable, of a records server: %1 its URI without the password.
    {"recordsUnusable", "Não foi possível usar os registos em %1.\n%2",
     "The records at %1 cannot be used.\n%2"},
}};

static_assert(kMessageTexts.size() == static_cast<std::size_t>(MessageId::RecordsUnusable) + 1,
              "one row per MessageId");

// A message in a language: 0 Portuguese, 1 English (anything else Portuguese).
QString messageText(MessageId id, int idioma);

// The values that end at zero in the timer after Clear, in the window's
// order, keyed by their field, with what they are called in each language:
// the sub-totals, amount to pay and memory Clear zeroes itself, the
// electromechanical counter that the erase zeroes, and the counters. The
// accumulated takings are not among them.
inline constexpr auto kZeroedByClear = [] {
    constexpr FieldId order[] = {FieldId::Total00,      FieldId::Total08,   FieldId::Total12,
                                 FieldId::Total15,      FieldId::Total20,   FieldId::ToPay,
                                 FieldId::Memory,       FieldId::Counter,   FieldId::Games,
                                 FieldId::Programmings, FieldId::PowerDowns};
    std::array<Text, std::size(order)> values{};
    for (size_t i = 0; i < values.size(); ++i) {
        const Field &f = fieldRow(order[i]);
        values[i] = {f.name, f.zeroedPt, f.zeroedEn};
    }
    return values;
}();

// The question Clear asks before anything is sent: %1 the unit, %2 the
// values above, %3 the accumulated takings, %4 the file the values are
// stored in first.
inline constexpr std::array<Text, 1> kClearTexts{{
    {"clearQuestion",
     "Pôr a zero os totais e contadores da unidade %1?\n\nFicam a zero no temporizador:\n%2\n\nO "
     "acumulado (%3) fica como está. Todos os valores da unidade são guardados antes em %4.",
     "Zero the takings and counters of unit %1?\n\nThese values go to zero in the "
     "timer:\n%2\n\nThe "
     "accumulated takings (%3) stay. Every value of the unit is stored first in %4."},
}};

// A configuration file that cannot be read, saved or used: %1 and %2 are
// filled in as each text says (a key, what the file holds there, a file).
inline constexpr std::array<Text, 23> kConfigFileTexts{{
    {"number", "um número", "a number"},
    {"text", "um texto", "a text"},
    {"list", "uma lista", "a list"},
    {"object", "um objecto", "an object"},
    {"missing", "(em falta)", "missing"},
    {"keyMissing", "falta \"%1\"", "\"%1\" is missing"},
    {"notText", "\"%1\" deve ser um texto, não %2", "\"%1\" must be a text, not %2"},
    {"notTickBox", "\"%1\" deve ser o número 0 ou 1, não %2",
     "\"%1\" must be the number 0 or 1, not %2"},
    {"otherFormat",
     "não é um ficheiro de configuração VX308 (\"format\" é \"%1\", esperado \"%2\"); guarde um "
     "com vx308ctl save",
     "not a VX308 configuration file (\"format\" is \"%1\", expected \"%2\"); save one with "
     "vx308ctl save"},
    {"versionNotWhole", "\"version\" deve ser um número inteiro, não %1",
     "\"version\" must be a whole number, not %1"},
    {"newerVersion",
     "a versão %1 do formato é mais recente do que este programa lê (%2); use o vx308ctl que o "
     "guardou ou um mais recente",
     "format version %1 is newer than this program reads (%2); use the vx308ctl that saved it or "
     "a newer one"},
    {"unknownVersion", "versão %1 do formato desconhecida", "unknown format version %1"},
    {"savedNotDate",
     "\"saved\" deve ser uma data e hora como 2026-12-09T17:30:00+00:00, não \"%1\"",
     "\"saved\" must be a date and time such as 2026-12-09T17:30:00+00:00, not \"%1\""},
    {"unitNotObject", "\"unit\" deve ser um objecto, não %1", "\"unit\" must be an object, not %1"},
    {"inUnit", "em \"unit\": %1", "in \"unit\": %1"},
    {"notJson", "não é JSON válido (%1 no carácter %2)", "not valid JSON (%1 at character %2)"},
    {"noObject", "não é um ficheiro de configuração VX308 (nenhum objecto JSON)",
     "not a VX308 configuration file (no JSON object)"},
    {"chooseAnother", "; escolha outro ficheiro, numa pasta onde possa escrever",
     "; choose another file, in a folder you can write to"},
    {"checkName", "; verifique o nome do ficheiro, ou faça um com vx308ctl save",
     "; check the file's name, or make one with vx308ctl save"},
    {"nothingWritten", "%1: %2; nada foi escrito no temporizador",
     "%1: %2; nothing was written to the timer"},
    {"unitName", "%1 (número de série da aplicação %2)", "%1 (application serial %2)"},
    {"mustBe", "deve ser %1", "must be %1"},
    {"badBytes",
     "\"bytes\" deve dar, a cada valor que nenhum texto diz, a lista dos seus bytes (números "
     "de 0 a 255, tantos como o valor tem): \"%1\" não o faz",
     "\"bytes\" must give each value no text says as the list of its bytes (numbers from 0 to "
     "255, as many as the value has): \"%1\" does not"},
}};

// Damage in a JSON file that Qt's parser lets through: %1, %2 where in the
// file, or the key given twice.
inline constexpr std::array<Text, 3> kJsonShapeTexts{{
    {"nul", "um carácter NUL (\\u0000) num texto, no byte %1",
     "a NUL character (\\u0000) inside a text at byte %1"},
    {"control", "um carácter de controlo (\\x%1) num texto, no byte %2",
     "a raw control character (\\x%1) inside a text at byte %2"},
    {"twice", "\"%1\" aparece duas vezes", "\"%1\" is given twice"},
}};

// What the timer can store of each text form, keyed by the form.
inline constexpr std::array<Text, 10> kStorableTexts{{
    {"Money2", "um valor de 0,00 a 655,35, com vírgula decimal",
     "an amount from 0,00 to 655,35, with a decimal comma"},
    {"Money3", "um valor de 0,00 a 167772,15, com vírgula decimal",
     "an amount from 0,00 to 167772,15, with a decimal comma"},
    {"Count1", "um número inteiro de 0 a 255", "a whole number from 0 to 255"},
    {"Count2", "um número inteiro de 0 a 65535", "a whole number from 0 to 65535"},
    {"Count3", "um número inteiro de 0 a 16777215", "a whole number from 0 to 16777215"},
    {"PowerDowns", "um número inteiro de -1 a 65534", "a whole number from -1 to 65534"},
    {"Flag", "0 ou 1", "0 or 1"},
    {"Code", "uma letra, o ano com dois dígitos e a semana com dois dígitos, como A0715",
     "a letter, a two-digit year and a two-digit week, such as A0715"},
    {"Serial", "doze dígitos hexadecimais, ou \"-\" para nenhum",
     "twelve hex digits, or \"-\" for none"},
    {"other", "um valor que o temporizador possa guardar", "a value the timer can store"},
}};

// Every text table of the edit set, for the completeness check.
inline constexpr std::array<TextTable, 6> kEditingTextTables{{
    {"kMessageTexts", kMessageTexts},
    {"kZeroedByClear", kZeroedByClear},
    {"kClearTexts", kClearTexts},
    {"kConfigFileTexts", kConfigFileTexts},
    {"kJsonShapeTexts", kJsonShapeTexts},
    {"kStorableTexts", kStorableTexts},
}};

// The language the window speaks now, as the language menu's ticks say.
int languageOf(const EditSet &edit);

} // namespace vx
