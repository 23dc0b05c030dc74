#pragma once

#include "messages.h"

// The edit set's messages, passed on to standard error except while the
// program itself fills the values of a new unit: the check of typed numbers
// would then speak up for the proposal's placeholders ("-"), which nobody
// typed, and put "not valid" beside a unit that is fine.
class EditMessages : public vx::MessageSink
{
public:
    explicit EditMessages(vx::MessageSink &out) : m_out(out) {}

    void show(const QString &text, const QString &title, Icon icon) override
    {
        if (!m_filling) m_out.show(text, title, icon);
    }
    void setFilling(bool filling) { m_filling = filling; }

private:
    vx::MessageSink &m_out;
    bool m_filling = false;
};
