#pragma once

#include <QMultiHash>
#include <QObject>
#include <QString>

class QWidget;

namespace vx {

class EditSet;

// Binds the window's widgets to the edit set. The window is only a view: the
// model holds every text, tick, indicator state and enabled state, and each
// change of the model is mirrored on the widgets registered under the
// control's name; the colour an indicator state shows in is chosen here.
// What the technician does goes the other way, to the model's handlers:
// any change of a box's text, typed or not, to userEdit (a refused edit puts
// the model's text back), Enter and Escape to keyPress, focus to gotFocus, a click on a tick box to
// userToggle.
class ModelBinding : public QObject
{
    Q_OBJECT
public:
    explicit ModelBinding(EditSet &edit, QObject *parent = nullptr);

    // Registers a view of a control: a text box, tick box, button, indicator,
    // progress bar, label, menu, menu item or the main window itself (for the
    // title). A control may have more than one view (a button and its menu
    // item). The view takes the model's state at once.
    void bind(const QString &name, QObject *view);

    // Puts the model's state on the views of one control, or of all.
    void sync(const QString &name);
    void syncAll();

    QObject *view(const QString &name) const { return m_views.value(name); }
    QList<QObject *> views(const QString &name) const { return m_views.values(name); }

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;

private:
    void present(const QString &name, QObject *view);
    void presentRawBytes(const QString &name, QWidget *w);
    void onEdit(const QString &name, const QString &text);

    EditSet &m_edit;
    QMultiHash<QString, QObject *> m_views;
};

} // namespace vx
