#include "framemeaning.h"

#include "textforms.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace vx {

namespace {

constexpr std::array<const char *, 11> kCommandNames{
    "End",      "ReadMemory",  "WriteMemory", "ReadInputs", "Impulses", nullptr,
    "SetClock", "ReadBattery", "ReadIButton", "ReadClock",  "Display"};

bool isPassword(const Field &f)
{
    return f.secret;
}

// Said of a frame whose characters were masked where no value says so.
const QLatin1String kBytesMasked(", password bytes masked");

// Bit k set: data byte k of a frame with this header holds a password byte.
// A memory read's request carries no memory bytes, only zeros.
unsigned passwordBytes(const RequestHeader &h, bool reply)
{
    const bool carries =
        h.comando == Command::WriteMemory || (reply && h.comando == Command::ReadMemory);
    unsigned bits = 0;
    for (int k = 0; carries && k < h.valor && k < 6; ++k)
        if (isPasswordByte(h.indice + k)) bits |= 1U << k;
    return bits;
}

void maskDataBytes(QByteArray &characters, qsizetype start, unsigned bits)
{
    for (int k = 0; k < 6; ++k) {
        if ((bits & (1U << k)) == 0) continue;
        const qsizetype low = start + kDataOffset + 2 * k;
        for (qsizetype i = low; i < low + 2 && i < characters.size(); ++i)
            characters[i] = '*';
    }
}

// The password bytes of the frame whose '#' or '!' is at `start`, by its own
// header.
unsigned passwordBytesAt(const QByteArray &characters, qsizetype start)
{
    if (characters.size() - start < kDataOffset) return 0;
    return passwordBytes(requestHeader(characters.mid(start, kDataOffset)),
                         characters.at(start) == '!');
}

// The data bytes in hex, a password byte as "**".
QString hexBytes(const QByteArray &frame, uint8_t address, int count)
{
    QStringList bytes;
    bool masked = false;
    for (int k = 0; k < count && k < 6; ++k) {
        masked = masked || isPasswordByte(address + k);
        bytes << (isPasswordByte(address + k)
                      ? QStringLiteral("**")
                      : QStringLiteral("%1")
                            .arg(dataByte(frame, k), 2, 16, QLatin1Char('0'))
                            .toUpper());
    }
    return bytes.join(QLatin1Char(' ')) + (masked ? QString(kBytesMasked) : QString());
}

// "address 4 (<field>), 2 bytes", or "(<field>+1)" inside a field.
QString memoryPlace(uint8_t address, uint8_t count)
{
    QString place = QStringLiteral("address %1").arg(address);
    if (const Field *f = fieldAt(address)) {
        const int offset = address - f->address;
        place +=
            QStringLiteral(" (%1%2)").arg(QLatin1String(f->name.data(), qsizetype(f->name.size())),
                                          offset ? QStringLiteral("+%1").arg(offset) : QString());
    }
    return place + QStringLiteral(", %1 byte%2").arg(count).arg(count == 1 ? "" : "s");
}

// True when the frame's bytes hold part of a password but not all of it:
// no "masked" value then says that its characters are masked.
bool partOfPassword(uint8_t address, uint8_t count)
{
    for (int k = 0; k < count && k < 6; ++k) {
        const Field *f = isPasswordByte(address + k) ? fieldAt(uint8_t(address + k)) : nullptr;
        if (f && (f->address < address || f->address + f->bytes > address + count)) return true;
    }
    return false;
}

// The memory bytes a frame carries: each field that starts and ends inside
// them by name and value, or the bytes in hex when no field does.
QString memoryValues(const QByteArray &frame, uint8_t address, uint8_t count)
{
    QStringList values;
    for (const Field &f : kFields) {
        const int first = f.address - address;
        if (first < 0 || first + f.bytes > count) continue;
        values << QStringLiteral("%1 = %2").arg(
            QLatin1String(f.name.data(), qsizetype(f.name.size())),
            isPassword(f) ? QStringLiteral("masked") : decode(f, frame, first));
    }
    if (values.isEmpty()) return QStringLiteral("bytes ") + hexBytes(frame, address, count);
    return values.join(QStringLiteral(", ")) +
           (partOfPassword(address, count) ? QString(kBytesMasked) : QString());
}

// Minute, hour, weekday, day, month, year - 2000: the clock as the device
// holds it.
QString clockText(const QByteArray &frame)
{
    return deviceDateText(dataByte(frame, 3), dataByte(frame, 4), dataByte(frame, 5)) +
           QLatin1Char(' ') + deviceTimeText(dataByte(frame, 1), dataByte(frame, 0)) +
           QStringLiteral(", weekday %1").arg(dataByte(frame, 2));
}

QString requestMeaning(const QByteArray &frame, const RequestHeader &h)
{
    const QString name = commandName(static_cast<uint8_t>(h.comando));
    switch (h.comando) {
    case Command::ReadMemory:
        return name + QLatin1Char(' ') + memoryPlace(h.indice, h.valor);
    case Command::WriteMemory:
        return name + QLatin1Char(' ') + memoryPlace(h.indice, h.valor) + QStringLiteral(": ") +
               memoryValues(frame, h.indice, h.valor);
    case Command::Impulses:
        return name + QStringLiteral(" %1").arg(h.valor);
    case Command::SetClock:
        return name + QLatin1Char(' ') + clockText(frame) +
               QStringLiteral(", second %1").arg(h.indice);
    case Command::Display:
        return name + QStringLiteral(" position %1, code %2").arg(h.indice).arg(h.valor);
    default:
        return name;
    }
}

QString replyMeaning(const QByteArray &frame, const RequestHeader &h)
{
    const QString name = commandName(static_cast<uint8_t>(h.comando));
    switch (h.comando) {
    case Command::ReadMemory:
        return name + QLatin1Char(' ') + memoryPlace(h.indice, h.valor) + QStringLiteral(": ") +
               memoryValues(frame, h.indice, h.valor);
    case Command::ReadInputs:
        return name + QStringLiteral(" ") + QString::fromLatin1(frame.mid(kDataOffset, 7)) +
               QStringLiteral(" ('0' active)");
    case Command::ReadBattery:
        return name + QStringLiteral(" level %1").arg(dataByte(frame, 0));
    case Command::ReadIButton:
        return name + QLatin1Char(' ') + reversedData(frame);
    case Command::ReadClock:
        return name + QLatin1Char(' ') + clockText(frame);
    case Command::WriteMemory:
        return name + QLatin1Char(' ') + memoryPlace(h.indice, h.valor) +
               (passwordBytes(h, true) != 0 ? QString(kBytesMasked) : QString());
    default:
        return name;
    }
}

bool isUpperHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// The first position of 1..27 that is no upper-case hex digit, or -1.
int firstNonHex(const QByteArray &r)
{
    for (int i = 1; i <= 27; ++i)
        if (!isUpperHexDigit(r.at(i))) return i;
    return -1;
}

QString shapeDefect(const QByteArray &r)
{
    if (r.at(0) != '!') {
        const qsizetype start = r.indexOf('!');
        if (start > 0)
            return QStringLiteral("%1 characters of noise before the reply's '!'").arg(start);
        return QStringLiteral("does not start with '!'");
    }
    const qsizetype end = r.indexOf('%');
    if (end >= 0 && end < kFrameLength - 1)
        return QStringLiteral("wrong length: '%' after %1 characters, a reply has %2")
            .arg(end + 1)
            .arg(kFrameLength);
    const int bad = firstNonHex(r);
    if (bad >= 0)
        return QStringLiteral("character %1 is %2, not an upper-case hex digit")
            .arg(bad + 1)
            .arg(printableFrame(r.mid(bad, 1)));
    return {};
}

} // namespace

QString commandName(uint8_t comando)
{
    if (comando < kCommandNames.size() && kCommandNames[comando])
        return QLatin1String(kCommandNames[comando]);
    return QStringLiteral("Command %1").arg(comando);
}

const Field *fieldAt(uint8_t address)
{
    for (const Field &f : kFields)
        if (address >= f.address && address < f.address + f.bytes) return &f;
    return nullptr;
}

bool isPasswordByte(int address)
{
    if (address < 0 || address > 255) return false;
    const Field *f = fieldAt(static_cast<uint8_t>(address));
    return f && isPassword(*f);
}

QByteArray withoutPasswords(const QByteArray &characters, const RequestHeader *answering)
{
    QByteArray shown = characters;
    for (qsizetype at = 0; at < characters.size(); ++at) {
        const char c = characters.at(at);
        if (c == '#' || c == '!') maskDataBytes(shown, at, passwordBytesAt(characters, at));
    }
    if (answering)
        maskDataBytes(shown, std::max<qsizetype>(0, characters.indexOf('!')),
                      passwordBytes(*answering, true));
    return shown;
}

QString frameMeaning(const QByteArray &frame)
{
    if (frame.size() < kDataOffset + kDataLength) return {};
    const RequestHeader h = requestHeader(frame);
    if (frame.at(0) == '#') return requestMeaning(frame, h);
    if (frame.at(0) == '!') return replyMeaning(frame, h);
    return {};
}

QString replyDefect(const QByteArray &r)
{
    if (r.size() < kFrameLength)
        return QStringLiteral("wrong length: %1 characters, a reply has %2")
            .arg(r.size())
            .arg(kFrameLength);
    QString defect = shapeDefect(r);
    if (!defect.isEmpty()) return defect;
    const int sum = nibbleSum(r) % 256;
    const int declared = hex_nibble(r.at(27)) * 16 + hex_nibble(r.at(26));
    if (sum != declared)
        return QStringLiteral("bad checksum: the frame says %1, its digits sum to %2")
            .arg(declared)
            .arg(sum);
    if (r.at(kFrameLength - 1) != '%') return QStringLiteral("does not end with '%'");
    return {};
}

QString printableFrame(const QByteArray &bytes)
{
    QString s;
    for (char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x20 && code < 0x7F && c != '\\')
            s += QLatin1Char(c);
        else
            s += QStringLiteral("\\x") +
                 QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
    }
    return s;
}

} // namespace vx
