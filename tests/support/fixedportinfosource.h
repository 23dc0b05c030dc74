#pragma once

#include "portinfo.h"

namespace vx {

// A fixed list of ports, so that a test never depends on the ports of the
// machine it runs on.
class FixedPortInfoSource : public PortInfoSource
{
public:
    explicit FixedPortInfoSource(QList<PortInfo> ports = {}) : m_ports(std::move(ports)) {}
    QList<PortInfo> ports() const override { return m_ports; }
    void setPorts(QList<PortInfo> ports) { m_ports = std::move(ports); }

private:
    QList<PortInfo> m_ports;
};

} // namespace vx
