#pragma once

#include "filedialogs.h"

namespace vx {

// The system's file dialog, over the active window.
class QtFileDialogs : public FileDialogs
{
public:
    QString saveFileName(const QString &caption, const QString &suggestion,
                         const QString &filter) override;
    QString openFileName(const QString &caption, const QString &filter) override;
};

} // namespace vx
