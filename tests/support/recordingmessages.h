#pragma once

#include "messages.h"

#include <vector>

namespace vx {

// Answers at once and keeps every message for the tests to look at.
class RecordingMessages : public MessageSink
{
public:
    void show(const QString &text, const QString &title, Icon icon) override
    {
        messages.push_back({text, title, icon});
    }
    QStringList texts() const
    {
        QStringList out;
        for (const auto &m : messages)
            out << m.text;
        return out;
    }
    void clear() { messages.clear(); }
    std::vector<Message> messages;
};

} // namespace vx
