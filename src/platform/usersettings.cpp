#include "usersettings.h"

#include <QSettings>
#include <QStandardPaths>

namespace vx {

UserSettings::UserSettings(QString file)
    : m_file(file.isEmpty()
                 ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                       QStringLiteral("/vx308/vx308-maint.ini")
                 : std::move(file))
{
}

QString UserSettings::value(const QString &key) const
{
    const QSettings settings(m_file, QSettings::IniFormat);
    return settings.value(key).toString();
}

bool UserSettings::store(const QList<QPair<QString, QString>> &values) const
{
    QSettings settings(m_file, QSettings::IniFormat);
    for (const auto &[key, text] : values) {
        if (text.isEmpty())
            settings.remove(key);
        else
            settings.setValue(key, text);
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace vx
