#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

namespace vx::emu {

// One line per request the device received: when, the frame, and what it
// asked for in words, so a technician can follow the tool's conversation.
class RequestLog
{
public:
    // "cmd 1 index 31 value 1: ReadMemory address 31 (Text_contador), 1 byte"
    static QString describe(const QByteArray &frame);
    // The faults a request met, e.g. " [no reply, split]"; empty when none.
    static QString faultText(unsigned faults);
    static QString line(const QDateTime &when, const QByteArray &frame, unsigned faults);

    // "-" is standard output.
    bool open(const QString &path, QString *error);
    bool isOpen() const { return m_file.isOpen(); }
    void write(const QByteArray &frame, unsigned faults);

private:
    QFile m_file;
};

} // namespace vx::emu
