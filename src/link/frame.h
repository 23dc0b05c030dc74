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
// dados_tx only for commands 2 (write memory) and 6 (set clock).
QByteArray buildRequest(uint8_t comando, uint8_t indice, uint8_t valor, const TxData &txData);

// A reply is accepted when it starts with '!', positions 1..27 are upper-case
// hex digits, the checksum matches (sum mod 256) and it ends with '%'.
bool isValidReply(const QByteArray &reply);

// A reply with the given header (positions 1..13) and data field, correct
// checksum. Used by the device emulator and by tests.
QByteArray buildReply(const QByteArray &header13, const QByteArray &data12);

// Decoding helpers over the data field of a reply (byte k at 14+2k, low nibble
// first; multi-byte numbers little-endian).
uint8_t dataByte(const QByteArray &frame, int k);
uint32_t dataNumber(const QByteArray &frame, int bytes);
// The 12 data characters, last first: how serial numbers are shown.
QString reversedData(const QByteArray &frame);

} // namespace vx
