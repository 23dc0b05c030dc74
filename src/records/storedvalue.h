#pragma once

#include "field.h"
#include "frame.h"

#include <QString>

namespace vx {

// What the timer can store of a field given as text from outside the window
// (a configuration file, a snapshot): whether it can, in words what it could,
// the text the write pass is given for it, and the bytes it becomes.

bool isStorable(const Field &field, const QString &text);
// "a whole number from 0 to 255": what a refused value should have been, in
// the program's language.
QString whatIsStorable(TextForm form);
// What the write pass is given for the text.
QString textToWrite(const Field &field, const QString &text);
// The bytes a value becomes in the timer: two texts that write the same
// bytes ("1,5" and "1,50", "12" and "0012") are the same value.
TxData storedBytes(const Field &field, const QString &text);

} // namespace vx
