#include "ptyserver.h"

#include "clock.h"
#include "frame.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/timerfd.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace vx::emu {

namespace {

// While nobody holds the terminal open, a read of the master side fails at
// once; look again after this long instead of spinning on it.
constexpr int kRetryReadMs = 100;
// Answers nobody reads are dropped past this much, rather than piling up.
constexpr qsizetype kMaxPendingOutput = 64 * 1024;

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

qint64 monotonicNs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

} // namespace

PtyServer::PtyServer(const Clock &clock, QObject *parent)
    : QObject(parent), m_clock(clock), m_responder(m_device, m_faults, clock)
{
    m_responder.onRequest = [this](const QByteArray &frame, unsigned faults) {
        if (m_writesBeforeGone > 0 && requestHeader(frame).comando == Command::WriteMemory &&
            --m_writesBeforeGone == 0)
            m_pullOutNow = true;
        emit requestReceived(frame, faults);
    };
    m_retryRead.setSingleShot(true);
    connect(&m_retryRead, &QTimer::timeout, this, [this] {
        if (m_readNotifier) m_readNotifier->setEnabled(true);
    });
    m_goneTimer.setSingleShot(true);
    m_goneTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_goneTimer, &QTimer::timeout, this, [this] { setGone(0); });
}

PtyServer::~PtyServer()
{
    stop();
}

bool PtyServer::start(const QString &linkPath)
{
    stop();
    m_error.clear();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        m_error = systemError("posix_openpt");
        return false;
    }
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    char name[128] = {};
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0) {
        m_error = systemError("pseudo-terminal set-up");
        stop();
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);

    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        m_error = systemError("open terminal");
        stop();
        return false;
    }
    // Raw bytes both ways, no echo, no line editing: what a serial line gives.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B19200);
        ::cfsetospeed(&tio, B19200);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }

    m_timerFd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_timerFd < 0) {
        m_error = systemError("timerfd_create");
        stop();
        return false;
    }

    m_linkPath = linkPath;
    if (!m_linkPath.isEmpty() && !makeLink()) {
        const QString error = m_error;
        m_linkPath.clear();
        stop();
        m_error = error;
        return false;
    }

    m_responder.powerOn(monotonicNs() / 1000);
    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyServer::readMaster);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyServer::flush);
    m_timerNotifier = new QSocketNotifier(m_timerFd, QSocketNotifier::Read, this);
    connect(m_timerNotifier, &QSocketNotifier::activated, this, &PtyServer::timerFired);
    return true;
}

void PtyServer::stop()
{
    ++m_session;
    m_retryRead.stop();
    m_goneTimer.stop();
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    delete m_timerNotifier;
    m_timerNotifier = nullptr;
    if (m_timerFd >= 0) ::close(m_timerFd);
    m_timerFd = -1;
    m_pending.clear();
    removeLink();
    m_linkPath.clear();
    if (m_slave >= 0) ::close(m_slave);
    if (m_master >= 0) ::close(m_master);
    m_slave = m_master = -1;
    m_out.clear();
    m_responder.reset();
    if (m_gone) {
        m_gone = false;
        emit goneChanged(false);
    }
}

bool PtyServer::makeLink()
{
    const QByteArray link = QFile::encodeName(m_linkPath);
    const QFileInfo info(m_linkPath);
    if (info.isSymLink()) {
        ::unlink(link.constData());
    } else if (info.exists()) {
        m_error = QStringLiteral("%1 exists and is not a symbolic link; it is left alone")
                      .arg(m_linkPath);
        return false;
    }
    if (::symlink(QFile::encodeName(m_slavePath).constData(), link.constData()) != 0) {
        m_error = systemError("symlink") + QStringLiteral(" (%1)").arg(m_linkPath);
        return false;
    }
    return true;
}

void PtyServer::removeLink()
{
    if (m_linkPath.isEmpty()) return;
    // Only our own link: another emulator may have taken the name since.
    const QFileInfo info(m_linkPath);
    if (info.isSymLink() && info.symLinkTarget() == m_slavePath)
        ::unlink(QFile::encodeName(m_linkPath).constData());
}

void PtyServer::setGone(int ms)
{
    m_goneTimer.stop();
    if (ms == 0) {
        if (!m_gone) return;
        m_gone = false;
        if (!m_linkPath.isEmpty() && isRunning()) makeLink();
        emit goneChanged(false);
        return;
    }
    if (!m_gone) {
        m_gone = true;
        ++m_session;
        m_out.clear();
        m_responder.reset();
        removeLink();
        emit goneChanged(true);
    }
    if (ms > 0) m_goneTimer.start(m_clock.toReal(ms));
}

void PtyServer::setGoneAtWrite(int n, int ms)
{
    m_writesBeforeGone = n;
    m_goneAtWriteMs = ms;
}

void PtyServer::readMaster()
{
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            if (m_gone) continue;
            const qint64 now = monotonicNs();
            for (Delivery &d : m_responder.receive(QByteArray(buf, n), now / 1000))
                schedule(now + m_responder.realUs(d.atUs) * 1000, std::move(d.bytes));
            // After the answers are scheduled, so that they are lost with the
            // session, and outside the responder, which the pull-out resets.
            if (m_pullOutNow) {
                m_pullOutNow = false;
                setGone(m_goneAtWriteMs);
            }
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        // End of file or EIO: nobody holds the terminal. Look again later.
        m_readNotifier->setEnabled(false);
        m_retryRead.start(kRetryReadMs);
        return;
    }
}

void PtyServer::schedule(qint64 dueNs, QByteArray bytes)
{
    // Kept in order of time; equal times keep the order they were made in.
    auto at = std::upper_bound(m_pending.begin(), m_pending.end(), dueNs,
                               [](qint64 due, const Pending &p) { return due < p.dueNs; });
    m_pending.insert(at, Pending{dueNs, m_session, std::move(bytes)});
    armTimer();
}

void PtyServer::armTimer()
{
    itimerspec assignment{};
    if (!m_pending.empty()) {
        // An absolute time of zero would disarm the timer; the past fires at once.
        const qint64 due = std::max<qint64>(m_pending.front().dueNs, 1);
        assignment.it_value.tv_sec = due / 1000000000;
        assignment.it_value.tv_nsec = due % 1000000000;
    }
    ::timerfd_settime(m_timerFd, TFD_TIMER_ABSTIME, &assignment, nullptr);
}

void PtyServer::timerFired()
{
    uint64_t expirations = 0;
    [[maybe_unused]] const ssize_t n = ::read(m_timerFd, &expirations, sizeof expirations);
    const qint64 now = monotonicNs();
    while (!m_pending.empty() && m_pending.front().dueNs <= now) {
        const Pending p = std::move(m_pending.front());
        m_pending.pop_front();
        send(p.session, p.bytes);
    }
    armTimer();
}

void PtyServer::send(quint64 session, const QByteArray &bytes)
{
    if (session != m_session || m_gone || !isRunning()) return;
    if (m_out.size() + bytes.size() > kMaxPendingOutput) return;
    m_out += bytes;
    flush();
}

void PtyServer::flush()
{
    while (!m_out.isEmpty()) {
        const ssize_t n = ::write(m_master, m_out.constData(), static_cast<size_t>(m_out.size()));
        if (n > 0) {
            m_out.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            m_writeNotifier->setEnabled(true);
            return;
        }
        m_out.clear();
    }
    if (m_writeNotifier) m_writeNotifier->setEnabled(false);
}

} // namespace vx::emu
