#pragma once

#include "linkfault.h"
#include "serialport.h"
#include "text.h"

#include <QString>
#include <array>
#include <string_view>

namespace vx {

// Why the tool cannot talk to the timer, one case for each fix the
// technician can make. The window and the command-line tool say the same.
enum class Trouble
{
    PortMissing,
    PortPermissionDenied,
    PortBusy,
    PortUnusable,
    NoReply,
    RejectedReplies
};

// The texts in the order of Trouble: %1 is the device ("/dev/ttyUSB0",
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
static_assert(kTroubleTexts.size() == static_cast<std::size_t>(Trouble::RejectedReplies) + 1,
              "one row per Trouble");

// Every text table of the link, for the completeness check.
inline constexpr std::array<TextTable, 1> kLinkTextTables{{{"kTroubleTexts", kTroubleTexts}}};

// The trouble behind a failed open.
Trouble troubleOf(SerialPort::OpenFailure failure);
// The trouble behind a link fault; PortUnavailable needs the open's failure.
Trouble troubleOf(LinkFault fault, SerialPort::OpenFailure failure);

// The message in a language (0 Portuguese, 1 English).
QString troubleMessage(Trouble trouble, int idioma, const QString &device,
                       const QString &systemText = {});

} // namespace vx
