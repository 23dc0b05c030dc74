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
};

// Answers every question with the path it was given, and remembers the
// question.
class FixedFileDialogs : public FileDialogs
{
public:
    explicit FixedFileDialogs(QString answer = {}) : answer(std::move(answer)) {}
    QString saveFileName(const QString &caption, const QString &suggestion,
                         const QString &) override
    {
        lastCaption = caption;
        lastSuggestion = suggestion;
        return answer;
    }
    QString answer;
    QString lastCaption;
    QString lastSuggestion;
};

} // namespace vx
