#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <memory>

namespace vx {

class Bases;
class Clock;
class EditSet;
class Engine;
class FormMain;
class FrmSplash;
class Link;
class MessageSink;
class NovaUnidade;
class PortChooser;
class Predefinicao;
class ProgramEnd;
class RecordStore;
class Relatorio;
class ReportPrinter;
class SerialPort;
class Shutdown;

// Everything the maintenance tool is made of, wired together: the link on a
// port, the edit set, the engine, the records, the shell's services, the
// main window and the splash. The program hands in the platform pieces (a
// real serial port, SQLite, message boxes, process exit); a test hands in its
// doubles and drives the same wiring.
class Aplicacao : public QObject
{
    Q_OBJECT
public:
    struct Plataforma
    {
        SerialPort &port;
        RecordStore &store;
        MessageSink &messages;
        ProgramEnd &end;
        Clock &clock;
        ReportPrinter &printer;
    };

    // What the command line decides for the records and the window.
    struct Setup
    {
        QString dataFolder; // the database files; empty: the current folder
        bool factoryMenu = false;
        QSize screen; // fit the window to a screen of this size when valid
    };

    Aplicacao(const Setup &setup, const Plataforma &p, QObject *parent = nullptr);
    ~Aplicacao() override;

    // Makes the database files that are missing, then starts the splash.
    // False when the files cannot be made (a message has been shown).
    bool iniciar();

    Bases &bases() { return *m_bases; }
    Link &link() { return *m_link; }
    EditSet &edit() { return *m_edit; }
    Engine &engine() { return *m_engine; }
    PortChooser &portas() { return *m_portas; }
    Shutdown &saida() { return *m_saida; }
    FormMain &janela() { return *m_janela; }
    FrmSplash &splash() { return *m_splash; }

private:
    Plataforma m_p;
    std::unique_ptr<Bases> m_bases;
    std::unique_ptr<Link> m_link;
    std::unique_ptr<EditSet> m_edit;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<NovaUnidade> m_nova;
    std::unique_ptr<Relatorio> m_relatorio;
    std::unique_ptr<Predefinicao> m_predefinicao;
    std::unique_ptr<PortChooser> m_portas;
    std::unique_ptr<Shutdown> m_saida;
    std::unique_ptr<FormMain> m_janela;
    std::unique_ptr<FrmSplash> m_splash;
};

} // namespace vx
