#pragma once

#include "text.h"

#include <array>

namespace vx {

// What the link and its traffic log say, both languages side by side.

// Why the tool cannot talk to the timer, in the order of Trouble: %1 is the device ("/dev/ttyUSB0",
// "COM3"), %2 the system's own words where there are any.
inline constexpr std::array<Text, 6> kTroubleTexts{{
    {"portMissing",
     "A porta %1 não existe. Verifique se o cabo ou o adaptador USB está ligado ao PC e se "
     "escolheu a porta certa.",
     "Port %1 does not exist. Check that the cable or USB adapter is plugged into the PC and "
     "that the right port is chosen."},
    {"portPermissionDenied",
     "Não tem permissão para abrir a porta %1. Em Linux, junte o utilizador ao grupo dialout "
     "(sudo usermod -aG dialout $USER) e saia e volte a entrar na sessão.",
     "You may not open port %1 (permission denied). On Linux, add your user to the dialout "
     "group (sudo usermod -aG dialout $USER), then log out and in again."},
    {"portBusy",
     "A porta %1 está a ser usada por outro programa. Feche-o (outra cópia desta ferramenta, um "
     "terminal série) e tente de novo.",
     "Port %1 is held by another program. Close it (another copy of this tool, a serial "
     "terminal) and try again."},
    {"portUnusable", "Não foi possível abrir a porta %1: %2", "Port %1 cannot be opened: %2"},
    {"noReply",
     "O temporizador na porta %1 não responde. Verifique o cabo, se o temporizador está ligado "
     "à corrente e se %1 é a porta a que está ligado.",
     "The timer on port %1 does not answer. Check the cable, that the timer is switched on and "
     "that %1 is the port it is connected to."},
    {"rejectedReplies",
     "Algo responde na porta %1, mas todas as respostas são inválidas. Verifique se o aparelho "
     "ligado é um VX308, se a linha está a 19200 bit/s e se nenhum outro programa a usa.",
     "Something answers on port %1, but every reply is rejected. Check that the device is a "
     "VX308, that the line runs at 19200 bit/s and that nothing else uses it."},
}};

// The traffic log's first line (%1 the passwords' fields, joined by "and";
// %2 and %3 their addresses) and the trace file that cannot be written (%1
// the file, %2 the system's reason).
inline constexpr std::array<Text, 3> kTraceTexts{{
    {"masked",
     "Registo de comunicação VX308; as palavras-passe (%1, endereços %2 a %3) estão mascaradas: "
     "os seus caracteres de dados aparecem como *",
     "VX308 traffic log; the passwords (%1, addresses %2 to %3) are masked: their data "
     "characters show as *"},
    {"and", " e ", " and "},
    {"cannotWrite",
     "não foi possível escrever o ficheiro de registo %1 (%2); escolha um ficheiro numa pasta "
     "onde possa escrever",
     "cannot write the trace file %1 (%2); choose a file in a folder you can write to"},
}};

// Every text table of the link, for the completeness check.
inline constexpr std::array<TextTable, 2> kLinkTextTables{{
    {"kTroubleTexts", kTroubleTexts},
    {"kTraceTexts", kTraceTexts},
}};

} // namespace vx
