#pragma once

#include <QColor>
#include <QWidget>

namespace vx {

// A filled shape whose colour shows the state of one device input: a circle,
// a small rounded rectangle, or the plain rectangle that holds the circles.
class Indicator : public QWidget
{
    Q_OBJECT
public:
    enum class Shape
    {
        Circle,
        Rounded,
        Rectangle
    };

    explicit Indicator(Shape shape, QWidget *parent = nullptr);

    Shape shape() const { return m_shape; }
    QColor color() const { return m_color; }
    void setColor(const QColor &c);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Shape m_shape;
    QColor m_color{Qt::white};
};

} // namespace vx
