#pragma once

#include "clock.h"
#include "editset.h"
#include "emulatedport.h"
#include "engine.h"
#include "link.h"
#include "messages.h"
#include "programend.h"

#include <QList>
#include <functional>

// A whole tool on the bench: engine, link and edit set wired to an emulated
// timer inside the process, with recorded messages and a clock that stands
// still. Link intervals are shrunk so the tests never wait for seconds.
struct Bancada
{
    Bancada();

    vx::emu::EmulatedPort porta;
    vx::RecordingMessages mensagens;
    vx::FixedClock relogio;
    vx::RecordingEnd fim;
    vx::EditSet edit{mensagens};
    vx::Link link{porta, mensagens, &fim};
    vx::Engine motor{edit, link, relogio, mensagens, fim};

    vx::emu::Device &device() { return porta.device(); }

    // Request frames the device received since the last call (or start).
    QList<QByteArray> pedidos();
    // Runs the event loop until cond() holds; false after `ms` of real time.
    static bool esperar(const std::function<bool()> &cond, int ms = 20000);
    // "Lêr" and wait for the full read to end.
    bool lerTudo();
};

// Pretty command/index/value of a request frame.
QString descrever(const QByteArray &pedido);
