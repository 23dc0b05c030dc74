#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace vx {

// What is kept per user (the port chosen last, the records), in one file
// read by the window and vx308ctl alike: ~/.config/vx308/vx308-maint.ini on
// Linux, one per user, whatever folder a program is started from.
class UserSettings
{
public:
    // `file` empty: the user's configuration folder.
    explicit UserSettings(QString file = {});

    QString file() const { return m_file; }
    // The text kept under `key` ("port/device"); empty when none is.
    QString value(const QString &key) const;
    // Keeps each value under its key, an empty one removing the key, in one
    // write. False when the file could not be written.
    bool store(const QList<QPair<QString, QString>> &values) const;

private:
    QString m_file;
};

} // namespace vx
