#include "driverwarningfilter.h"

#include <QThread>
#include <atomic>
#include <cstring>

namespace vx {

namespace {

// Set by the outermost filter; read by the handler on whatever thread logs.
std::atomic<QThread *> g_filteredThread{nullptr};
QtMessageHandler g_previous = nullptr;
std::atomic<int> g_depth{0}; // only the filtered thread changes it

bool fromDriver(QtMsgType type, const QMessageLogContext &context)
{
    if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg) return false;
    if (QThread::currentThread() != g_filteredThread.load()) return false;
    return !context.category || std::strcmp(context.category, "default") == 0;
}

void filterMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (fromDriver(type, context)) return;
    if (g_previous) g_previous(type, context, text);
}

} // namespace

DriverWarningFilter::DriverWarningFilter()
{
    // Another thread's databases run unfiltered rather than race this one's.
    QThread *const here = QThread::currentThread();
    QThread *expected = nullptr;
    if (g_filteredThread.load() != here &&
        !g_filteredThread.compare_exchange_strong(expected, here))
        return;
    m_active = true;
    if (g_depth++ == 0) g_previous = qInstallMessageHandler(filterMessage);
}

DriverWarningFilter::~DriverWarningFilter()
{
    if (!m_active || --g_depth > 0) return;
    qInstallMessageHandler(g_previous);
    g_previous = nullptr;
    g_filteredThread.store(nullptr);
}

} // namespace vx
