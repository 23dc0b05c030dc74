#pragma once

namespace vx {

class Bases;
class Clock;
class EditSet;
class Engine;
class Link;
class MessageSink;
class NovaUnidade;
class PortChooser;
class Predefinicao;
class Relatorio;
class Shutdown;

// What the main window forwards the technician's actions to. The window owns
// none of it: the application (or a test) builds these and hands them over.
struct Servicos
{
    EditSet &edit;
    Engine &engine;
    Link &link;
    Bases &bases;
    MessageSink &messages;
    const Clock &clock;
    PortChooser &portas;
    Shutdown &saida;
    NovaUnidade &nova;
    Relatorio &relatorio;
    Predefinicao &predefinicao;
};

} // namespace vx
