#include "frame.h"

namespace vx {

char nibble_hex(int n)
{
    int c = n + 48;
    if (c > 57) c += 7;
    return static_cast<char>(c);
}

uint8_t hex_nibble(char c)
{
    const int code = static_cast<unsigned char>(c);
    if (code < 48) return 0;
    int v = code - 48;
    if (v > 9) v -= 7;
    return static_cast<uint8_t>(v);
}

QString moeda_texto(uint32_t centimos)
{
    const uint32_t cents = centimos % 100;
    return QString::number(centimos / 100) + QLatin1Char(',') +
           (cents < 10 ? QStringLiteral("0") : QString()) + QString::number(cents);
}

namespace {

void putHexByte(char &low, char &high, uint8_t b)
{
    low = nibble_hex(b & 0x0F);
    high = nibble_hex(b >> 4);
}

uint8_t hexByte(char low, char high)
{
    return static_cast<uint8_t>(((hex_nibble(high) & 0x0F) << 4) | (hex_nibble(low) & 0x0F));
}

} // namespace

int nibbleSum(const QByteArray &frame)
{
    int sum = 0;
    for (int i = 1; i <= 25 && i < frame.size(); ++i)
        sum += hex_nibble(frame.at(i));
    return sum;
}

QByteArray buildRequest(Command comando, uint8_t indice, uint8_t valor, const TxData &txData)
{
    QByteArray t(kFrameLength, '0');
    t[0] = '#';
    t[1] = 'A';
    t[2] = 'F';
    const uint8_t fields[3] = {static_cast<uint8_t>(comando), indice, valor};
    for (int k = 0; k < 3; ++k)
        putHexByte(t[8 + 2 * k], t[9 + 2 * k], fields[k]);
    if (comando == Command::WriteMemory || comando == Command::SetClock) {
        for (int i = 0; i < kDataLength; ++i)
            t[kDataOffset + i] = txData[i];
    }
    t[28] = '%';
    const int sum = nibbleSum(t);
    // Every request this program builds sums below 256, so the high digit is
    // always a hex digit; the division is kept as the device computes it.
    t[26] = nibble_hex(sum % 16);
    t[27] = nibble_hex(sum / 16);
    return t;
}

RequestHeader requestHeader(const QByteArray &r)
{
    return {static_cast<Command>(hexByte(r.at(8), r.at(9))), hexByte(r.at(10), r.at(11)),
            hexByte(r.at(12), r.at(13))};
}

static bool isUpperHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool isValidReply(const QByteArray &r)
{
    if (r.size() < kFrameLength || r.at(0) != '!') return false;
    for (int i = 1; i <= 27; ++i)
        if (!isUpperHex(r.at(i))) return false;
    const int sum = nibbleSum(r) % 256;
    const int declared = hex_nibble(r.at(27)) * 16 + hex_nibble(r.at(26));
    if (sum != declared) return false;
    return r.at(28) == '%';
}

QByteArray buildReply(const QByteArray &header13, const QByteArray &data12)
{
    QByteArray r(kFrameLength, '0');
    r[0] = '!';
    for (int i = 0; i < 13 && i < header13.size(); ++i)
        r[1 + i] = header13.at(i);
    for (int i = 0; i < kDataLength && i < data12.size(); ++i)
        r[kDataOffset + i] = data12.at(i);
    const int sum = nibbleSum(r) % 256;
    r[26] = nibble_hex(sum % 16);
    r[27] = nibble_hex(sum / 16);
    r[28] = '%';
    return r;
}

void putByte(TxData &data, int k, uint8_t b)
{
    putHexByte(data[2 * k], data[2 * k + 1], b);
}

uint8_t dataByte(const QByteArray &frame, int k)
{
    const int lo = kDataOffset + 2 * k;
    if (k < 0 || k >= 6 || frame.size() <= lo + 1) return 0;
    return hexByte(frame.at(lo), frame.at(lo + 1));
}

uint32_t dataNumber(const QByteArray &frame, int bytes)
{
    uint32_t n = 0;
    for (int k = bytes - 1; k >= 0; --k)
        n = (n << 8) | dataByte(frame, k);
    return n;
}

QString reversedData(const QByteArray &frame)
{
    QString s;
    for (int i = kDataOffset + kDataLength - 1; i >= kDataOffset; --i)
        s += QLatin1Char(i < frame.size() ? frame.at(i) : '0');
    return s;
}

} // namespace vx
