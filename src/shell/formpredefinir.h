#pragma once

#include <QWidget>

namespace vx {

class Defaults;

// Form_predefinir, "Predefinição de valores": asks whether the values the
// main window shows now are to become the defaults of "Novo". Not modal; the
// main window stays usable behind it. Every opening builds it afresh and
// closing destroys it. Portuguese only.
class FormPredefinir : public QWidget
{
    Q_OBJECT
public:
    FormPredefinir(Defaults &defaults, QSize screenSize, QWidget *parent = nullptr);

    // Design places, for an 800 x 600 screen (the main window's is larger);
    // ScreenFit stretches them in proportion to the screen.
    static constexpr QSize kDesignScreen{800, 600};
    static constexpr QSize kWindow{400, 160};
    static constexpr QRect kLabel{20, 20, 360, 50};
    static constexpr QRect kAccept{50, 96, 130, 36};
    static constexpr QRect kCancel{220, 96, 130, 36};

    void Command_aceitar_Click();
    void Command_cancelar_Click();

private:
    Defaults &m_defaults;
};

} // namespace vx
