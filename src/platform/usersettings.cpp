#include "usersettings.h"

#include <QStandardPaths>

namespace vx {

QString userSettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vx308/vx308-maint.ini");
}

} // namespace vx
