#include "shutdown.h"

#include "editset.h"
#include "engine.h"
#include "link.h"
#include "programend.h"

namespace vx {

Shutdown::Shutdown(EditSet &edit, Link &link, Engine &engine, ProgramEnd &end,
                   std::function<void()> cancelarEntrada)
    : m_edit(edit), m_link(link), m_engine(engine), m_end(end),
      m_cancelarEntrada(std::move(cancelarEntrada))
{
}

void Shutdown::sairAplicacao()
{
    if (m_edit.sessao.modo == 1) {
        if (m_cancelarEntrada) m_cancelarEntrada();
        return;
    }
    terminar(1000, false);
}

void Shutdown::fecharJanela()
{
    terminar(2000, true);
}

void Shutdown::terminar(int pausaMs, bool pararMotorAntes)
{
    if (m_emCurso || m_end.ended()) return;
    m_emCurso = true;
    // "Sair da Aplicação" raises the flag before its pause, so that a tick
    // starting meanwhile makes single attempts and ends at its exit tail.
    // Closing the window stops the engine first and raises it afterwards.
    if (!pararMotorAntes) m_link.sair_pedido = true;
    if (!m_link.abrirSeFechada()) {
        m_end.endProgram();
        return;
    }
    if (pararMotorAntes) m_engine.parar();
    m_link.pausa_ms(pausaMs);
    if (m_end.ended()) return;
    // No tick may start while the closing frame waits for its answer: its
    // exit tail would send a second one.
    m_engine.parar();
    m_link.sair_pedido = true;
    m_link.enviar_trama(0, 0, 0);
    if (m_end.ended()) return;
    m_link.fecharSeAberta();
    m_end.endProgram();
}

} // namespace vx
