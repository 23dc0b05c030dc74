#pragma once

#include "device.h"
#include "faults.h"
#include "responder.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>

class QSocketNotifier;

namespace vx {
class Clock;
}

namespace vx::emu {

// A VX308 behind a pseudo-terminal, for programs that open a real serial
// device path: the maintenance tool, vx308-emulator, the link bench.
//
// start() creates the terminal pair and, when given a path, a symbolic link to
// the terminal's device so the tool can be pointed at a fixed name. Requests
// are read as they come (QSocketNotifier), answered by the Device with the
// faults and timing of faults(), and written back when due: nothing here
// polls or spins. Answers are timed with a timerfd, to the microsecond, so a
// paced answer takes the wire time of a 19200 bit/s line and not the next
// whole millisecond. The faults' times are nominal: the clock it is given
// says how long they take.
//
// The server keeps a descriptor of the terminal's own side open for its whole
// life. Without it the kernel hangs up the line each time the tool closes the
// port, and the master side reports errors until the tool opens it again.
class PtyServer : public QObject
{
    Q_OBJECT
public:
    explicit PtyServer(const Clock &clock, QObject *parent = nullptr);
    ~PtyServer() override;

    // False, with errorText(), when the terminal cannot be made or the link
    // path is taken by something that is not a symbolic link.
    bool start(const QString &linkPath = {});
    // Closes the terminal and removes the link (if it is still ours).
    void stop();
    bool isRunning() const { return m_master >= 0; }

    // The terminal device (/dev/pts/N) and the link to it.
    QString slavePath() const { return m_slavePath; }
    QString linkPath() const { return m_linkPath; }
    QString errorText() const { return m_error; }

    Device &device() { return m_device; }
    Faults &faults() { return m_faults; }
    const Responder &responder() const { return m_responder; }

    // The adapter is pulled out for `ms` nominal milliseconds (negative: until
    // setGone(0)): the link disappears so the port cannot be opened, requests
    // are swallowed and answers on their way are lost.
    void setGone(int ms);
    bool isGone() const { return m_gone; }
    // The adapter is pulled out, as setGone(ms), the moment the `n`-th memory
    // write from now arrives: the device takes that write, its answer is
    // lost. A cut at a given point of a pass, whatever the pace of the line
    // and the machine.
    void setGoneAtWrite(int n, int ms);

signals:
    // Every valid request read from the line, with the faults it met.
    void requestReceived(const QByteArray &frame, unsigned faults);
    void goneChanged(bool gone);

private:
    struct Pending
    {
        qint64 dueNs;
        quint64 session;
        QByteArray bytes;
    };

    void readMaster();
    void schedule(qint64 dueNs, QByteArray bytes);
    void armTimer();
    void timerFired();
    void send(quint64 session, const QByteArray &bytes);
    void flush();
    bool makeLink();
    void removeLink();

    const Clock &m_clock;
    Device m_device;
    Faults m_faults;
    Responder m_responder;
    int m_master = -1;
    int m_slave = -1;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    int m_timerFd = -1;
    QSocketNotifier *m_timerNotifier = nullptr;
    std::deque<Pending> m_pending;
    QTimer m_retryRead;
    QTimer m_goneTimer;
    QByteArray m_out;
    QString m_slavePath;
    QString m_linkPath;
    QString m_error;
    quint64 m_session = 0;
    bool m_gone = false;
    // Writes still to come before the pull-out of setGoneAtWrite (0: none),
    // and for how long then.
    int m_writesBeforeGone = 0;
    int m_goneAtWriteMs = 0;
    bool m_pullOutNow = false;
};

} // namespace vx::emu
