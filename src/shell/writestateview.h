#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace vx {

class EditSet;
class StatusLine;

// Shows what became of each value confirmed with Enter: the field's colour
// while it waits for the write pass, once the timer has stored it and when it
// was refused, and a short notice on the status line saying which field and,
// for a refusal, why. A value typed and not confirmed has a mark of its own,
// and one the field cannot take is red with the reason on the status line,
// so that no box shows, unmarked, a value the unit does not hold. The model
// holds the states; the colours are chosen here.
class WriteStateView : public QObject
{
    Q_OBJECT
public:
    // `control` finds a field's widget by name, `language` gives the
    // interface language.
    WriteStateView(EditSet &edit, StatusLine &status,
                   std::function<QWidget *(const QString &)> control, std::function<int()> language,
                   QObject *parent = nullptr);

    // The style a field gets for its state (empty: the window's own).
    static QString styleFor(int writeState);

private:
    void showState(const QString &name);
    QString fieldName(const QString &name) const;

    EditSet &m_edit;
    StatusLine &m_status;
    std::function<QWidget *(const QString &)> m_control;
    std::function<int()> m_language;
};

} // namespace vx
