#pragma once

#include <QFile>
#include <QString>

namespace vx {

// The file a traffic log is written to, one line at a time. Each line is
// handed to the system as it comes, so the file is complete however the
// program ends; at 19200 bit/s that is a few dozen small writes a second.
class TraceFile
{
public:
    // Creates or empties the file. False, with a message that names the file
    // and what to do, when it cannot be written.
    bool open(const QString &path, QString *error);
    void write(const QString &line);
    bool isOpen() const { return m_file.isOpen(); }

private:
    QFile m_file;
};

} // namespace vx
