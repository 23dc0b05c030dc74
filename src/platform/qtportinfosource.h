#pragma once

#include "portinfo.h"

namespace vx {

// The system's serial ports as Qt Serial Port finds them (udev on Linux: USB
// adapters, on-board ports, Bluetooth serial), sorted by path.
class QtPortInfoSource : public PortInfoSource
{
public:
    QList<PortInfo> ports() const override;
};

} // namespace vx
