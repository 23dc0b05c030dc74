#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// The device speaks ASCII frames of 29 characters. A request is "#AF00000",
// the command, index and value as two hex digits each (low nibble first), a
// 12-character data field, a two-digit checksum (low digit first) and "%".
// A reply is "!", 25 hex digits, the checksum and "%".
namespace vx {

constexpr int kFrameLength = 29;
constexpr int kDataOffset = 14;
constexpr int kDataLength = 12;

using TxData = std::array<char, kDataLength>;

// What a request asks of the device: the frame's command byte. The device
// ignores a number it does not know and answers it like End.
enum class Command : uint8_t
{
    End = 0,         // end of the connection
    ReadMemory = 1,  // index: address, value: bytes (at most 6)
    WriteMemory = 2, // index: address, value: bytes; the data field holds them
    ReadInputs = 3,  // the seven inputs, one character each, '0' when active
    Impulses = 4,    // value: how many impulses to give
    SetClock = 6,    // index: seconds; the data field holds the rest
    ReadBattery = 7, // byte 0: the battery level
    ReadIButton = 8, // the key on the reader, last digit first
    ReadClock = 9,   // minute, hour, weekday, day, month, year - 2000
    Display = 10,    // index: position 0..9, value: the character code
};

// Command, index and value as a request carries them.
struct RequestHeader
{
    Command comando;
    uint8_t indice;
    uint8_t valor;
};

// 0..15 -> '0'..'9', 'A'..'F' (code n+48, plus 7 when that passes '9').
char nibble_hex(int n);
// Inverse of nibble_hex; any character below '0' yields 0. Never fails: other
// characters give whatever the arithmetic gives ('G' is 16).
uint8_t hex_nibble(char c);
// Cents -> "12,34"; no separators, no sign.
QString moeda_texto(uint32_t centimos);

// Sum of the nibble values of positions 1..25.
int nibbleSum(const QByteArray &frame);

// The 29 characters of a request, checksum included. The data field carries
// dados_tx only for WriteMemory and SetClock.
QByteArray buildRequest(Command comando, uint8_t indice, uint8_t valor, const TxData &txData);
// The header of a request frame of at least 14 characters.
RequestHeader requestHeader(const QByteArray &request);

// A reply is accepted when it starts with '!', positions 1..27 are upper-case
// hex digits, the checksum matches (sum mod 256) and it ends with '%'.
bool isValidReply(const QByteArray &reply);

// A reply with the given header (positions 1..13) and data field, correct
// checksum. Used by the device emulator and by tests.
QByteArray buildReply(const QByteArray &header13, const QByteArray &data12);

// Byte k of a data field is the two characters at 2k, low nibble first, as
// every byte of a frame; multi-byte numbers are little-endian. putByte fills
// a data field on its own (dados_tx, the emulator's replies), dataByte reads
// one inside a whole frame (at 14+2k); 0 when the frame is too short.
void putByte(TxData &data, int k, uint8_t b);
uint8_t dataByte(const QByteArray &frame, int k);
uint32_t dataNumber(const QByteArray &frame, int bytes);
// The 12 data characters, last first: how serial numbers are shown.
QString reversedData(const QByteArray &frame);

} // namespace vx
