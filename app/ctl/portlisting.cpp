#include "portlisting.h"

#include "portprobe.h"
#include "qtserialport.h"
#include "text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace vx;

QList<PortListing::Entry> PortListing::collect(const QList<PortInfo> &ports, bool probe,
                                               int timeoutMs, const Clock &clock)
{
    QList<Entry> entries;
    for (const PortInfo &info : ports) {
        Entry e{info, probe, false, {}};
        if (probe) {
            QtSerialPort port;
            port.setDevicePath(info.path);
            PortProbe p(port, clock);
            p.setTimeoutMs(timeoutMs);
            e.answers = p.probe() == PortProbe::Outcome::Answered;
            e.detail = p.detail();
        }
        entries << e;
    }
    return entries;
}

QString PortListing::text(const QList<Entry> &entries, bool probed)
{
    if (entries.isEmpty())
        return QStringLiteral("no serial ports found; plug in the adapter, or check that this "
                              "user may open serial ports (the dialout group)\n");
    const auto orDash = [](const QString &s) { return s.isEmpty() ? QStringLiteral("-") : s; };
    QString out = QStringLiteral("%1 %2 %3 %4")
                      .arg(QStringLiteral("PATH"), -20)
                      .arg(QStringLiteral("DESCRIPTION"), -28)
                      .arg(QStringLiteral("MAKER"), -20)
                      .arg(QStringLiteral("SERIAL"), -16);
    if (probed) out += QStringLiteral(" TIMER");
    out = out.trimmed() + QLatin1Char('\n');
    for (const Entry &e : entries) {
        QString line = QStringLiteral("%1 %2 %3 %4")
                           .arg(printableText(e.info.path), -20)
                           .arg(printableText(orDash(e.info.description)), -28)
                           .arg(printableText(orDash(e.info.manufacturer)), -20)
                           .arg(printableText(orDash(e.info.serialNumber)), -16);
        if (probed)
            line += e.answers ? QStringLiteral(" VX308 answers") : QStringLiteral(" no answer");
        out += line.trimmed() + QLatin1Char('\n');
    }
    return out;
}

QString PortListing::json(const QList<Entry> &entries, bool probed)
{
    QJsonArray array;
    for (const Entry &e : entries) {
        QJsonObject o{{QStringLiteral("path"), e.info.path},
                      {QStringLiteral("description"), e.info.description},
                      {QStringLiteral("manufacturer"), e.info.manufacturer},
                      {QStringLiteral("serialNumber"), e.info.serialNumber}};
        if (probed) {
            o.insert(QStringLiteral("timer"), e.answers);
            o.insert(QStringLiteral("probe"), e.detail);
        }
        array.append(o);
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}
