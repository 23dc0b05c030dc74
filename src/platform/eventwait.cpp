#include "eventwait.h"

#include "programend.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace vx {

void waitUntil(const std::function<bool()> &done, const ProgramEnd *end)
{
    while (!done() && !(end && end->ended()))
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace vx
