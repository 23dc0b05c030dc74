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
// The same for a value given with the bytes the timer held where no text
// says them (a file saved from a timer never set up): those bytes, while the
// text is still the one they show ("-", a tick box ticked); otherwise the
// text's own.
bool isStorable(const Field &field, const QString &text, const QByteArray &raw);
TxData storedBytes(const Field &field, const QString &text, const QByteArray &raw);
// Whether `raw` is what the text shows: only then do the bytes stand for it.
bool rawApplies(const Field &field, const QString &text, const QByteArray &raw);

} // namespace vx
