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

    // The design font of a control, by its kind.
    static double designPoints(const QWidget *w);
    static QString styleSheet();
};

} // namespace vx
