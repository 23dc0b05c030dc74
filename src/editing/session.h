#pragma once

#include <cstdint>

namespace vx {

// The engine's mode and request flags. Buttons and menus only set these; the
// engine tick consumes them in its fixed order.
struct Session
{
    uint8_t modo = 0; // 0 idle, 1 new-unit entry, 2 connected
    bool ler_pedido = false;
    bool escrever_pedido = false;
    bool sessao_activa = false;
    bool banner_esc = false;
    bool impulsos_pedido = false;
    bool teste_disp_pedido = false;
    bool limpar_pedido = false;
    uint8_t pos_cursor = 0;
};

} // namespace vx
