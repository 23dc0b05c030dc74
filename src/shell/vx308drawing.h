#pragma once

#include <QRectF>

class QPainter;

namespace vx {

// A drawing of the VX308 timer: its case, the two five-digit display groups,
// the status lamps and the iButton reader. Drawn in vectors so it stays sharp
// at any size; used by the main window's picture and by the splash window.
class Vx308Drawing
{
public:
    static void paint(QPainter &p, const QRectF &area);

private:
    static void paintDisplay(QPainter &p, const QRectF &area, const char *text);
    static void paintDigit(QPainter &p, const QRectF &cell, char c);
};

} // namespace vx
