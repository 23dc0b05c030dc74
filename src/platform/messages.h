#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace vx {

// Modal message boxes with an OK button. The real sink blocks in a nested
// event loop until the technician dismisses the box, like the original did.
class MessageSink
{
public:
    enum class Icon
    {
        None,
        Critical,
        Information
    };
    struct Message
    {
        QString text;
        QString title;
        Icon icon;
    };

    virtual ~MessageSink() = default;
    virtual void show(const QString &text, const QString &title, Icon icon) = 0;
};

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

// For the command-line tool: one line on standard error per message.
class StderrMessages : public MessageSink
{
public:
    void show(const QString &text, const QString &title, Icon icon) override;
    int count = 0;
};

} // namespace vx
