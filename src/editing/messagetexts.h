#pragma once

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
};

struct MessageText
{
    MessageId id;
    std::string_view pt;
    std::string_view en;
};

inline constexpr std::array<MessageText, 20> kMessageTexts{{
    {MessageId::TitleMaintenance, "Manutenção", "Maintenance"},
    {MessageId::TitleError, "Mensagem de Erro!", "Error Message!"},
    {MessageId::ValueInvalid, "O valor inserido não é válido!", "The value entered is not valid!"},
    {MessageId::TariffRange, "O valor da tarifa deve estar entre 0 e 655,35",
     "The tariff must be between 0 and 655,35"},
    {MessageId::FractionRange, "O valor da fracao deve estar entre 0 e 255",
     "The fraction must be between 0 and 255"},
    {MessageId::ReadPending,
     "A leitura do temporizador ainda não terminou. Aguarde o fim da leitura e carregue outra "
     "vez em Novo.",
     "The timer is still being read. Wait for the read to end, then choose New again."},
    {MessageId::UnitWrittenNotLogged,
     "A unidade %1 foi escrita no temporizador mas não ficou registada.",
     "Unit %1 was written to the timer but was not logged."},
    {MessageId::PortMissingOrInUse, "A porta %1 não existe ou está a ser utilizada!",
     "Port %1 does not exist or is in use!"},
    {MessageId::PortMissingOrInUseAtStartUp,
     "A porta %1 não existe ou está a ser utilizada! Selecione outra porta.",
     "Port %1 does not exist or is in use! Choose another port."},
    {MessageId::ValuesNotWritten,
     "Estes valores não foram escritos no temporizador, que não os pode guardar:\n%1\nCorrija-os "
     "e confirme cada um com Enter.",
     "These values were not written to the timer, which cannot hold them:\n%1\nCorrect them and "
     "confirm each with Enter."},
    {MessageId::FileUnusable, "Não foi possível usar o ficheiro %1.\n%2",
     "The file %1 cannot be used.\n%2"},
    {MessageId::CheckPrinter, "Por favor verifique a ligação da impressora!",
     "Please check the printer connection!"},
    {MessageId::TitlePrinterError, "Mensagem de errro!", "Error Message!"},
    {MessageId::RecordsUnavailable,
     "Sem os registos não é possível dar números a uma unidade nova (nunca se adivinha um "
     "número). Verifique a ligação ao servidor dos registos e tente outra vez. Ler e escrever o "
     "temporizador continua possível.",
     "Without the records a new unit cannot be given its numbers (a number is never guessed). "
     "Check the connection to the records' server and try again. Reading and writing the timer "
     "still work."},
    {MessageId::UnitNumberMoved,
     "O número de fabrico %1 foi dado noutra bancada entretanto; esta unidade fica com o %2.",
     "Manufacturing number %1 was given on another bench meanwhile; this unit gets %2."},
    {MessageId::UnitNumberTaken,
     "O número de fabrico %1 já foi dado à unidade com o NMec %2 do registo. O próximo número "
     "livre desta semana é o %3, que ficou proposto: carregue de novo em Aceitar para o usar, ou "
     "escreva outro.",
     "Manufacturing number %1 has already been given to the unit with NMec %2 in the log. The "
     "next free number of this week is %3, which is now proposed: press Aceitar again to use it, "
     "or type another."},
    {MessageId::ClearNoReply,
     "Nada foi posto a zero: o temporizador não responde. Verifique o cabo e a porta e, quando "
     "o temporizador voltar a responder, carregue de novo em Clear.",
     "Nothing was zeroed: the timer does not answer. Check the cable and the port and, once the "
     "timer answers again, press Clear again."},
    {MessageId::UnitChanged,
     "Outra unidade na linha: responde a %2, e os valores na janela são da %1. Nada da %1 lhe "
     "foi escrito. Carregue em Lêr para a ler.",
     "Another unit on the line: %2 answers, and the values in the window are of %1. Nothing of "
     "%1 was written to it. Press Read to read it."},
    {MessageId::UnitInDoubt,
     "A linha foi interrompida e o temporizador ainda não voltou a responder: não se sabe que "
     "unidade está na linha. Verifique o cabo e tente de novo quando o temporizador responder.",
     "The line was interrupted and the timer has not answered since: which unit is on the line "
     "is not known. Check the cable and try again once the timer answers."},
    {MessageId::UnitNotRead,
     "Os valores na janela não são da unidade que está na linha (%1). Carregue em Lêr para a "
     "ler primeiro.",
     "The values in the window are not of the unit on the line (%1). Press Read to read it "
     "first."},
}};

constexpr bool messageTextsComplete()
{
    for (const MessageText &m : kMessageTexts)
        if (m.pt.empty() || m.en.empty()) return false;
    return true;
}
static_assert(messageTextsComplete());

// A message in a language: 0 Portuguese, 1 English (anything else Portuguese).
QString messageText(MessageId id, int idioma);

// A text of a small table of a window or a document of its own, found by its
// key, in both languages.
struct KeyedText
{
    std::string_view key;
    std::string_view pt;
    std::string_view en;
};

// The text of `key` in the language (0 Portuguese, 1 English); empty when
// the table has no such key.
std::string_view keyedText(std::span<const KeyedText> table, std::string_view key, int idioma);
// The language the window speaks now, as the language menu's ticks say.
int languageOf(const EditSet &edit);

} // namespace vx
