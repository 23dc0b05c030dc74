#pragma once

#include <QRectF>

class QPainter;

namespace vx {

// A drawing of the VX308 timer: its case, the two five-digit display groups,
// the status lamps and the iButton reader. Drawn in vectors so it stays sharp
// at any size; used by the main window's picture and by the splash window.
class DesenhoVx308
{
public:
    static void pintar(QPainter &p, const QRectF &area);

private:
    static void pintarVisor(QPainter &p, const QRectF &area, const char *texto);
    static void pintarDigito(QPainter &p, const QRectF &celula, char c);
};

} // namespace vx
