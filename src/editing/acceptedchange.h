#pragma once

#include "unitidentity.h"

#include <QString>

namespace vx {

// What put a value up for writing. Enter in a box (or a tick box changed)
// is the technician's own typing, whichever front end took it.
enum class ChangeKind
{
    Typed,
    Restore, // a configuration file written into the timer
    Paste,   // "PC -> Pic"
    Clear,   // the erase and the values written with it
    NewUnit  // the values of a new unit
};

// One value the timer has accepted: which unit holds it now, the field as
// the edit set names it, what the unit held before as last read from it (a
// tick box "0" or "1"), and what it holds now.
struct AcceptedChange
{
    UnitIdentity unit;
    QString field;
    QString before;
    QString after;
    ChangeKind kind = ChangeKind::Typed;
};

} // namespace vx
