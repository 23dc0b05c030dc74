#pragma once

#include "copiavalores.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace vx {

class EditSet;
class Link;
class Clock;
class MessageSink;
class ProgramEnd;
struct ReadStep;

// The sequence engine: the only thing that talks to the device during a
// connection. Buttons set the mode and request flags in EditSet::sessao; every
// expiry of Timer_teste runs one tick that carries the requests out in a fixed
// order. A tick runs inside nested waits of the link, so an expiry that falls
// while a tick is still running does nothing: ticks never overlap.
class Engine : public QObject
{
    Q_OBJECT
public:
    Engine(EditSet &edit, Link &link, Clock &clock, MessageSink &messages, ProgramEnd &end,
           QObject *parent = nullptr);
    ~Engine() override;

    EditSet &editSet() { return m_edit; }
    Link &link() { return m_link; }

    // Window title of the current language; "Lêr", "Sair" and Clear put it
    // back after a read has added the device version to it.
    QString titulo_base;
    void setTituloBase(const QString &t);

    // Buttons.
    void Command_ler_Click();        // "Lêr"
    void Command_testar_Click();     // "Sair": stop the connection
    void Command_enviar_Click();     // "Enviar": send impulses
    void Command_teste_disp_Click(); // "Testar Displays"
    void Command_clear_Click();      // "Clear"
    void command_copy1_Click();      // "Pic -> PC"
    void command_paste1_Click();     // "PC -> Pic"

    // Timer_teste.
    void iniciar();
    void parar();
    bool activo() const { return m_ligado; }
    bool emTick() const { return m_emTick; }

    // One tick, as Timer_teste runs it (public for tests and tools).
    void tick();

signals:
    void tickTerminado();
    void leituraTerminada(); // the full read has filled the window
    void escritaTerminada(); // a write pass that sent something has ended
    void motorParado();      // the stop tail has run

private:
    // The steps of a tick; each returns false when the program has ended
    // under it and the tick must be abandoned.
    bool passoVisor();
    bool pollEntradas();
    bool impulsos();
    bool testeDisplays();
    bool pollBateria();
    bool pollIButton();
    bool pollRelogio();
    bool leitura();
    bool escrita();
    // Pieces of the full read and of the write pass; each returns false
    // when the program has ended under it.
    bool clearDisplay();
    bool showReply(const ReadStep &step);
    bool showKeyReaderMode(const QString &campo, bool enabled);
    void showLastKeyUpdate(const QByteArray &reply);
    bool writeMaintenanceStamp();
    bool writeClockAndMark();
    bool writeMarkedFields(bool &wrote);
    bool eraseCounters();
    bool caudaParagem();
    void caudaSaida();
    void fecharSessaoNaJanela();

    bool enviar(uint8_t comando, uint8_t indice, uint8_t valor);
    bool visor(uint8_t posicao, uint8_t codigo) { return enviar(10, posicao, codigo); }
    bool terminou() const;

    EditSet &m_edit;
    Link &m_link;
    Clock &m_clock;
    MessageSink &m_messages;
    ProgramEnd &m_end;
    QTimer m_timer;
    bool m_emTick = false;
    int m_impulsosPedidos = 0;
    CopiaValores m_copia;
    bool m_ligado = false;
};

} // namespace vx
