#pragma once

#include "text.h"

#include <array>

namespace vx {

// What the session's own services say (the port's memory, the search for a
// VX308), both languages side by side, found by key.
inline constexpr std::array<Text, 4> kSessionTexts{{
    {"searchFound", "Foi encontrado um VX308 na porta %1, que fica escolhida.",
     "A VX308 answered on port %1, which is now chosen."},
    {"searchNone",
     "Nenhum VX308 respondeu. Portas tentadas: %1. Verifique o cabo e se o temporizador está "
     "ligado.",
     "No VX308 answered. Ports tried: %1. Check the cable and that the timer is switched on."},
    {"searchNoPorts", "Não há portas série para procurar. Ligue o adaptador e tente de novo.",
     "There are no serial ports to search. Plug in the adapter and try again."},
    {"portNotRemembered",
     "A porta foi escolhida, mas não foi possível guardá-la em %1 para a próxima vez. Verifique se "
     "essa pasta pode ser escrita.",
     "The port was chosen, but it could not be saved in %1 for next time. Check that the folder "
     "is writable."},
}};

// Every text table of the session, for the completeness check.
inline constexpr std::array<TextTable, 1> kSessionTextTables{{
    {"kSessionTexts", kSessionTexts},
}};

} // namespace vx
