#include "screenfit.h"

#include <algorithm>
#include <cmath>

namespace vx {

namespace {

int proportion(int valor, int numerator, int denominator)
{
    return static_cast<int>(std::lround(static_cast<double>(valor) * numerator / denominator));
}

} // namespace

QSize ScreenFit::windowSize(QSize screenSize, QSize design)
{
    if (screenSize.width() == 640)
        return {proportion(design.width(), 640, 645),
                proportion(design.height(), screenSize.height(), 480)};
    return scale(design, screenSize);
}

QSize ScreenFit::scale(QSize design, QSize screenSize, QSize designScreen)
{
    return {proportion(design.width(), screenSize.width(), designScreen.width()),
            proportion(design.height(), screenSize.height(), designScreen.height())};
}

QRect ScreenFit::scale(const QRect &design, QSize screenSize, QSize designScreen)
{
    return {QPoint(proportion(design.x(), screenSize.width(), designScreen.width()),
                   proportion(design.y(), screenSize.height(), designScreen.height())),
            scale(design.size(), screenSize, designScreen)};
}

int ScreenFit::panelWidth(int design, QSize screenSize)
{
    return proportion(design, screenSize.width(), kDesignScreen.width());
}

double ScreenFit::fontGrowth(QSize screenSize)
{
    const double across = static_cast<double>(screenSize.width()) / kDesignScreen.width();
    const double down = static_cast<double>(screenSize.height()) / kDesignScreen.height();
    return std::max(1.0, std::min(across, down));
}

bool ScreenFit::eightPointFont(int heightPx, double dpi)
{
    if (dpi <= 0) dpi = 96.0;
    const double twips = heightPx * 1440.0 / dpi;
    return twips / 15.0 < 800.0;
}

} // namespace vx
