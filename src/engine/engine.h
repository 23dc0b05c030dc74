#pragma once

#include "enginecontrol.h"

#include "frame.h"
#include "valueclipboard.h"

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
// connection. Buttons set the mode and request flags in EditSet::session; every
// expiry of Timer_teste runs one tick that carries the requests out in a fixed
// order. A tick runs inside nested waits of the link, so an expiry that falls
// while a tick is still running does nothing: ticks never overlap.
class Engine : public QObject, public EngineControl
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
    void setBaseTitle(const QString &t);

    // Buttons.
    void Command_ler_Click();        // "Lêr"
    void Command_testar_Click();     // "Sair": stop the connection
    void Command_enviar_Click();     // "Enviar": send impulses
    void Command_teste_disp_Click(); // "Testar Displays"
    void Command_clear_Click();      // "Clear"
    void command_copy1_Click();      // "Pic -> PC"
    void command_paste1_Click();     // "PC -> Pic"

    // Timer_teste.
    void start() override;
    void stop() override;
    bool active() const override { return m_running; }
    bool inTick() const { return m_inTick; }

    // One tick, as Timer_teste runs it (public for tests and tools).
    void tick();

signals:
    void tickFinished();
    void readFinished();  // the full read has filled the window
    void writeFinished(); // a write pass that sent something has ended
    void engineStopped(); // the stop tail has run
    // The full read has taken `done` of its `steps` memory reads (0 when it
    // starts), for progress bars.
    void readProgress(int done, int steps);

private:
    // The steps of a tick; each returns false when the program has ended
    // under it and the tick must be abandoned.
    bool displayStep();
    bool pollInputs();
    bool impulsos();
    bool displayTest();
    bool pollBattery();
    bool pollIButton();
    bool pollClock();
    bool readPass();
    bool writePass();
    // Pieces of the full read and of the write pass; each returns false
    // when the program has ended under it.
    bool clearDisplay();
    bool showReply(const ReadStep &step);
    bool showKeyReaderMode(const QString &field, bool enabled);
    void showLastKeyUpdate(const QByteArray &reply);
    bool writeMaintenanceStamp();
    bool writeClockAndMark();
    bool writeMarkedFields(bool &wrote);
    bool eraseCounters();
    bool stopTail();
    void exitTail();
    void closeSessionInWindow();

    bool send(Command comando, uint8_t indice, uint8_t valor);
    bool display(uint8_t position, uint8_t code) { return send(Command::Display, position, code); }
    bool ended() const;

    EditSet &m_edit;
    Link &m_link;
    Clock &m_clock;
    MessageSink &m_messages;
    ProgramEnd &m_end;
    QTimer m_timer;
    bool m_inTick = false;
    int m_impulsesRequested = 0;
    ValueClipboard m_copy;
    bool m_running = false;
};

} // namespace vx
