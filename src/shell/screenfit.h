#pragma once

#include <QRect>
#include <QSize>

namespace vx {

// Fitting the window to the screen. The window and its controls are laid out
// for a 1024 x 768 screen and stretched in proportion on any other; the rules
// are pure functions of the screen size so they can be checked for any screen
// without one.
class ScreenFit
{
public:
    static constexpr QSize kDesignScreen{1024, 768};
    // The window's own design size: it fills the design screen.
    static constexpr QSize kDesignWindow{1024, 768};
    // The status bar's three panels at the design size.
    static constexpr int kStatusPanels[3] = {467, 200, 134};

    // The size the main window takes when it is not maximized. A 640-pixel
    // wide screen is the one exception: its width shrinks by 640/645 and its
    // height is measured against a 480-line screen.
    static QSize windowSize(QSize screenSize, QSize design = kDesignWindow);

    // A control's place: left and width by W/1024, top and height by H/768,
    // also on a 640-pixel screen. A window laid out for another screen gives
    // its own design screen.
    static QRect scale(const QRect &design, QSize screenSize, QSize designScreen = kDesignScreen);
    // A size stretched the same way, with no exception for any screen.
    static QSize scale(QSize design, QSize screenSize, QSize designScreen = kDesignScreen);

    // A status-bar panel's width, by W/1024.
    static int panelWidth(int design, QSize screenSize);

    // Captioned controls drop to 8 points when the screen, measured at the
    // normal 15 twips per pixel, is less than 800 pixels high. `dpi` is the
    // screen's logical resolution (96 dpi is 15 twips per pixel).
    static bool eightPointFont(int heightPx, double dpi = 96.0);
    // How much larger the fonts are than at the design size: on a screen
    // larger than 1024 x 768 they grow with the controls (by the smaller of
    // the two stretches), so that a 1920 x 1080 window does not show small
    // text in large boxes. Never below 1: small screens fit by stepping down.
    static double fontGrowth(QSize screenSize);
};

} // namespace vx
