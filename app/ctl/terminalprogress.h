#pragma once

#include <QString>
#include <cstdio>

// A progress bar on a terminal: "[#######.......] 12/33 reading", redrawn in
// place with a carriage return. Drawn only when the stream is a terminal, so
// that a log file or a pipe gets clean lines and no control characters.
class TerminalProgress
{
public:
    // `enabled` false draws nothing; see forStderr().
    TerminalProgress(std::FILE *stream, bool enabled) : m_stream(stream), m_enabled(enabled) {}
    // Enabled when standard error is a terminal.
    static TerminalProgress forStderr();

    bool enabled() const { return m_enabled; }
    void show(const QString &what, int done, int total);
    // Ends the bar's line, so that what follows starts on a line of its own.
    void finish();
    // The bar's text without the carriage return.
    static QString line(const QString &what, int done, int total, int width = 30);

private:
    std::FILE *m_stream;
    bool m_enabled;
    bool m_drawn = false;
};
