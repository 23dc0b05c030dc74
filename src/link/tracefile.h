#pragma once

#include <QString>

namespace vx {

// The file a traffic log is written to, one line at a time. Each line is
// handed to the system as it comes, so the file is complete however the
// program ends; at 19200 bit/s that is a few dozen small writes a second.
// Only a regular file (new or existing) is taken: a trace given the name of
// a serial port or a FIFO would write into the line or wait for ever.
class TraceFile
{
public:
    TraceFile() = default;
    TraceFile(const TraceFile &) = delete;
    TraceFile &operator=(const TraceFile &) = delete;
    ~TraceFile();

    // Creates or empties the file and writes the log's header line
    // (TrafficTrace::headerLine()). False, with a message that names the
    // file and what to do, when it cannot be written. Messages, then and later,
    // in `idioma` (0 Portuguese, 1 English).
    bool open(const QString &path, QString *error, int idioma = 1);
    // False once a line could not be written whole (a full disk): then
    // errorText() says so, naming the file, and nothing more is written.
    bool write(const QString &line);
    bool isOpen() const { return m_fd >= 0; }
    QString errorText() const { return m_error; }

private:
    int m_fd = -1;
    QString m_path;
    QString m_error;
    int m_idioma = 1;
};

} // namespace vx
