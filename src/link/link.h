#pragma once

#include "frame.h"
#include "linkobserver.h"
#include "linkstats.h"
#include "replyledger.h"
#include "replytimeout.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace vx {

class Clock;
class SerialPort;
class MessageSink;
class ProgramEnd;

// The device link: one request, one verified reply, retried until it comes.
//
// enviar_trama blocks its caller in a nested event loop (see eventwait.h), so
// buttons, timers and the receive notification run while it waits. Every
// reply that comes in is booked against the request it answers (ReplyLedger),
// whether or not an attempt is waiting, so a late answer to an earlier
// request is recognised and thrown away instead of being read as the answer
// to this one. The time-out stretches while the timer answers late
// (ReplyTimeout), so a slow timer is not sent every request twice. Its
// intervals are nominal; the clock says how long they take here.
class Link : public QObject
{
    Q_OBJECT
public:
    Link(SerialPort &port, MessageSink &messages, const Clock &clock,
         const ProgramEnd *end = nullptr, QObject *parent = nullptr);

    // Returns once a reply has been accepted, or after a failed attempt when
    // sair_pedido is set, retries are stopped or the program has ended. True
    // when accepted.
    bool enviar_trama(Command comando, uint8_t indice, uint8_t valor);

    // Ending a connection to a timer that has stopped answering: without
    // this the end would wait for as long as the timer stays silent. From
    // stopRetrying() to resumeRetries() a request is tried once; while the
    // timer has not answered since, requests are not sent at all, except the
    // end of connection, sent once. A timer that answers is read as always.
    void stopRetrying() { m_retriesStopped = true; }
    void resumeRetries() { m_retriesStopped = false; }
    bool retriesStopped() const { return m_retriesStopped; }

    // While set, a request gets one attempt and enviar_trama returns false
    // after a time-out or a rejected reply. A write must not be sent again
    // on its own after the line was interrupted: whoever answers next may be
    // another timer, so the engine confirms the unit before it tries again.
    void setSingleAttempt(bool on) { m_singleAttempt = on; }

    // How often the line has been interrupted since the start: time-outs
    // (the port lost among them) and rejected replies (each reopens the
    // port). The engine compares it to know whether the unit it read may
    // have been exchanged since.
    quint64 interruptions() const { return stats.timeoutsTotal + stats.rejectedTotal; }

    const QByteArray &trama_rx() const { return m_trama_rx; }
    TxData dados_tx{};
    void clearTxData() { dados_tx.fill('0'); }

    bool sair_pedido = false;
    LinkStats stats;

    // Blocking waits that keep the window alive: Timer_sleep and Timer_wait.
    void pausa_ms(int ms);
    void waitMs(int ms);

    // Timer_time_out interval as configured, in nominal milliseconds.
    void setTimeoutMs(int ms) { m_replyTimeout.setConfigured(ms); }
    int timeoutMs() const { return m_replyTimeout.configured(); }
    // The interval in force: the configured one, or longer while the timer
    // is seen to answer late.
    int effectiveTimeoutMs() const { return m_replyTimeout.current(); }

    SerialPort &port() { return m_port; }
    // "If the port is closed, open it" / "if the port is open, close it".
    bool openIfClosed();
    void closeIfOpen();

    // The request frame last written, for logs and tests.
    const QByteArray &lastRequestFrame() const { return m_lastRequestFrame; }

    // Who is told of every frame sent and received (a traffic log); none
    // by default. Not owned; must outlive the link or be unset first.
    void setObserver(LinkObserver *observer) { m_observer = observer; }

signals:
    // After every change of a counter, for the status line.
    void statsChanged();
    // Every request sent, with its 29 characters (the leading '$' not
    // included), right after it was written.
    void requestSent(const QByteArray &frame);

private:
    void onReadyRead();
    void onTimeout();
    bool ended() const;

    bool writeRequest(const QByteArray &frame);
    // A request the port would not take: false, after telling the observer.
    bool refused(const QByteArray &frame);
    // Takes a complete reply off the line, books it and, when it answers the
    // attempt that is waiting, hands it over. False when it did not.
    bool takeReply();
    bool takeFrame(const QByteArray &frame);
    void handOver(const QByteArray &frame, bool valid);
    // After an accepted reply: lets the answers still owed to earlier
    // attempts come in, for two periods at most.
    void drainOwedReplies();
    qint64 nowMs() const { return m_monotonic.elapsed(); }

    SerialPort &m_port;
    MessageSink &m_messages;
    const Clock &m_clock;
    const ProgramEnd *m_end;
    QTimer m_timeout;
    QTimer m_sleep;
    QTimer m_wait;
    QByteArray m_trama_rx;
    QByteArray m_lastRequestFrame;
    ReplyTimeout m_replyTimeout;
    ReplyLedger m_ledger;
    QElapsedTimer m_monotonic;
    // The transaction in progress, numbered from 1; 0 when none is.
    quint64 m_request = 0;
    quint64 m_lastRequest = 0;
    // An attempt is waiting for its reply.
    bool m_waiting = false;
    bool m_retriesStopped = false;
    bool m_singleAttempt = false;
    bool rx_pronto = false;
    bool rx_timeout = false;
    bool trama_erro = false;
    LinkObserver *m_observer = nullptr;
};

} // namespace vx
