#pragma once

#include "messagetexts.h"

#include <QString>
#include <string_view>

namespace vx {

class EditSet;

// "Clear": asks the next write pass for the erase and takes away the buttons
// that must wait for it. The pass reads the unit first, has those values
// kept, and only then zeroes (zeroForClear, Engine::eraseCounters); the read
// that follows shows the result. Nothing of the window changes before: Clear
// abandoned on the way leaves it as it was.
void requestClear(EditSet &edit);

// What the erase's pass writes: the window's counters and sub-totals at zero
// and almost everything marked for writing, as the unit is to hold it.
void zeroForClear(EditSet &edit, const QString &titulo_base);

// What the window shows of a zeroed value once the erase has been read back.
QString shownAfterClear(std::string_view field);

// The question Clear asks before anything is sent (0 Portuguese, 1
// English): the unit, each value of kZeroedByClear that changes with what it
// holds now, that the accumulated takings stay, and the file the values are
// stored in first.
QString clearQuestion(const EditSet &edit, int idioma, const QString &snapshotFile);

} // namespace vx
