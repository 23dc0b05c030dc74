#pragma once

#include "portinfo.h"

#include <QList>
#include <QString>

namespace vx {
class Clock;
}

// `vx308ctl ports`: the system's serial ports, as a table or a JSON array,
// with --probe each asked once, harmlessly, whether a VX308 answers on it.
class PortListing
{
public:
    struct Entry
    {
        vx::PortInfo info;
        bool probed = false;
        bool answers = false;
        QString detail; // why the probe ended as it did
    };

    static QList<Entry> collect(const QList<vx::PortInfo> &ports, bool probe, int timeoutMs,
                                const vx::Clock &clock);
    static QString text(const QList<Entry> &entries, bool probed);
    static QString json(const QList<Entry> &entries, bool probed);
};
