#pragma once

#include <QHash>
#include <QRect>
#include <QString>

class QWidget;

namespace vx {

// Makes the main window's controls from the layout table: each widget under
// its control name, in its group box or drawer, with its colours and design
// font. Placing and font sizes for the screen are the load sequence's work.
class WindowBuilder
{
public:
    struct Result
    {
        QHash<QString, QWidget *> controls;
        QHash<QString, QRect> design; // place at the design size, in its parent
    };

    static Result build(QWidget *area);

    // The font a control starts from, before it is stepped down to fit its
    // text: its kind's design size, then what the screen makes of it.
    static double designPoints(const QWidget *w);
    static void setDesignPoints(QWidget *w, double points);
    // Its kind's size at the design screen.
    static double kindPoints(const QWidget *w);
    static QString styleSheet();
};

} // namespace vx
