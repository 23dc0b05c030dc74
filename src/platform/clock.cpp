#include "clock.h"

#include <algorithm>
#include <cmath>

namespace vx {

void Clock::setScale(double scale)
{
    m_scale = scale > 0.0 && std::isfinite(scale) ? scale : 1.0;
}

int Clock::toReal(int nominalMs) const
{
    if (nominalMs <= 0) return 0;
    return std::max(1, static_cast<int>(std::lround(nominalMs * m_scale)));
}

} // namespace vx
