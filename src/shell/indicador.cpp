#include "indicador.h"

#include <QPainter>

namespace vx {

Indicador::Indicador(Forma forma, QWidget *parent) : QWidget(parent), m_forma(forma)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    if (forma == Forma::Rectangulo) m_cor = QColor(232, 236, 255);
}

void Indicador::setCor(const QColor &c)
{
    if (!c.isValid() || c == m_cor) return;
    m_cor = c;
    update();
}

void Indicador::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor cor = isEnabled() ? m_cor : m_cor.lighter(115);
    p.setPen(QPen(QColor(40, 40, 70), 1.2));
    p.setBrush(cor);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    switch (m_forma) {
    case Forma::Circulo: {
        const qreal d = std::min(r.width(), r.height());
        p.drawEllipse(QRectF(r.center().x() - d / 2, r.center().y() - d / 2, d, d));
        break;
    }
    case Forma::Arredondado: {
        const qreal raio = r.height() / 2.5;
        p.drawRoundedRect(r, raio, raio);
        break;
    }
    case Forma::Rectangulo:
        p.drawRect(r);
        break;
    }
}

} // namespace vx
