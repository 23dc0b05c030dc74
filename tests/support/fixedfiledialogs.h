#pragma once

#include "filedialogs.h"

namespace vx {

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
    QString openFileName(const QString &caption, const QString &) override
    {
        lastCaption = caption;
        lastSuggestion.clear();
        return answer;
    }
    QString answer;
    QString lastCaption;
    QString lastSuggestion;
};

} // namespace vx
