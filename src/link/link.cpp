#include "link.h"

#include "eventwait.h"
#include "messages.h"
#include "programend.h"
#include "serialport.h"

#include <QElapsedTimer>

namespace vx {

Link::Link(SerialPort &port, MessageSink &messages, const ProgramEnd *end, QObject *parent)
    : QObject(parent), m_port(port), m_messages(messages), m_end(end), m_trama_rx(kFrameLength, '0')
{
    dados_tx.fill('0');
    m_port.setReceiveThreshold(kFrameLength);
    connect(&m_port, &SerialPort::receiveNotification, this, &Link::aoReceber);

    // Qt's default coarse timers may fire up to 5% early; a reply that is
    // just in time must not count as a time-out.
    m_timeout.setTimerType(Qt::PreciseTimer);
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, &Link::aoExpirar);
    for (QTimer *t : {&m_sleep, &m_wait}) {
        t->setTimerType(Qt::PreciseTimer);
        t->setSingleShot(true);
    }
}

bool Link::terminou() const
{
    return m_end && m_end->ended();
}

bool Link::abrirSeFechada()
{
    if (!m_port.isOpen()) return m_port.open();
    return true;
}

void Link::fecharSeAberta()
{
    if (m_port.isOpen()) m_port.close();
}

bool Link::enviar_trama(uint8_t comando, uint8_t indice, uint8_t valor)
{
    const QByteArray pedido = construirPedido(comando, indice, valor, dados_tx);
    rx_timeout = true;
    trama_erro = true;
    int expirados = 0;
    bool aceite = false;

    for (;;) {
        if (terminou()) return false;
        // A cable that was pulled may be back: try the port again before every
        // attempt. If it is still missing nothing is written and the attempt
        // ends by time-out like any unanswered request.
        abrirSeFechada();
        m_port.discardInput();
        rx_pronto = false;
        m_tentativa = m_proxima++;

        if (m_port.isOpen() && m_port.write(QByteArray(1, '$'))) {
            for (char c : pedido)
                if (!m_port.write(QByteArray(1, c))) break;
            stats.n_tramas += 1;
            m_ultimoPedido = pedido;
            emit pedidoEnviado(pedido);
            emit statsChanged();
        }
        m_timeout.start(Timebase::toReal(m_timeoutMs));
        waitUntil([this] { return rx_pronto; }, m_end);
        m_timeout.stop();
        m_tentativa = 0;
        if (terminou()) return false;

        if (rx_timeout) {
            ++expirados;
        } else {
            trama_erro = !respostaValida(m_trama_rx);
            if (trama_erro) {
                stats.contarErroBf();
                ++stats.rejectedTotal;
                emit statsChanged();
                pausa_ms(1000);
                fecharSeAberta();
                abrirSeFechada();
            }
        }
        rx_pronto = false;
        if ((rx_timeout || trama_erro) && !sair_pedido) continue;
        aceite = !rx_timeout && !trama_erro;
        if (aceite) ++stats.acceptedTotal;
        break;
    }

    // Requests that timed out may still be answered late. Let those answers
    // arrive and drop them here, so the next transaction cannot take one of
    // them for its own reply. The answer to the last resend is due one period
    // per timed-out attempt after the answer we took, at the earliest; half a
    // period more covers the line's jitter, and while late answers keep coming
    // the drain lasts one more period after the last of them.
    if (aceite && expirados > 0 && !sair_pedido) {
        const int periodo = Timebase::toReal(m_timeoutMs);
        QTimer escoamento;
        escoamento.setSingleShot(true);
        escoamento.setTimerType(Qt::PreciseTimer);
        QElapsedTimer desde;
        desde.start();
        const auto ligacao = connect(&m_port, &SerialPort::receiveNotification, this, [&] {
            m_port.discardInput();
            const qint64 resta = qint64(periodo) * expirados + periodo / 2 - desde.elapsed();
            escoamento.start(static_cast<int>(std::max<qint64>(periodo, resta)));
        });
        escoamento.start(periodo * expirados + periodo / 2);
        waitUntil([&] { return !escoamento.isActive(); }, m_end);
        disconnect(ligacao);
        m_port.discardInput();
    }
    return aceite;
}

void Link::aoReceber()
{
    if (!m_port.isOpen()) return;
    if (m_tentativa == 0) {
        // Nobody is waiting: this is a late answer to an abandoned attempt.
        m_port.discardInput();
        return;
    }
    if (m_port.bytesWaiting() < kFrameLength) return;
    const QByteArray recebido = m_port.readAll();
    m_trama_rx = recebido.left(kFrameLength);
    m_tentativa = 0;
    m_timeout.stop();
    rx_timeout = false;
    rx_pronto = true;
    m_port.discardInput();
}

void Link::aoExpirar()
{
    m_timeout.stop();
    if (m_tentativa == 0) return;
    // The reply may be complete in the buffer with its notification still
    // queued behind this timer: it is the reply, not a time-out.
    if (m_port.isOpen() && m_port.bytesWaiting() >= kFrameLength) {
        aoReceber();
        return;
    }
    m_tentativa = 0;
    if (stats.to_erros < INT16_MAX) ++stats.to_erros;
    ++stats.timeoutsTotal;
    emit statsChanged();
    if (stats.to_erros == 100) {
        m_messages.show(QStringLiteral("Time Out!"), QString(), MessageSink::Icon::None);
        stats.to_erros = 0;
        stats.n_tramas = 0;
        emit statsChanged();
    }
    rx_pronto = true;
    rx_timeout = true;
}

void Link::pausa_ms(int ms)
{
    m_sleep.start(Timebase::toReal(ms));
    waitUntil([this] { return !m_sleep.isActive(); }, m_end);
}

void Link::esperar_ms(int ms)
{
    m_wait.start(Timebase::toReal(ms));
    waitUntil([this] { return !m_wait.isActive(); }, m_end);
}

} // namespace vx
