#include "requestlog.h"

#include "faults.h"
#include "frame.h"

#include <QStringList>
#include <algorithm>
#include <cstdio>

namespace vx::emu {

namespace {

QString dataBytes(const QByteArray &frame, int count)
{
    QStringList b;
    for (int k = 0; k < count; ++k)
        b << QStringLiteral("%1").arg(dataByte(frame, k), 2, 16, QLatin1Char('0')).toUpper();
    return b.join(QLatin1Char(' '));
}

QString displayCode(uint8_t code)
{
    if (code <= 9) return QStringLiteral("digit %1").arg(code);
    if (code == 12) return QStringLiteral("blank");
    if (code == 13) return QStringLiteral("cursor mark");
    if (code >= 32 && code < 127)
        return QStringLiteral("'%1'").arg(QLatin1Char(static_cast<char>(code)));
    return QStringLiteral("code %1").arg(code);
}

} // namespace

QString RequestLog::describe(const QByteArray &frame)
{
    if (frame.size() < kFrameLength) return QStringLiteral("short frame");
    const RequestHeader h = requestHeader(frame);
    const uint8_t index = h.indice;
    const uint8_t value = h.valor;
    const int count = std::min<int>(value, 6);
    QString what;
    switch (h.comando) {
    case Command::End:
        what = QStringLiteral("end of connection");
        break;
    case Command::ReadMemory:
        what = QStringLiteral("read memory %1, %2 byte(s)").arg(index).arg(value);
        break;
    case Command::WriteMemory:
        what = QStringLiteral("write memory %1, %2 byte(s): %3")
                   .arg(index)
                   .arg(value)
                   .arg(dataBytes(frame, count));
        break;
    case Command::ReadInputs:
        what = QStringLiteral("read inputs");
        break;
    case Command::Impulses:
        what = QStringLiteral("%1 impulse(s)").arg(value);
        break;
    case Command::SetClock:
        what = QStringLiteral("set clock to %1-%2-%3 %4:%5:%6 weekday %7")
                   .arg(2000 + dataByte(frame, 5))
                   .arg(dataByte(frame, 4), 2, 10, QLatin1Char('0'))
                   .arg(dataByte(frame, 3), 2, 10, QLatin1Char('0'))
                   .arg(dataByte(frame, 1), 2, 10, QLatin1Char('0'))
                   .arg(dataByte(frame, 0), 2, 10, QLatin1Char('0'))
                   .arg(index, 2, 10, QLatin1Char('0'))
                   .arg(dataByte(frame, 2));
        break;
    case Command::ReadBattery:
        what = QStringLiteral("read battery");
        break;
    case Command::ReadIButton:
        what = QStringLiteral("read iButton reader");
        break;
    case Command::ReadClock:
        what = QStringLiteral("read clock");
        break;
    case Command::Display:
        what = QStringLiteral("display position %1: %2").arg(index).arg(displayCode(value));
        break;
    default:
        what = QStringLiteral("unknown command");
        break;
    }
    return QStringLiteral("cmd %1 index %2 value %3: %4")
        .arg(static_cast<int>(h.comando))
        .arg(index)
        .arg(value)
        .arg(what);
}

QString RequestLog::faultText(unsigned faults)
{
    QStringList f;
    if (faults & Fault::NoReply) f << QStringLiteral("no reply");
    if (faults & Fault::BadChecksum) f << QStringLiteral("bad checksum");
    if (faults & Fault::Split) f << QStringLiteral("split");
    if (faults & Fault::ExtraBytes) f << QStringLiteral("extra bytes");
    if (faults & Fault::GarbagePrefix) f << QStringLiteral("noise before");
    return f.isEmpty() ? QString() : QStringLiteral(" [") + f.join(QStringLiteral(", ")) + ']';
}

QString RequestLog::line(const QDateTime &when, const QByteArray &frame, unsigned faults)
{
    return when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")) + QStringLiteral("  ") +
           QString::fromLatin1(frame.left(kFrameLength)) + QStringLiteral("  ") + describe(frame) +
           faultText(faults);
}

bool RequestLog::open(const QString &path, QString *error)
{
    bool ok = false;
    if (path == QStringLiteral("-")) {
        ok = m_file.open(stdout, QIODevice::WriteOnly | QIODevice::Text);
    } else {
        m_file.setFileName(path);
        ok = m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    }
    if (!ok && error) *error = QStringLiteral("%1: %2").arg(path, m_file.errorString());
    return ok;
}

void RequestLog::write(const QByteArray &frame, unsigned faults)
{
    if (!m_file.isOpen()) return;
    m_file.write((line(QDateTime::currentDateTime(), frame, faults) + QLatin1Char('\n')).toUtf8());
    m_file.flush();
}

} // namespace vx::emu
