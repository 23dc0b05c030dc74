#include "vx308drawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>

namespace vx {

namespace {

// Segments a..g of a seven-segment digit, as bits 0..6.
int segmentsOf(char c)
{
    static constexpr std::array<int, 10> allDigits{0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                   0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    if (c >= '0' && c <= '9') return allDigits[static_cast<size_t>(c - '0')];
    if (c == '-') return 0x40;
    return 0;
}

} // namespace

void Vx308Drawing::paintDigit(QPainter &p, const QRectF &c, char ch)
{
    const int segmentBits = segmentsOf(ch);
    const qreal t = c.width() * 0.16; // segment thickness
    const qreal x0 = c.left(), x1 = c.right(), y0 = c.top(), y1 = c.bottom();
    const qreal ym = c.center().y();
    const std::array<QRectF, 7> r{{
        {x0 + t, y0, x1 - x0 - 2 * t, t},         // a
        {x1 - t, y0 + t * 0.6, t, ym - y0 - t},   // b
        {x1 - t, ym + t * 0.4, t, y1 - ym - t},   // c
        {x0 + t, y1 - t, x1 - x0 - 2 * t, t},     // d
        {x0, ym + t * 0.4, t, y1 - ym - t},       // e
        {x0, y0 + t * 0.6, t, ym - y0 - t},       // f
        {x0 + t, ym - t / 2, x1 - x0 - 2 * t, t}, // g
    }};
    for (size_t i = 0; i < r.size(); ++i) {
        const bool lit = (segmentBits >> i) & 1;
        p.setBrush(lit ? QColor(255, 70, 40) : QColor(70, 18, 14));
        p.drawRoundedRect(r[i], t / 2, t / 2);
    }
}

void Vx308Drawing::paintDisplay(QPainter &p, const QRectF &a, const char *text)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 8, 8));
    p.drawRoundedRect(a, a.height() * 0.12, a.height() * 0.12);
    const qreal margin = a.height() * 0.16;
    const QRectF inner = a.adjusted(margin, margin, -margin, -margin);
    const qreal step = inner.width() / 5.0;
    for (int i = 0; i < 5 && text[i]; ++i) {
        const QRectF cell(inner.left() + i * step + step * 0.14, inner.top(), step * 0.72,
                          inner.height());
        paintDigit(p, cell, text[i]);
    }
}

void Vx308Drawing::paint(QPainter &p, const QRectF &area)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);

    // Keep the case's proportions whatever the area.
    const qreal proportion = 379.0 / 130.0;
    QRectF box = area;
    if (box.width() / box.height() > proportion)
        box.setWidth(box.height() * proportion);
    else
        box.setHeight(box.width() / proportion);
    box.moveCenter(area.center());
    const qreal u = box.height() / 130.0; // one design pixel

    // Shadow and case.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 40, 60));
    p.drawRoundedRect(box.adjusted(6 * u, 7 * u, 2 * u, 3 * u), 14 * u, 14 * u);
    QLinearGradient metal(box.topLeft(), box.bottomLeft());
    metal.setColorAt(0.0, QColor(96, 110, 150));
    metal.setColorAt(0.5, QColor(52, 62, 98));
    metal.setColorAt(1.0, QColor(30, 36, 64));
    p.setBrush(metal);
    p.setPen(QPen(QColor(210, 215, 240), 1.5 * u));
    const QRectF body = box.adjusted(2 * u, 2 * u, -6 * u, -6 * u);
    p.drawRoundedRect(body, 14 * u, 14 * u);

    // Name plate.
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(qMax(6, qRound(17 * u)));
    p.setFont(f);
    p.setPen(QColor(240, 244, 255));
    p.drawText(QRectF(body.left() + 16 * u, body.top() + 8 * u, 120 * u, 22 * u),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VX308"));
    f.setBold(false);
    f.setPixelSize(qMax(5, qRound(9 * u)));
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1.5 * u);
    p.setFont(f);
    p.setPen(QColor(190, 198, 230));
    p.drawText(QRectF(body.right() - 150 * u, body.bottom() - 20 * u, 136 * u, 14 * u),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("HALVOREN"));

    // The two display groups: time played and amount due.
    const qreal displayTop = body.top() + 36 * u;
    paintDisplay(p, QRectF(body.left() + 16 * u, displayTop, 118 * u, 50 * u), "01-25");
    paintDisplay(p, QRectF(body.left() + 142 * u, displayTop, 118 * u, 50 * u), "--250");

    // Lamps.
    const std::array<QColor, 3> lamps{QColor(80, 230, 90), QColor(255, 190, 40),
                                      QColor(255, 80, 60)};
    for (size_t i = 0; i < lamps.size(); ++i) {
        const QPointF c(body.left() + (26 + 22 * static_cast<qreal>(i)) * u,
                        body.bottom() - 14 * u);
        QRadialGradient glow(c, 7 * u);
        glow.setColorAt(0.0, lamps[i].lighter(150));
        glow.setColorAt(1.0, lamps[i].darker(140));
        p.setBrush(glow);
        p.setPen(QPen(QColor(20, 20, 30), 0.8 * u));
        p.drawEllipse(c, 5 * u, 5 * u);
    }

    // The iButton reader: a steel cup in a black ring.
    const QPointF reader(body.right() - 42 * u, displayTop + 25 * u);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(16, 16, 22));
    p.drawEllipse(reader, 24 * u, 24 * u);
    QRadialGradient steel(reader - QPointF(6 * u, 6 * u), 22 * u);
    steel.setColorAt(0.0, QColor(250, 250, 255));
    steel.setColorAt(0.6, QColor(170, 176, 190));
    steel.setColorAt(1.0, QColor(96, 100, 116));
    p.setBrush(steel);
    p.drawEllipse(reader, 17 * u, 17 * u);
    p.setBrush(QColor(60, 64, 78));
    p.drawEllipse(reader, 5 * u, 5 * u);
    p.restore();
}

} // namespace vx
