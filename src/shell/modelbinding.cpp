#include "modelbinding.h"

#include "editset.h"
#include "fieldfit.h"
#include "indicator.h"
#include "shelltexts.h"
#include "textforms.h"

#include <QAction>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <cmath>

namespace vx {

namespace {

// An input at rest shows white, an active one red. A control that is no
// indicator keeps the view's own colour (setColor ignores an invalid one).
QColor indicatorColour(IndicatorState state)
{
    switch (state) {
    case IndicatorState::Off:
        return QColor(255, 255, 255);
    case IndicatorState::On:
        return QColor(255, 0, 0);
    case IndicatorState::None:
        break;
    }
    return {};
}

// What a control shows: its text, tick, colour or level. False when the
// view is none of the controls that show one.
bool presentContent(const ControlState &s, QObject *view)
{
    // A caption the model changes (the key reader's, "Aceitar") is fitted to
    // its control as the language's are.
    const auto fitted = [view] { FieldFit::fitCaption(qobject_cast<QWidget *>(view)); };
    if (auto *box = qobject_cast<QLineEdit *>(view)) {
        if (box->text() != s.text) box->setText(s.text);
    } else if (auto *tickBox = qobject_cast<QCheckBox *>(view)) {
        // A caption the model holds (the key reader's, which a read sets to
        // what the unit's key does) is shown; otherwise the language's stays.
        if (!s.text.isEmpty() && tickBox->text() != s.text) {
            tickBox->setText(s.text);
            fitted();
        }
        if (tickBox->isChecked() != s.checked) tickBox->setChecked(s.checked);
    } else if (auto *button = qobject_cast<QPushButton *>(view)) {
        if (!s.text.isEmpty() && button->text() != s.text) {
            button->setText(s.text);
            fitted();
        }
    } else if (auto *ind = qobject_cast<Indicator *>(view)) {
        ind->setColor(indicatorColour(s.indicator));
    } else if (auto *bar = qobject_cast<QProgressBar *>(view)) {
        bar->setValue(static_cast<int>(std::lround(std::clamp(s.value, 0.0, 100.0))));
    } else if (auto *label = qobject_cast<QLabel *>(view)) {
        if (label->text() != s.text) {
            label->setText(s.text);
            fitted();
        }
    } else {
        return false;
    }
    return true;
}

// Menus, menu items and the window carry the whole state themselves: their
// enabled state is not a widget's, and the window is never hidden from here.
// False when the view is none of them.
bool presentWhole(const ControlState &s, QObject *view)
{
    if (auto *menu = qobject_cast<QMenu *>(view)) {
        menu->setEnabled(s.enabled);
        menu->menuAction()->setEnabled(s.enabled);
    } else if (auto *action = qobject_cast<QAction *>(view)) {
        if (!s.text.isEmpty()) action->setText(s.text);
        if (action->isCheckable()) action->setChecked(s.checked);
        action->setEnabled(s.enabled);
    } else if (auto *window = qobject_cast<QWidget *>(view); window && window->isWindow()) {
        window->setWindowTitle(s.text);
    } else {
        return false;
    }
    return true;
}

void presentAvailability(const ControlState &s, QWidget *w)
{
    // A control disabled while it holds the focus would hand it to the next
    // one in the tab order, which after "Enviar" is the first tariff with its
    // text selected: a stray key would then overwrite a tariff. The focus
    // goes to the window instead, on no value.
    if (!s.enabled && w->isEnabled() && w->hasFocus() && w->window() != w)
        w->window()->setFocus(Qt::OtherFocusReason);
    w->setEnabled(s.enabled);
    // Hidden controls stay hidden: the window never shows what the model
    // never showed.
    if (!s.visible)
        w->setVisible(false);
    else if (w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->isHidden() &&
             !w->property("vx_hidden").toBool())
        w->setVisible(true);
}

} // namespace

ModelBinding::ModelBinding(EditSet &edit, QObject *parent) : QObject(parent), m_edit(edit)
{
    connect(&m_edit, &EditSet::controlChanged, this, &ModelBinding::sync);
}

void ModelBinding::bind(const QString &name, QObject *view)
{
    m_views.insert(name, view);
    connect(view, &QObject::destroyed, this, [this, name, view] { m_views.remove(name, view); });
    if (auto *box = qobject_cast<QLineEdit *>(view)) {
        // Every change of the box's text, not only typing: an assistive tool
        // or an input method may set it directly, and the model must hold
        // what the box shows. The model's own changes reach the box already
        // equal to the model and are let through.
        connect(box, &QLineEdit::textChanged, this, [this, name](const QString &t) {
            if (t != m_edit.text(name)) onEdit(name, t);
        });
        box->installEventFilter(this);
    } else if (auto *tickBox = qobject_cast<QCheckBox *>(view)) {
        // The box has already flipped itself; the model decides, and the
        // box is put back to what the model holds.
        connect(tickBox, &QCheckBox::clicked, this, [this, name] {
            m_edit.userToggle(name);
            sync(name);
        });
    }
    present(name, view);
}

void ModelBinding::sync(const QString &name)
{
    const QList<QObject *> list = m_views.values(name);
    for (QObject *v : list)
        present(name, v);
}

void ModelBinding::syncAll()
{
    for (auto it = m_views.constBegin(); it != m_views.constEnd(); ++it)
        present(it.key(), it.value());
}

void ModelBinding::present(const QString &name, QObject *view)
{
    if (!m_edit.has(name)) return;
    const ControlState &s = m_edit.control(name);
    if (!presentContent(s, view) && presentWhole(s, view)) return;
    if (auto *w = qobject_cast<QWidget *>(view)) {
        presentAvailability(s, w);
        presentRawBytes(name, w);
    }
}

// A value shown as "-" because its bytes make none says which bytes they
// are; the tip goes once the value is another.
void ModelBinding::presentRawBytes(const QString &name, QWidget *w)
{
    const QByteArray raw = m_edit.rawBytes(name);
    const bool hadTip = w->property("vx_rawTip").toBool();
    if (raw.isEmpty() && !hadTip) return;
    w->setProperty("vx_rawTip", !raw.isEmpty());
    w->setToolTip(raw.isEmpty()
                      ? QString()
                      : textOf(kRawValueTexts, "rawBytes", languageOf(m_edit)).arg(bytesText(raw)));
}

void ModelBinding::onEdit(const QString &name, const QString &text)
{
    if (m_edit.userEdit(name, text)) return;
    // Refused (too long): show the model's text again, keeping the caret
    // where the technician was typing.
    for (QObject *v : m_views.values(name)) {
        if (auto *box = qobject_cast<QLineEdit *>(v)) {
            const int pos = box->cursorPosition();
            const QString &modelText = m_edit.text(name);
            const int cursorBack = static_cast<int>(text.size() - modelText.size());
            box->setText(modelText);
            box->setCursorPosition(
                std::clamp(pos - cursorBack, 0, static_cast<int>(modelText.size())));
        }
    }
}

bool ModelBinding::eventFilter(QObject *obj, QEvent *ev)
{
    const QString name = obj->objectName();
    if (!qobject_cast<QLineEdit *>(obj) || !m_edit.has(name)) return false;
    if (ev->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(ev);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            m_edit.confirmValue(name);
            return true;
        }
        if (k->key() == Qt::Key_Escape) {
            m_edit.restoreValue(name);
            return true;
        }
    } else if (ev->type() == QEvent::FocusIn) {
        // Focus that only comes back from a message box or another window
        // must not overwrite the text kept for Escape.
        const Qt::FocusReason r = static_cast<QFocusEvent *>(ev)->reason();
        m_edit.gotFocus(name, r != Qt::PopupFocusReason && r != Qt::ActiveWindowFocusReason);
    }
    return false;
}

} // namespace vx
