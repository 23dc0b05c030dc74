#include "imagem.h"

#include "desenhovx308.h"

#include <QPainter>

namespace vx {

void Imagem::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    DesenhoVx308::pintar(p, QRectF(rect()).adjusted(2, 2, -2, -2));
}

} // namespace vx
