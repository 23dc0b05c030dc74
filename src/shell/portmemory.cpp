#include "portmemory.h"

#include "usersettings.h"

#include <QSettings>

namespace vx {

namespace {

const QString kDeviceKey = QStringLiteral("port/device");
const QString kCommKey = QStringLiteral("port/comm");

} // namespace

PortMemory::PortMemory(QString file) : m_file(file.isEmpty() ? userSettingsFile() : std::move(file))
{
}

QString PortMemory::devicePath() const
{
    const QSettings settings(m_file, QSettings::IniFormat);
    return settings.value(kDeviceKey).toString();
}

bool PortMemory::rememberDevice(const QString &path)
{
    return store(path, 0);
}

bool PortMemory::rememberComm(int n)
{
    return store({}, n);
}

bool PortMemory::store(const QString &device, int comm)
{
    QSettings settings(m_file, QSettings::IniFormat);
    if (device.isEmpty())
        settings.remove(kDeviceKey);
    else
        settings.setValue(kDeviceKey, device);
    if (comm > 0)
        settings.setValue(kCommKey, comm);
    else
        settings.remove(kCommKey);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace vx
