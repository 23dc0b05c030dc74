#pragma once

#include <QColor>
#include <QWidget>

namespace vx {

// A filled shape whose colour shows the state of one device input: a circle,
// a small rounded rectangle, or the plain rectangle that holds the circles.
class Indicador : public QWidget
{
    Q_OBJECT
public:
    enum class Forma
    {
        Circulo,
        Arredondado,
        Rectangulo
    };

    explicit Indicador(Forma forma, QWidget *parent = nullptr);

    Forma forma() const { return m_forma; }
    QColor cor() const { return m_cor; }
    void setCor(const QColor &c);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Forma m_forma;
    QColor m_cor{Qt::white};
};

} // namespace vx
