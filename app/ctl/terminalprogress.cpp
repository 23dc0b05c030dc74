#include "terminalprogress.h"

#include <algorithm>
#include <unistd.h>

TerminalProgress TerminalProgress::forStderr()
{
    return TerminalProgress(stderr, ::isatty(STDERR_FILENO) == 1);
}

QString TerminalProgress::line(const QString &what, int done, int total, int width)
{
    const int shown = std::clamp(done, 0, std::max(total, 0));
    const int filled = total > 0 ? shown * width / total : 0;
    return QStringLiteral("[%1%2] %3/%4 %5")
        .arg(QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char('.')))
        .arg(shown)
        .arg(total)
        .arg(what);
}

void TerminalProgress::show(const QString &what, int done, int total)
{
    if (!m_enabled) return;
    // The trailing blanks wipe what a longer line left behind.
    std::fprintf(m_stream, "\r%s   ", qPrintable(line(what, done, total)));
    std::fflush(m_stream);
    m_drawn = true;
}

void TerminalProgress::finish()
{
    if (!m_enabled || !m_drawn) return;
    std::fputc('\n', m_stream);
    std::fflush(m_stream);
    m_drawn = false;
}
