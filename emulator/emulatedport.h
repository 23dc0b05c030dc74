#pragma once

#include "device.h"
#include "faults.h"
#include "responder.h"
#include "serialport.h"

#include <QElapsedTimer>
#include <QList>
#include <QSet>
#include <QTimer>

namespace vx {
class Clock;
}

namespace vx::emu {

// The serial port with a VX308 on the other end, inside the process.
//
// What the PC writes goes straight to the device; its answers land in the
// receive buffer later, from timers, as they would from a line: after the
// delay, pacing and splitting asked for in faults(), all at the pace of the
// clock it is given. Answers due after the port was closed, or while the
// adapter is gone, are lost like bytes on a dead line.
class EmulatedPort : public SerialPort
{
    Q_OBJECT
public:
    explicit EmulatedPort(const Clock &clock, QObject *parent = nullptr);

    Device &device() { return m_device; }
    Faults &faults() { return m_faults; }
    const Responder &responder() const { return m_responder; }

    bool setPortNumber(int n) override;
    int portNumber() const override { return m_number; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray &data) override;
    qint64 bytesWaiting() const override { return m_rx.size(); }
    QByteArray readAll() override;
    void discardInput() override { m_rx.clear(); }
    QString errorText() const override { return m_error; }

    // A port number with nothing behind it: it can be chosen, not opened.
    void setMissing(int n, bool missing = true);
    // The adapter is pulled out for `ms` nominal milliseconds (negative: until
    // setGone(0)). Meanwhile opens fail, writes are refused and answers on
    // their way are lost; a port that was open works again afterwards.
    void setGone(int ms);
    bool isGone() const { return m_gone; }

    int opens() const { return m_opens; }
    int failedOpens() const { return m_failedOpens; }
    int closes() const { return m_closes; }
    // Every write() call, in order, each as it was passed.
    const QList<QByteArray> &writes() const { return m_writes; }
    void clearWrites() { m_writes.clear(); }

signals:
    // Bytes just put into the receive buffer.
    void delivered(const QByteArray &bytes);

private:
    void deliver(quint64 session, const QByteArray &bytes);

    const Clock &m_clock;
    Device m_device;
    Faults m_faults;
    Responder m_responder;
    QTimer m_goneTimer;
    // Since the port was made: the responder's clock for pacing and for the
    // silent start.
    QElapsedTimer m_started;
    QSet<int> m_missing;
    QByteArray m_rx;
    QList<QByteArray> m_writes;
    QString m_error;
    // Answers carry the session they were made in; closing the port or
    // pulling the adapter starts a new one.
    quint64 m_session = 0;
    int m_number = 1;
    int m_opens = 0;
    int m_failedOpens = 0;
    int m_closes = 0;
    bool m_open = false;
    bool m_gone = false;
};

} // namespace vx::emu
