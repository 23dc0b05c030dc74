#include "valueclipboard.h"

#include "editset.h"

namespace vx {

namespace {

} // namespace

void ValueClipboard::copy(EditSet &edit)
{
    m_copy.clear();
    for (const Field &c : kFields) {
        if (!c.copied) continue;
        const QString name = toQString(c.name);
        m_copy << (c.form == TextForm::Flag ? QString::number(edit.checked(name) ? 1 : 0)
                                            : edit.text(name));
    }
    edit.setEnabled(QStringLiteral("command_paste1"), true);
}

void ValueClipboard::paste(EditSet &edit)
{
    if (m_copy.isEmpty()) return;
    QStringList pasted;
    for (const Field &c : kFields) {
        if (!c.copied) continue;
        const QString name = toQString(c.name);
        const QString &value = m_copy.at(pasted.size());
        if (c.form == TextForm::Flag)
            edit.setChecked(name, value.toInt() != 0);
        else
            edit.setText(name, value);
        pasted << name;
    }
    edit.mark(pasted, ChangeKind::Paste);
}

} // namespace vx
