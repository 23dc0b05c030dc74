#pragma once

#include <functional>

namespace vx {

class EditSet;
class Engine;
class Link;
class ProgramEnd;

// The two ways out of the program, without any widget. Both send the device
// the end-of-connection frame (Command::End) once and close the port.
//
// Exactly one such frame leaves the PC: a tick of the engine that starts
// during the pause sees sair_pedido and sends the same frame at its exit tail
// and ends the program; the sequence here then finds the program ended and
// sends nothing. A second request to leave while one is under way (closing
// the window during the pause of "Sair da Aplicação") is ignored.
class Shutdown
{
public:
    Shutdown(EditSet &edit, Link &link, Engine &engine, ProgramEnd &end,
             std::function<void()> cancelEntry = {});

    // "Sair da Aplicação". While a new unit is being entered the button is
    // that entry's "Cancelar" instead.
    void exitApplication();
    // The window's close box.
    void closeWindow();

    bool inProgress() const { return m_inProgress; }

private:
    void finish(int pauseMs, bool stopEngineFirst);

    EditSet &m_edit;
    Link &m_link;
    Engine &m_engine;
    ProgramEnd &m_end;
    std::function<void()> m_cancelEntry;
    bool m_inProgress = false;
};

} // namespace vx
