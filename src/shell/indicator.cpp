#include "indicator.h"

#include <QPainter>

namespace vx {

Indicator::Indicator(Shape shape, QWidget *parent) : QWidget(parent), m_shape(shape)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    if (shape == Shape::Rectangle) m_color = QColor(232, 236, 255);
}

void Indicator::setColor(const QColor &c)
{
    if (!c.isValid() || c == m_color) return;
    m_color = c;
    update();
}

void Indicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor color = isEnabled() ? m_color : m_color.lighter(115);
    p.setPen(QPen(QColor(40, 40, 70), 1.2));
    p.setBrush(color);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    switch (m_shape) {
    case Shape::Circle: {
        const qreal d = std::min(r.width(), r.height());
        p.drawEllipse(QRectF(r.center().x() - d / 2, r.center().y() - d / 2, d, d));
        break;
    }
    case Shape::Rounded: {
        const qreal radius = r.height() / 2.5;
        p.drawRoundedRect(r, radius, radius);
        break;
    }
    case Shape::Rectangle:
        p.drawRect(r);
        break;
    }
}

} // namespace vx
