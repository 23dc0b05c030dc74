#include "eventwait.h"

#include "programend.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <cmath>

namespace vx {

namespace {
double g_scale = 1.0;
}

void waitUntil(const std::function<bool()> &done, const ProgramEnd *end)
{
    while (!done() && !(end && end->ended()))
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

double Timebase::scale()
{
    return g_scale;
}
void Timebase::setScale(double s)
{
    g_scale = s;
}
int Timebase::toReal(int nominalMs)
{
    if (nominalMs <= 0) return 0;
    return std::max(1, static_cast<int>(std::lround(nominalMs * g_scale)));
}

} // namespace vx
