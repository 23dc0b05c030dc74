#include "writestateview.h"

#include "captions.h"
#include "editset.h"
#include "statusline.h"

#include <QLineEdit>

namespace vx {

WriteStateView::WriteStateView(EditSet &edit, StatusLine &status,
                               std::function<QWidget *(const QString &)> control,
                               std::function<int()> language, QObject *parent)
    : QObject(parent), m_edit(edit), m_status(status), m_control(std::move(control)),
      m_language(std::move(language))
{
    connect(&m_edit, &EditSet::controlChanged, this, &WriteStateView::showState);
    connect(&m_edit, &EditSet::valueWritten, this,
            [this](const QString &name, const QString &sent) {
                const ControlState &c = m_edit.control(name);
                if (c.write != WriteState::Written) return;
                // The power downs: a read shows one less than the count written.
                if (c.text != sent) {
                    m_status.showNotice(
                        Captions::caption(QStringLiteral("valueWrittenShown"), m_language())
                            .arg(fieldName(name), sent, c.text));
                    return;
                }
                m_status.showNotice(Captions::caption(QStringLiteral("valueWritten"), m_language())
                                        .arg(fieldName(name)));
            });
    connect(&m_edit, &EditSet::valueNotForUnitOnLine, this,
            [this](const QString &name, const QString &t) {
                const Field *f = fieldNamed(name);
                if (f && f->form == TextForm::Flag) {
                    m_status.showNotice(
                        Captions::caption(QStringLiteral("tickNotForUnit"), m_language())
                            .arg(fieldName(name)));
                    return;
                }
                m_status.showNotice(
                    Captions::caption(QStringLiteral("valueNotForUnit"), m_language())
                        .arg(fieldName(name), t));
            });
    connect(&m_edit, &EditSet::valueRounded, this, [this](const QString &name, const QString &t) {
        m_status.showNotice(Captions::caption(QStringLiteral("valueRounded"), m_language())
                                .arg(fieldName(name), t, m_edit.text(name)));
    });
    connect(&m_edit, &EditSet::valueTooLong, this, [this](const QString &name, int limit) {
        m_status.showNotice(Captions::caption(QStringLiteral("valueTooLong"), m_language())
                                .arg(fieldName(name))
                                .arg(limit));
    });
    connect(&m_edit, &EditSet::valueRefused, this, [this](const QString &name, const QString &t) {
        m_status.showNotice(Captions::caption(QStringLiteral("valueRefused"), m_language())
                                .arg(fieldName(name), t));
    });
    connect(&m_edit, &EditSet::valueInvalid, this,
            [this](const QString &name, const QString &reason) {
                m_status.showNotice(Captions::caption(QStringLiteral("valueInvalid"), m_language())
                                        .arg(fieldName(name), reason));
            });
}

QString WriteStateView::styleFor(int writeState)
{
    switch (static_cast<WriteState>(writeState)) {
    case WriteState::Pending:
        return QStringLiteral("QLineEdit { background-color: rgb(255,236,150); }");
    case WriteState::Written:
        return QStringLiteral("QLineEdit { background-color: rgb(190,240,190); }");
    case WriteState::Refused:
    case WriteState::Invalid:
        return QStringLiteral(
            "QLineEdit { background-color: rgb(255,190,190); border: 2px solid rgb(200,0,0); }");
    case WriteState::Edited:
        // Typed, not yet confirmed: the unit still holds another value.
        return QStringLiteral(
            "QLineEdit { background-color: white; border: 2px dashed rgb(230,140,0); }");
    case WriteState::None:
        break;
    }
    return {};
}

QString WriteStateView::fieldName(const QString &name) const
{
    const QString spoken = Captions::accessibleName(name, m_language());
    return spoken.isEmpty() ? name : spoken;
}

void WriteStateView::showState(const QString &name)
{
    auto *field = qobject_cast<QLineEdit *>(m_control(name));
    if (!field) return;
    const WriteState state = m_edit.control(name).write;
    const QString style = styleFor(static_cast<int>(state));
    if (field->styleSheet() == style) return;
    field->setStyleSheet(style);
    if (state == WriteState::Pending)
        m_status.showNotice(
            Captions::caption(QStringLiteral("valuePending"), m_language()).arg(fieldName(name)));
    else if (state == WriteState::Edited)
        m_status.showNotice(
            Captions::caption(QStringLiteral("valueEdited"), m_language()).arg(fieldName(name)));
}

} // namespace vx
