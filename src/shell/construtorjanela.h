#pragma once

#include <QHash>
#include <QRect>
#include <QString>

class QWidget;

namespace vx {

// Makes the main window's controls from the layout table: each widget under
// its control name, in its group box or drawer, with its colours and design
// font. Placing and font sizes for the screen are the load sequence's work.
class ConstrutorJanela
{
public:
    struct Resultado
    {
        QHash<QString, QWidget *> controlos;
        QHash<QString, QRect> desenho; // place at the design size, in its parent
    };

    static Resultado construir(QWidget *area);

    // The design font of a control, by its kind.
    static double pontosDesenho(const QWidget *w);
    static QString folhaEstilo();
};

} // namespace vx
