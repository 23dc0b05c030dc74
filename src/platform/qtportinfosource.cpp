#include "qtportinfosource.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace vx {

QList<PortInfo> QtPortInfoSource::ports() const
{
    QList<PortInfo> list;
    const auto available = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &i : available)
        list.append({i.systemLocation(), i.description(), i.manufacturer(), i.serialNumber()});
    std::sort(list.begin(), list.end(),
              [](const PortInfo &a, const PortInfo &b) { return a.path < b.path; });
    return list;
}

} // namespace vx
