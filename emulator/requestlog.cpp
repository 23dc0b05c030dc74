#include "requestlog.h"

#include "faults.h"
#include "frame.h"
#include "framemeaning.h"

#include <QStringList>
#include <cstdio>

namespace vx::emu {

QString RequestLog::describe(const QByteArray &frame)
{
    if (frame.size() < kFrameLength) return QStringLiteral("short frame");
    const RequestHeader h = requestHeader(frame);
    // The words are the traffic log's, read through the same field table, so
    // that the emulator and the tool say the same of every request.
    return QStringLiteral("cmd %1 index %2 value %3: %4")
        .arg(static_cast<int>(h.comando))
        .arg(h.indice)
        .arg(h.valor)
        .arg(frameMeaning(frame));
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
