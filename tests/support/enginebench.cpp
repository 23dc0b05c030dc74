#include "enginebench.h"

#include "frame.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

EngineBench::EngineBench()
{
    device().loadDefaultMemory();
    engine.setBaseTitle(QStringLiteral("Manutenção VX308 v3.5"));
}

QList<QByteArray> EngineBench::requests()
{
    // What the PC put on the line: "$" and then the frame, one write per
    // character.
    QByteArray row;
    for (const QByteArray &w : port.writes())
        row += w;
    port.clearWrites();
    QList<QByteArray> out;
    for (const QByteArray &f : row.split('$'))
        if (!f.isEmpty()) out << f;
    return out;
}

bool EngineBench::waitFor(const std::function<bool()> &cond, int ms)
{
    QElapsedTimer t;
    t.start();
    // A slow heartbeat so the time limit is noticed even when nothing else
    // happens; the loop sleeps between events.
    QTimer beat;
    beat.start(20);
    while (!cond()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool EngineBench::readAll()
{
    bool readDone = false;
    auto c = QObject::connect(&engine, &vx::Engine::readFinished, [&] { readDone = true; });
    engine.Command_ler_Click();
    const bool ok = waitFor([&] { return readDone; });
    QObject::disconnect(c);
    return ok;
}

QString sentMoreThanReads(const vx::emu::Device &d)
{
    using vx::Command;
    for (const Command c : {Command::WriteMemory, Command::Impulses, Command::SetClock})
        if (d.count(c) > 0) return QStringLiteral("command %1").arg(int(c));
    for (const vx::emu::Device::Request &r : d.history())
        if (r.command == Command::Display && r.value != vx::emu::Device::kBlank &&
            r.value != vx::emu::Device::kCursorMark)
            return QStringLiteral("display code %1").arg(r.value);
    return d.impulses() == 0 ? QString() : QStringLiteral("%1 impulses").arg(d.impulses());
}

QString describe(const QByteArray &p)
{
    if (p.size() < 29) return QString::fromLatin1(p);
    auto byte = [&](int pos) {
        return vx::hex_nibble(p.at(pos)) + 16 * vx::hex_nibble(p.at(pos + 1));
    };
    return QStringLiteral("%1,%2,%3").arg(byte(8)).arg(byte(10)).arg(byte(12));
}
