#pragma once

#include "messages.h"

namespace vx {

// A message box on screen.
class DialogMessages : public MessageSink
{
public:
    void show(const QString &text, const QString &title, Icon icon) override;
};

} // namespace vx
