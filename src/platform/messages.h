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

// For the command-line tool: one line on standard error per message.
class StderrMessages : public MessageSink
{
public:
    void show(const QString &text, const QString &title, Icon icon) override;
    int count = 0;
};

} // namespace vx
