#pragma once

#include "fieldtable.h"
#include "frame.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <string_view>

// Frames in words, for the traffic log: what a request asks, what a reply
// answers (with the field names of the memory addresses and the values in the
// window's text forms), and what is wrong with characters that are no reply.
namespace vx {

// The name of the command byte as Command spells it; "Command 5" for a number
// the enumeration does not know.
QString commandName(uint8_t comando);

// The field whose bytes include the device address; nullptr when none does.
const Field *fieldAt(uint8_t address);

// True when the device address holds a byte of one of the passwords.
bool isPasswordByte(int address);

// The characters as a log may show them: in each frame among them that
// carries memory bytes (a memory write's request, a memory read's or write's
// reply) the two data characters of every password byte become "**". The
// length, the header (command, index, value) and the checksum stay as they
// were, so the line still shows what went where. `answering`, when given, is
// the request the first reply among them answers: a damaged reply's own
// header cannot be trusted to say what its data characters hold.
QByteArray withoutPasswords(const QByteArray &characters, const RequestHeader *answering = nullptr);

// What a request ('#') or a reply ('!') says, e.g.
// "ReadMemory address 4 (<field>), 2 bytes = 50,00". Empty for anything else.
// A password's value reads "masked", a password byte shown in hex "**".
QString frameMeaning(const QByteArray &frame);

// Why the characters are not an acceptable reply, e.g. "bad checksum: ...";
// empty when they are one.
QString replyDefect(const QByteArray &received);

// The characters as they can be shown on one line: printable ones as they
// are, any other as \xNN.
QString printableFrame(const QByteArray &bytes);

} // namespace vx
