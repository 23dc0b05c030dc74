#include "shutdown.h"

#include "editset.h"
#include "engine.h"
#include "link.h"
#include "programend.h"

namespace vx {

Shutdown::Shutdown(EditSet &edit, Link &link, Engine &engine, ProgramEnd &end,
                   std::function<void()> cancelEntry)
    : m_edit(edit), m_link(link), m_engine(engine), m_end(end),
      m_cancelEntry(std::move(cancelEntry))
{
}

void Shutdown::exitApplication()
{
    if (m_edit.session.modo == 1) {
        if (m_cancelEntry) m_cancelEntry();
        return;
    }
    finish(1000, false);
}

void Shutdown::closeWindow()
{
    finish(2000, true);
}

void Shutdown::finish(int pauseMs, bool stopEngineFirst)
{
    if (m_inProgress || m_end.ended()) return;
    m_inProgress = true;
    // "Sair da Aplicação" raises the flag before its pause, so that a tick
    // starting meanwhile makes single attempts and ends at its exit tail.
    // Closing the window stops the engine first and raises it afterwards.
    if (!stopEngineFirst) m_link.sair_pedido = true;
    if (!m_link.openIfClosed()) {
        m_end.endProgram();
        return;
    }
    if (stopEngineFirst) m_engine.stop();
    m_link.pausa_ms(pauseMs);
    if (m_end.ended()) return;
    // No tick may start while the closing frame waits for its answer: its
    // exit tail would send a second one.
    m_engine.stop();
    m_link.sair_pedido = true;
    m_link.enviar_trama(Command::End, 0, 0);
    if (m_end.ended()) return;
    m_link.closeIfOpen();
    m_end.endProgram();
}

} // namespace vx
