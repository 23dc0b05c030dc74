#include "picture.h"

#include "vx308drawing.h"

#include <QPainter>

namespace vx {

void Picture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    Vx308Drawing::paint(p, QRectF(rect()).adjusted(2, 2, -2, -2));
}

} // namespace vx
