#include "portmemory.h"

#include "usersettings.h"

namespace vx {

namespace {

const QString kDeviceKey = QStringLiteral("port/device");
const QString kCommKey = QStringLiteral("port/comm");

} // namespace

PortMemory::PortMemory(QString file) : m_settings(std::move(file)) {}

QString PortMemory::devicePath() const
{
    return m_settings.value(kDeviceKey);
}

bool PortMemory::rememberDevice(const QString &path)
{
    return m_settings.store({{kDeviceKey, path}, {kCommKey, QString()}});
}

bool PortMemory::rememberComm(int n)
{
    return m_settings.store({{kDeviceKey, QString()}, {kCommKey, QString::number(n)}});
}

} // namespace vx
