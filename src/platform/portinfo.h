#pragma once

#include <QList>
#include <QString>

namespace vx {

// One serial port the system has, as the technician recognises it: the device
// path to open and what the adapter says of itself.
struct PortInfo
{
    QString path; // what the port is opened by: /dev/ttyUSB0, COM3
    QString description;
    QString manufacturer;
    QString serialNumber;
};

// The serial ports the system has now. The real one asks the operating
// system; tests hand in a fixed list, so that they never depend on the ports
// of the machine they run on.
class PortInfoSource
{
public:
    virtual ~PortInfoSource() = default;
    virtual QList<PortInfo> ports() const = 0;
};

} // namespace vx
