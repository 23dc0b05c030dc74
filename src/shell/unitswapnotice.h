#pragma once

#include <QLabel>
#include <functional>

namespace vx {

class EditSet;

// The notice that the timer on the line is not the unit the window's values
// were read from, naming both, drawn where the link's notice is. While it
// shows, every value of the window is drawn struck through, in italics: none
// of them is the unit's. The edit set decides; this only draws it.
class UnitSwapNotice : public QLabel
{
    Q_OBJECT
public:
    // `control` finds a field's widget by name.
    UnitSwapNotice(const EditSet &edit, std::function<QWidget *(const QString &)> control,
                   QWidget *parent);

    // Where it stands: the top of `area`, as wide, and as tall as its text
    // needs (at least the area's height).
    void place(const QRect &area);
    // The language the notice speaks (0 Portuguese, 1 English).
    void setLanguage(int idioma);
    static QString textFor(const EditSet &edit, int idioma);

private:
    void refresh();
    void markValues(bool notOfUnit);

    const EditSet &m_edit;
    std::function<QWidget *(const QString &)> m_control;
    int m_idioma = 0;
    QRect m_area;
};

} // namespace vx
