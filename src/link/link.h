#pragma once

#include "frame.h"
#include "linkstats.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

namespace vx {

class SerialPort;
class MessageSink;
class ProgramEnd;

// The device link: one request, one verified reply, retried until it comes.
//
// enviar_trama blocks its caller in a nested event loop (see eventwait.h), so
// buttons, timers and the receive notification run while it waits. Every
// attempt starts from a clean line: waiting input and any half-received reply
// are dropped first, and a reply is only taken for the attempt that is
// waiting, so a late answer to an earlier request can never be read as the
// answer to this one.
class Link : public QObject
{
    Q_OBJECT
public:
    Link(SerialPort &port, MessageSink &messages, const ProgramEnd *end = nullptr,
         QObject *parent = nullptr);

    // Returns once a reply has been accepted, or after a failed attempt when
    // sair_pedido is set or the program has ended. True when accepted.
    bool enviar_trama(uint8_t comando, uint8_t indice, uint8_t valor);

    const QByteArray &trama_rx() const { return m_trama_rx; }
    DadosTx dados_tx{};
    void limparDadosTx() { dados_tx.fill('0'); }

    bool sair_pedido = false;
    LinkStats stats;

    // Blocking waits that keep the window alive: Timer_sleep and Timer_wait.
    void pausa_ms(int ms);
    void esperar_ms(int ms);

    // Timer_time_out interval, in nominal milliseconds.
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    int timeoutMs() const { return m_timeoutMs; }

    SerialPort &port() { return m_port; }
    // "If the port is closed, open it" / "if the port is open, close it".
    bool abrirSeFechada();
    void fecharSeAberta();

    // The request frame last written, for logs and tests.
    const QByteArray &ultimoPedido() const { return m_ultimoPedido; }

signals:
    // After every change of a counter, for the status line.
    void statsChanged();
    // Every request sent, with its 29 characters.
    void pedidoEnviado(const QByteArray &frame);

private:
    void aoReceber();
    void aoExpirar();
    bool terminou() const;

    SerialPort &m_port;
    MessageSink &m_messages;
    const ProgramEnd *m_end;
    QTimer m_timeout;
    QTimer m_sleep;
    QTimer m_wait;
    QByteArray m_trama_rx;
    QByteArray m_ultimoPedido;
    int m_timeoutMs = 500;
    // The attempt that is waiting; 0 when none is.
    quint64 m_tentativa = 0;
    quint64 m_proxima = 1;
    bool rx_pronto = false;
    bool rx_timeout = false;
    bool trama_erro = false;
};

} // namespace vx
