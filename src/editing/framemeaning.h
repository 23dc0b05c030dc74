#pragma once

#include "fields.h"
#include "frame.h"

#include <QByteArray>
#include <QString>

// Frames in words, for the traffic log: what a request asks, what a reply
// answers (with the field names of the memory addresses and the values in the
// window's text forms), and what is wrong with characters that are no reply.
namespace vx {

// The name of the command byte as Command spells it; "Command 5" for a number
// the enumeration does not know.
QString commandName(uint8_t comando);

// The field whose bytes include the device address; nullptr when none does.
const Field *fieldAt(uint8_t address);

// What a request ('#') or a reply ('!') says, e.g.
// "ReadMemory address 4 (Text_S00), 2 bytes = 50,00". Empty for anything else.
QString frameMeaning(const QByteArray &frame);

// Why the characters are not an acceptable reply, e.g. "bad checksum: ...";
// empty when they are one.
QString replyDefect(const QByteArray &received);

// The characters as they can be shown on one line: printable ones as they
// are, any other as \xNN.
QString printableFrame(const QByteArray &bytes);

} // namespace vx
