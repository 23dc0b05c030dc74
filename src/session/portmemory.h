#pragma once

#include "usersettings.h"

#include <QString>

namespace vx {

// The port the technician chose last, per user, in the user's configuration
// folder (~/.config/vx308/vx308-maint.ini on Linux), so that a laptop shared
// by two technicians, or started from any folder, finds each one's adapter
// again. "Com N" is still stored in the settings database as well; a device
// path (a USB adapter) is stored only here.
class PortMemory
{
public:
    // `file` empty: the user's configuration folder.
    explicit PortMemory(QString file = {});

    QString file() const { return m_settings.file(); }
    // The device path chosen last; empty when the last choice was "Com N" or
    // nothing was ever chosen.
    QString devicePath() const;
    // False when file() could not be written.
    bool rememberDevice(const QString &path);
    bool rememberComm(int n);

private:
    UserSettings m_settings;
};

} // namespace vx
