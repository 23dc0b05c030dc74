#include "engine.h"

#include "clearrequest.h"
#include "clock.h"
#include "editset.h"
#include "fieldtable.h"
#include "link.h"
#include "messages.h"
#include "messagetexts.h"
#include "programend.h"
#include "textforms.h"
#include "valueclipboard.h"

namespace vx {

Engine::Engine(EditSet &edit, Link &link, Clock &clock, MessageSink &messages, ProgramEnd &end,
               QObject *parent)
    : QObject(parent), m_edit(edit), m_link(link), m_clock(clock), m_messages(messages), m_end(end)
{
    // Timer_teste runs with a 1 ms interval. It is re-armed at the end of each
    // tick instead of firing periodically: an expiry during a tick could do
    // nothing anyway, and a periodic 1 ms timer would wake the process a
    // thousand times a second while the link waits for the device.
    m_timer.setSingleShot(true);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, &Engine::tick);
    // A Clear not yet under way when the timer stops answering is not kept
    // for whichever timer answers next; the buttons it took come back.
    connect(&m_link, &Link::statsChanged, this, [this] {
        if (!m_edit.session.limpar_pedido || m_servingClear ||
            m_link.stats.timeoutsSinceAccepted == 0)
            return;
        abandonClear();
        QTimer::singleShot(0, this, [this] {
            m_messages.show(messageText(MessageId::ClearNoReply, languageOf(m_edit)),
                            QStringLiteral("Clear"), MessageSink::Icon::Critical);
        });
    });
}

Engine::~Engine() = default;

void Engine::setBaseTitle(const QString &t)
{
    titulo_base = t;
    m_edit.setTitle(t);
}

void Engine::start()
{
    m_running = true;
    if (!m_inTick && !m_timer.isActive()) m_timer.start();
}

void Engine::stop()
{
    m_running = false;
    m_timer.stop();
}

bool Engine::ended() const
{
    return m_end.ended();
}

bool Engine::send(Command comando, uint8_t indice, uint8_t valor)
{
    return m_link.enviar_trama(comando, indice, valor);
}

void Engine::tick()
{
    if (m_inTick || ended()) return;
    m_inTick = true;
    Session &s = m_edit.session;

    m_link.clearTxData();
    m_link.openIfClosed();
    // Each step may find the program ended under it (a shutdown ran from a
    // button while the step waited): the rest of the tick is then abandoned.
    const bool complete = displayStep() && pollInputs() && (!s.impulsos_pedido || sendImpulses()) &&
                          (!s.teste_disp_pedido || displayTest()) && pollBattery() &&
                          pollIButton() && pollClock() && confirmIfInterrupted() &&
                          (!s.ler_pedido || readPass()) && writePass() &&
                          (s.sessao_activa || stopTail());
    if (complete && m_link.sair_pedido) exitTail();

    m_inTick = false;
    if (ended()) return;
    Q_EMIT tickFinished();
    if (m_running) m_timer.start();
}

bool Engine::displayStep()
{
    Session &s = m_edit.session;
    if (s.banner_esc) {
        const uint8_t banner[][2] = {{4, 'E'}, {3, 'S'}, {2, 'C'}, {1, 12}, {0, 12},
                                     {5, 12},  {6, 12},  {7, 12},  {8, 12}, {9, 12}};
        for (const auto &b : banner) {
            display(b[0], b[1]);
            if (ended()) return false;
        }
    } else {
        display(s.pos_cursor == 0 ? 9 : s.pos_cursor - 1, 12);
        if (ended()) return false;
        if (!s.ler_pedido) {
            display(s.pos_cursor, 13);
            if (ended()) return false;
        }
    }
    s.pos_cursor = static_cast<uint8_t>((s.pos_cursor + 1) % 10);
    return !ended();
}

bool Engine::stopTail()
{
    Session &s = m_edit.session;
    m_link.openIfClosed();
    stop();
    send(Command::End, 0, 0);
    if (ended()) return false;
    for (FieldId id :
         {FieldId::ClockDate, FieldId::ClockTime, FieldId::KeyUpdateDate, FieldId::KeyUpdateTime})
        m_edit.setText(fieldName(id), QStringLiteral("-"));
    m_edit.setText(fieldName(FieldId::Battery), toQString(fieldRow(FieldId::Battery).initial));
    m_edit.setValue(QStringLiteral("ProgressBar_baterias"), 0);
    // A read or a display test that ended after "Sair" has enabled the
    // connection buttons again, "Pic -> PC" among them (a copy of a blanked or
    // half-read window would replace the good one), and a request made just
    // before "Sair" must not wait for the next unit.
    for (const char *n : {"Command_testar", "Command_clear", "Command_enviar", "Command_teste_disp",
                          "Command_imprimir", "command_copy1"})
        m_edit.setEnabled(QLatin1String(n), false);
    s.impulsos_pedido = false;
    s.teste_disp_pedido = false;
    m_link.setTimeoutMs(1000);
    m_link.closeIfOpen();
    m_link.resumeRetries();
    Q_EMIT engineStopped();
    return true;
}

void Engine::exitTail()
{
    m_link.openIfClosed();
    send(Command::End, 0, 0);
    m_link.closeIfOpen();
    stop();
    m_end.endProgram();
}

// --- buttons

// What "Lêr" and "Sair" both do first: end the session in the window and
// blank every value.
void Engine::closeSessionInWindow()
{
    Session &s = m_edit.session;
    s.modo = 0;
    s.sessao_activa = false;
    for (const char *n : {"Command_testar", "Command_clear", "Command_enviar", "Command_teste_disp",
                          "Command_imprimir", "command_copy1"})
        m_edit.setEnabled(QLatin1String(n), false);
    m_edit.setEnabled(QStringLiteral("Command_novo"), true);
    for (const char *n : {"Shape_bola0", "Shape_bola1", "Shape_bola2", "Shape_bola3"})
        m_edit.setIndicator(QLatin1String(n), IndicatorState::Off);
    m_edit.clear();
    m_unit = {};
    m_edit.setUnitMismatch(std::nullopt);
    // The placeholders and unticked boxes are not values to write: a write
    // pass already under way would otherwise send "off" and zeros.
    m_edit.lowerAll();
    m_edit.setTitle(titulo_base);
}

void Engine::Command_ler_Click()
{
    Session &s = m_edit.session;
    // A new unit being entered owns the window: a read would replace the
    // proposal. It is accepted or cancelled first.
    if (s.modo == 1) return;
    closeSessionInWindow();
    // Pressed right after "Sair", before its stop was done: the new read
    // retries as every read does.
    m_link.resumeRetries();
    m_edit.setEnabled(QStringLiteral("Command_ler"), false);
    m_edit.setEnabled(QStringLiteral("mnu_comunicação"), false);
    s.modo = 2;
    s.ler_pedido = true;
    start();
    s.sessao_activa = true;
    s.pos_cursor = 0;
    m_edit.setEnabled(QStringLiteral("Command_testar"), true);
}

// "Sair" also takes "Pic -> PC" away, so an empty window cannot replace the
// copy.
void Engine::Command_testar_Click()
{
    closeSessionInWindow();
    // A silent timer would hold the stop back for as long as it stays
    // silent: the rest of this tick tries each request once at most.
    m_link.stopRetrying();
}

void Engine::Command_enviar_Click()
{
    // Impulses change the counters and takings of whichever unit answers.
    if (refusedForOtherUnit()) return;
    // The count travels as one byte and sets the reply time-out in seconds.
    const auto n = integer(m_edit.text(fieldName(FieldId::Impulses)));
    if (!n || *n < 0 || *n > 255) {
        m_messages.show(messageText(MessageId::ValueInvalid, languageOf(m_edit)),
                        messageText(MessageId::TitleMaintenance, languageOf(m_edit)),
                        MessageSink::Icon::None);
        return;
    }
    m_impulsesRequested = static_cast<int>(*n);
    m_edit.session.impulsos_pedido = true;
    m_link.setTimeoutMs(std::max(m_impulsesRequested, 1) * 1000);
    m_edit.setEnabled(QStringLiteral("Command_enviar"), false);
}

void Engine::Command_teste_disp_Click()
{
    if (refusedForOtherUnit()) return;
    m_edit.session.teste_disp_pedido = true;
    m_edit.setEnabled(QStringLiteral("Command_teste_disp"), false);
}

void Engine::Command_clear_Click()
{
    if (refusedForOtherUnit()) return;
    requestClear(m_edit);
}

void Engine::command_copy1_Click()
{
    m_copy.copy(m_edit);
}

void Engine::command_paste1_Click()
{
    // The copy goes to a unit only once that unit has been read.
    if (refusedForOtherUnit()) return;
    m_copy.paste(m_edit);
}

} // namespace vx
