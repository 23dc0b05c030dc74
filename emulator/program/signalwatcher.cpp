#include "signalwatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// One watcher per process: the pipe is what the handler can reach.
int g_pipe[2] = {-1, -1};

extern "C" void onSignal(int sig)
{
    const int saved = errno;
    const unsigned char b = static_cast<unsigned char>(sig);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &b, 1);
    errno = saved;
}

} // namespace

SignalWatcher::SignalWatcher(std::initializer_list<int> signals_, QObject *parent) : QObject(parent)
{
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::drain);
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : signals_) {
        ::sigaction(s, &sa, nullptr);
        m_signals.push_back(s);
    }
}

SignalWatcher::~SignalWatcher()
{
    if (!m_notifier) return;
    for (int s : m_signals)
        ::signal(s, SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void SignalWatcher::drain()
{
    unsigned char b = 0;
    while (::read(g_pipe[0], &b, 1) == 1)
        emit caught(b);
}
