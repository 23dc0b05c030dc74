#include "bancada.h"

#include "eventwait.h"
#include "frame.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

Bancada::Bancada()
{
    vx::Timebase::setScale(0.02);
    device().loadDefaultMemory();
    motor.setTituloBase(QStringLiteral("Manutenção VX308 v3.5"));
}

QList<QByteArray> Bancada::pedidos()
{
    // What the PC put on the line: "$" and then the frame, one write per
    // character.
    QByteArray linha;
    for (const QByteArray &w : porta.writes())
        linha += w;
    porta.clearWrites();
    QList<QByteArray> out;
    for (const QByteArray &f : linha.split('$'))
        if (!f.isEmpty()) out << f;
    return out;
}

bool Bancada::esperar(const std::function<bool()> &cond, int ms)
{
    QElapsedTimer t;
    t.start();
    // A slow heartbeat so the time limit is noticed even when nothing else
    // happens; the loop sleeps between events.
    QTimer batida;
    batida.start(20);
    while (!cond()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool Bancada::lerTudo()
{
    bool lido = false;
    auto c = QObject::connect(&motor, &vx::Engine::leituraTerminada, [&] { lido = true; });
    motor.Command_ler_Click();
    const bool ok = esperar([&] { return lido; });
    QObject::disconnect(c);
    return ok;
}

QString descrever(const QByteArray &p)
{
    if (p.size() < 29) return QString::fromLatin1(p);
    auto byte = [&](int pos) {
        return vx::hex_nibble(p.at(pos)) + 16 * vx::hex_nibble(p.at(pos + 1));
    };
    return QStringLiteral("%1,%2,%3").arg(byte(8)).arg(byte(10)).arg(byte(12));
}
