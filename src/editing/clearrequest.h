#pragma once

#include <QString>

namespace vx {

class EditSet;

// "Clear": zeroes the counters and sub-totals in the window, marks almost
// everything for writing and asks the next write pass for the erase
// (Engine::eraseCounters), which then asks for a read to show the result.
void requestClear(EditSet &edit, const QString &titulo_base);

} // namespace vx
