#include "link.h"

#include "clock.h"
#include "eventwait.h"
#include "messages.h"
#include "programend.h"
#include "serialport.h"

#include <algorithm>

namespace vx {

Link::Link(SerialPort &port, MessageSink &messages, const Clock &clock, const ProgramEnd *end,
           QObject *parent)
    : QObject(parent), m_port(port), m_messages(messages), m_clock(clock), m_end(end),
      m_trama_rx(kFrameLength, '0')
{
    m_monotonic.start();
    dados_tx.fill('0');
    m_port.setReceiveThreshold(kFrameLength);
    connect(&m_port, &SerialPort::receiveNotification, this, &Link::onReadyRead);

    // Qt's default coarse timers may fire up to 5% early; a reply that is
    // just in time must not count as a time-out.
    m_timeout.setTimerType(Qt::PreciseTimer);
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, &Link::onTimeout);
    for (QTimer *t : {&m_sleep, &m_wait}) {
        t->setTimerType(Qt::PreciseTimer);
        t->setSingleShot(true);
    }
}

bool Link::ended() const
{
    return m_end && m_end->ended();
}

bool Link::openIfClosed()
{
    if (!m_port.isOpen()) return m_port.open();
    return true;
}

void Link::closeIfOpen()
{
    if (m_port.isOpen()) m_port.close();
}

bool Link::writeRequest(const QByteArray &frame)
{
    if (!m_port.isOpen() || !m_port.write(QByteArray(1, '$'))) return refused(frame);
    for (char c : frame)
        if (!m_port.write(QByteArray(1, c))) return refused(frame);
    return true;
}

bool Link::refused(const QByteArray &frame)
{
    if (m_observer) m_observer->requestNotWritten(frame, m_port.errorText());
    return false;
}

bool Link::enviar_trama(Command comando, uint8_t indice, uint8_t valor)
{
    if (m_retriesStopped && stats.timeoutsSinceAccepted > 0 && comando != Command::End)
        return false;
    const QByteArray request = buildRequest(comando, indice, valor, dados_tx);
    m_request = ++m_lastRequest;
    rx_timeout = true;
    trama_erro = true;
    bool accepted = false;

    for (;;) {
        if (ended()) break;
        // A cable that was pulled may be back: try the port again before every
        // attempt. If it is still missing nothing is written and the attempt
        // ends by time-out like any unanswered request.
        openIfClosed();
        // A complete reply already in is an answer to something earlier: book
        // it. What is left is the start of one, useless without its head.
        if (m_port.isOpen() && m_port.bytesWaiting() >= kFrameLength) takeReply();
        m_port.discardInput();
        rx_pronto = false;
        rx_timeout = true;

        const int timeout = m_clock.toReal(m_replyTimeout.current());
        stats.lastAttemptUnsent = !writeRequest(request);
        if (!stats.lastAttemptUnsent) {
            m_ledger.written(m_request, nowMs(), timeout);
            stats.n_tramas += 1;
            ++stats.sentTotal;
            m_lastRequestFrame = request;
            emit requestSent(request);
            emit statsChanged();
        }
        m_waiting = true;
        m_timeout.start(timeout);
        waitUntil([this] { return rx_pronto; }, m_end);
        m_timeout.stop();
        m_waiting = false;
        if (ended()) break;

        if (!rx_timeout && trama_erro) {
            stats.countBadFrame();
            ++stats.rejectedTotal;
            ++stats.rejectedSinceAccepted;
            emit statsChanged();
            pausa_ms(1000);
            closeIfOpen();
            openIfClosed();
        }
        rx_pronto = false;
        if ((rx_timeout || trama_erro) && !sair_pedido && !m_retriesStopped && !m_singleAttempt)
            continue;
        accepted = !rx_timeout && !trama_erro;
        if (accepted) {
            ++stats.acceptedTotal;
            stats.timeoutsSinceAccepted = 0;
            stats.rejectedSinceAccepted = 0;
            emit statsChanged();
        }
        break;
    }
    m_request = 0;
    if (accepted && !sair_pedido && !ended()) drainOwedReplies();
    return accepted;
}

void Link::drainOwedReplies()
{
    // Attempts that timed out may still be answered: the answers are booked
    // as they come, and the next request goes out once none is owed. Two
    // periods at most, however busy the line: the books keep whatever is
    // still owed, so an answer after the drain is still known for a late one.
    m_ledger.expire(nowMs());
    if (m_ledger.empty()) return;
    const qint64 deadline =
        nowMs() + 2 * qint64(m_clock.toReal(m_replyTimeout.current())) + ReplyLedger::kSlackMs;
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        m_ledger.expire(nowMs());
        const qint64 now = nowMs();
        if (m_ledger.empty() || now >= deadline || ended()) break;
        const qint64 until = std::min(deadline, m_ledger.nextExpiry().value_or(deadline));
        const std::size_t owed = m_ledger.size();
        wake.start(static_cast<int>(std::max<qint64>(1, until - now)));
        waitUntil([&] { return !wake.isActive() || m_ledger.size() != owed; }, m_end);
    }
    // An answer already on the line whose notification has not run yet (a
    // busy PC) is booked, not thrown away unbooked: its request would stay
    // owed and the next request's answer be taken for it.
    if (m_port.isOpen() && m_port.bytesWaiting() >= kFrameLength) takeReply();
    m_port.discardInput();
}

bool Link::takeReply()
{
    const QByteArray received = m_port.readAll();
    m_port.discardInput();
    // The first 29 characters are the reply. A busy timer may have sent more
    // answers right behind it; each complete one is booked too, or the books
    // would wait for an answer that came and was thrown away.
    const QByteArray first = received.left(kFrameLength);
    // A damaged reply is logged whole, noise and tail included: that is what
    // tells a bad line from a bad timer.
    if (m_observer && !isValidReply(first))
        m_observer->replyRejected(received, ReplyRejection::Damaged);
    bool handed = takeFrame(first);
    bool moreTaken = false;
    for (qsizetype at = received.indexOf('!', kFrameLength);
         at >= 0 && received.size() - at >= kFrameLength; at = received.indexOf('!', at + 1)) {
        const QByteArray more = received.mid(at, kFrameLength);
        if (!isValidReply(more)) continue;
        handed = takeFrame(more) || handed;
        moreTaken = true;
        at += kFrameLength - 1;
    }
    if (m_observer && !moreTaken && received.size() > kFrameLength && isValidReply(first))
        m_observer->replyRejected(received.mid(kFrameLength), ReplyRejection::Surplus);
    return handed;
}

bool Link::takeFrame(const QByteArray &frame)
{
    const bool attemptWaiting = m_waiting && !rx_pronto;
    if (!isValidReply(frame)) {
        // Not a reply at all, or a damaged one: it cannot be booked, and it
        // is the waiting attempt's business only (counted, line reset).
        if (!attemptWaiting) return false;
        handOver(frame, false);
        return true;
    }
    const qint64 now = nowMs();
    const std::optional<ReplyLedger::Entry> answered = m_ledger.book(now);
    if (answered) {
        // The time the books say the timer took. When an earlier request was
        // dropped it is more than the truth, and the time-out errs long.
        const double scale = m_clock.scale();
        const auto nominal = [scale](qint64 realMs) {
            return static_cast<int>(std::min<double>(double(realMs) / scale, 1e9));
        };
        m_replyTimeout.replyObserved(nominal(now - answered->writtenMs),
                                     nominal(answered->timeoutMs));
    }
    if (attemptWaiting && answered && answered->request == m_request) {
        if (m_observer) m_observer->replyAccepted(frame);
        handOver(frame, true);
        return true;
    }
    if (m_observer)
        m_observer->replyRejected(frame,
                                  answered ? ReplyRejection::Late : ReplyRejection::Unrequested);
    ++stats.lateReplies;
    emit statsChanged();
    return false;
}

void Link::handOver(const QByteArray &frame, bool valid)
{
    m_trama_rx = frame;
    m_timeout.stop();
    trama_erro = !valid;
    rx_timeout = false;
    rx_pronto = true;
}

void Link::onReadyRead()
{
    if (!m_port.isOpen() || m_port.bytesWaiting() < kFrameLength) return;
    takeReply();
}

void Link::onTimeout()
{
    m_timeout.stop();
    if (!m_waiting || rx_pronto) return;
    // The reply may be complete in the buffer with its notification still
    // queued behind this timer: it is the reply, not a time-out.
    if (m_port.isOpen() && m_port.bytesWaiting() >= kFrameLength && takeReply()) return;
    // From here on a reply is late for this attempt, also while the message
    // below waits to be dismissed.
    m_waiting = false;
    if (m_observer) m_observer->replyTimedOut(m_replyTimeout.current());
    if (stats.to_erros < INT16_MAX) ++stats.to_erros;
    ++stats.timeoutsTotal;
    ++stats.timeoutsSinceAccepted;
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
    m_sleep.start(m_clock.toReal(ms));
    waitUntil([this] { return !m_sleep.isActive(); }, m_end);
}

void Link::waitMs(int ms)
{
    m_wait.start(m_clock.toReal(ms));
    waitUntil([this] { return !m_wait.isActive(); }, m_end);
}

} // namespace vx
