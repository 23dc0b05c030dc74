#include "ajusteecra.h"

#include <cmath>

namespace vx {

namespace {

int proporcao(int valor, int numerador, int denominador)
{
    return static_cast<int>(std::lround(static_cast<double>(valor) * numerador / denominador));
}

} // namespace

QSize AjusteEcra::tamanhoJanela(QSize ecra, QSize desenho)
{
    if (ecra.width() == 640)
        return {proporcao(desenho.width(), 640, 645),
                proporcao(desenho.height(), ecra.height(), 480)};
    return {proporcao(desenho.width(), ecra.width(), kEcraDesenho.width()),
            proporcao(desenho.height(), ecra.height(), kEcraDesenho.height())};
}

QRect AjusteEcra::escalar(const QRect &desenho, QSize ecra)
{
    const int w = kEcraDesenho.width();
    const int h = kEcraDesenho.height();
    return {proporcao(desenho.x(), ecra.width(), w), proporcao(desenho.y(), ecra.height(), h),
            proporcao(desenho.width(), ecra.width(), w),
            proporcao(desenho.height(), ecra.height(), h)};
}

int AjusteEcra::larguraPainel(int desenho, QSize ecra)
{
    return proporcao(desenho, ecra.width(), kEcraDesenho.width());
}

bool AjusteEcra::fonteOitoPontos(int alturaPx, double dpi)
{
    if (dpi <= 0) dpi = 96.0;
    const double twips = alturaPx * 1440.0 / dpi;
    return twips / 15.0 < 800.0;
}

} // namespace vx
