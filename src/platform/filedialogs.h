#pragma once

#include <QString>

namespace vx {

// Asking the user for a file, behind an interface so that tests answer for
// the user. The real one shows the system's file dialog (dialogs/).
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // The file to save to, or empty when the user cancelled.
    virtual QString saveFileName(const QString &caption, const QString &suggestion,
                                 const QString &filter) = 0;
    // An existing file to open, or empty when the user cancelled.
    virtual QString openFileName(const QString &caption, const QString &filter) = 0;
};

} // namespace vx
