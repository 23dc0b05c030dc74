#include "textforms.h"

#include <QRegularExpression>

namespace vx {

namespace {

// A number text split into its parts, without any conversion to binary
// floating point.
struct Decimal
{
    bool negative = false;
    QString integerPart;
    QString fraction;
};

std::optional<Decimal> decompose(const QString &text)
{
    // Anchored at the very end: "$" alone would also match before a final
    // newline, and "1,50\n" would pass for a number.
    static const QRegularExpression re(
        QRegularExpression::anchoredPattern(QStringLiteral("(-?)([0-9]+)(?:,([0-9]*))?")));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    return Decimal{!m.captured(1).isEmpty(), m.captured(2), m.captured(3)};
}

// Value × 100 rounded to the nearest whole number, ties to even; magnitude
// only. nullopt when it does not fit 64 bits.
std::optional<quint64> roundedHundredths(const Decimal &d)
{
    QString integerPart = d.integerPart;
    while (integerPart.size() > 1 && integerPart.startsWith(QLatin1Char('0')))
        integerPart.remove(0, 1);
    if (integerPart.size() > 15) return std::nullopt;
    quint64 v = integerPart.toULongLong() * 100;
    const QString f = d.fraction + QStringLiteral("00");
    v += static_cast<quint64>(f.at(0).digitValue() * 10 + f.at(1).digitValue());
    const QString rest = d.fraction.mid(2);
    if (!rest.isEmpty()) {
        const int first = rest.at(0).digitValue();
        const bool restPastHalf = rest.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]")));
        if (first > 5 || (first == 5 && restPastHalf) || (first == 5 && (v % 2) == 1)) ++v;
    }
    return v;
}

bool allDigits(const QString &s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

bool hex12(const QString &s)
{
    static const QRegularExpression re(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9A-Fa-f]{12}")));
    return re.match(s).hasMatch();
}

struct DateTime
{
    unsigned a, b, c;
};

std::optional<DateTime> date(const QString &t)
{
    if (t.size() != 10 || t.at(2) != QLatin1Char('-') || t.at(5) != QLatin1Char('-'))
        return std::nullopt;
    const QString d = t.left(2), m = t.mid(3, 2), y = t.mid(6);
    if (!allDigits(d) || !allDigits(m) || !allDigits(y)) return std::nullopt;
    const unsigned day = d.toUInt(), month = m.toUInt(), year = y.toUInt();
    if (day > 31 || month > 12 || year < 2000 || year > 2255) return std::nullopt;
    return DateTime{day, month, year - 2000};
}

std::optional<DateTime> hourMinute(const QString &t)
{
    if (t.size() != 5 || t.at(2) != QLatin1Char(':')) return std::nullopt;
    const QString h = t.left(2), m = t.mid(3);
    if (!allDigits(h) || !allDigits(m) || h.toUInt() > 23 || m.toUInt() > 59) return std::nullopt;
    return DateTime{h.toUInt(), m.toUInt(), 0};
}

bool code(const QString &t)
{
    return t.size() == 5 && t.at(0).unicode() <= 255 && allDigits(t.mid(1));
}

std::optional<quint64> count(const QString &t, quint64 maximum)
{
    const auto n = integer(t);
    if (!n || *n < 0 || static_cast<quint64>(*n) > maximum) return std::nullopt;
    return static_cast<quint64>(*n);
}

void putNumber(TxData &txData, quint64 n, int bytes)
{
    for (int k = 0; k < bytes; ++k)
        putByte(txData, k, static_cast<uint8_t>((n >> (8 * k)) & 0xFF));
}

// The device's three-byte encoding: as many digits as the value needs, after
// clearing the whole buffer.
void putThreeBytes(TxData &txData, quint64 n)
{
    txData.fill('0');
    int k = 0;
    while (n >= 16) {
        txData[k++] = nibble_hex(static_cast<int>(n % 16));
        n /= 16;
    }
    txData[k] = nibble_hex(static_cast<int>(n));
}

constexpr quint64 kMax3 = 16777215;

} // namespace

bool isNumber(const QString &text)
{
    return decompose(text).has_value();
}

std::optional<qint64> integer(const QString &text)
{
    static const QRegularExpression re(
        QRegularExpression::anchoredPattern(QStringLiteral("-?[0-9]{1,18}")));
    if (!re.match(text).hasMatch()) return std::nullopt;
    return text.toLongLong();
}

std::optional<uint32_t> cents(const QString &text)
{
    const auto d = decompose(text);
    if (!d) return std::nullopt;
    const auto v = roundedHundredths(*d);
    if (!v || (d->negative && *v != 0) || *v > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(*v);
}

bool withinLimit(const QString &text, qint64 limit)
{
    const auto d = decompose(text);
    if (!d) return false;
    // Compare the exact value: 655,351 is above 655,35 even though it rounds
    // down to it.
    Decimal truncated = *d;
    truncated.fraction = d->fraction.left(2);
    const auto base = roundedHundredths(truncated);
    if (!base) return false;
    const bool rest = d->fraction.mid(2).contains(QRegularExpression(QStringLiteral("[1-9]")));
    if (d->negative) return *base == 0 && !rest;
    return *base < static_cast<quint64>(limit) || (*base == static_cast<quint64>(limit) && !rest);
}

bool isValid(TextForm form, const QString &text)
{
    switch (form) {
    case TextForm::Money2: {
        const auto c = cents(text);
        return c && *c <= 65535;
    }
    case TextForm::Money3: {
        const auto c = cents(text);
        return c && *c <= kMax3;
    }
    case TextForm::Count1:
        return count(text, 255).has_value();
    case TextForm::Count2:
        return count(text, 65535).has_value();
    case TextForm::Count3:
        return count(text, kMax3).has_value();
    case TextForm::PowerDowns: {
        const auto n = integer(text);
        return n && *n <= 65535;
    }
    case TextForm::Flag:
        return true;
    case TextForm::Date:
        return text == QLatin1String("-") || date(text).has_value();
    case TextForm::Time:
        return text == QLatin1String("-") || hourMinute(text).has_value();
    case TextForm::Code:
        return code(text);
    case TextForm::Serial:
        return text == QLatin1String("-") || hex12(text);
    case TextForm::Stamp:
    case TextForm::Text:
        break;
    }
    return false;
}

bool encode(const Field &field, const QString &text, bool ticked, TxData &txData)
{
    if (!isValid(field.form, text)) return false;
    switch (field.form) {
    case TextForm::Money2:
        putNumber(txData, *cents(text), 2);
        break;
    case TextForm::Money3:
        putThreeBytes(txData, *cents(text));
        break;
    case TextForm::Count1:
    case TextForm::Count2:
        putNumber(txData, *integer(text), field.bytes);
        break;
    case TextForm::Count3:
        putThreeBytes(txData, *integer(text));
        break;
    case TextForm::PowerDowns:
        putNumber(txData, static_cast<quint64>(std::max<qint64>(0, *integer(text))), 2);
        break;
    case TextForm::Flag:
        txData[0] = ticked ? '1' : '0';
        txData[1] = '0';
        break;
    case TextForm::Date: {
        const DateTime d = text == QLatin1String("-") ? DateTime{0, 0, 0} : *date(text);
        putByte(txData, 0, static_cast<uint8_t>(d.a));
        putByte(txData, 1, static_cast<uint8_t>(d.b));
        putByte(txData, 2, static_cast<uint8_t>(d.c));
        break;
    }
    case TextForm::Time: {
        const DateTime h = text == QLatin1String("-") ? DateTime{0, 0, 0} : *hourMinute(text);
        putByte(txData, 0, static_cast<uint8_t>(h.a));
        putByte(txData, 1, static_cast<uint8_t>(h.b));
        break;
    }
    case TextForm::Code:
        putByte(txData, 0, static_cast<uint8_t>(text.mid(3, 2).toUInt()));
        putByte(txData, 1, static_cast<uint8_t>(text.mid(1, 2).toUInt()));
        putByte(txData, 2, static_cast<uint8_t>(text.at(0).unicode()));
        break;
    case TextForm::Serial: {
        const QString s =
            text == QLatin1String("-") ? QStringLiteral("000000000000") : text.toUpper();
        for (int i = 0; i < 12; ++i)
            txData[i] = s.at(11 - i).toLatin1();
        break;
    }
    case TextForm::Stamp:
    case TextForm::Text:
        break;
    }
    return true;
}

namespace {

uint32_t numberAt(const QByteArray &frame, int first, int bytes)
{
    uint32_t n = 0;
    for (int k = bytes - 1; k >= 0; --k)
        n = (n << 8) | dataByte(frame, first + k);
    return n;
}

// The serial number the window shows: the field's data characters, last
// first, as they came (a character beyond the frame reads "0").
QString reversedCharacters(const QByteArray &frame, int first, int bytes)
{
    QString s;
    for (int i = kDataOffset + 2 * (first + bytes) - 1; i >= kDataOffset + 2 * first; --i)
        s += QLatin1Char(i < frame.size() ? frame.at(i) : '0');
    return s;
}

// The text of all-zero bytes in the forms that show the placeholder for it.
QString zeroText(TextForm form)
{
    switch (form) {
    case TextForm::Date:
        return QStringLiteral("00-00-2000");
    case TextForm::Time:
        return QStringLiteral("00:00");
    case TextForm::Stamp:
        return QStringLiteral("00-00-2000 @ 00:00");
    case TextForm::Serial:
        return QStringLiteral("000000000000");
    default:
        return {};
    }
}

// All zero is the form's "nothing recorded yet" and shows the placeholder by
// the row's Shown rule; any other day or month must be one.
bool isDateBytes(unsigned day, unsigned month)
{
    return (day == 0 && month == 0) || (day >= 1 && day <= 31 && month >= 1 && month <= 12);
}

bool isTimeBytes(unsigned hour, unsigned minute)
{
    return hour <= 23 && minute <= 59;
}

// A frame whose data field holds the buffer, as a reply would carry it.
QByteArray frameOf(const TxData &data)
{
    QByteArray frame(kDataOffset, '0');
    frame.append(data.data(), kDataLength);
    return frame;
}

} // namespace

bool isUnprintable(const Field &field, const QByteArray &frame, int first)
{
    const auto b = [&](int k) { return unsigned(dataByte(frame, first + k)); };
    switch (field.form) {
    case TextForm::Code:
        return b(2) < 0x21 || b(2) > 0x7E || b(1) > 99 || b(0) > 99;
    case TextForm::Flag:
        return b(0) > 1;
    case TextForm::Date:
        return !isDateBytes(b(0), b(1));
    case TextForm::Time:
        return !isTimeBytes(b(0), b(1));
    case TextForm::Stamp:
        return !isDateBytes(b(0), b(1)) || !isTimeBytes(b(3), b(4));
    default:
        return false;
    }
}

QByteArray fieldBytes(const Field &field, const QByteArray &frame, int first)
{
    QByteArray bytes;
    for (int k = 0; k < field.bytes; ++k)
        bytes.append(static_cast<char>(dataByte(frame, first + k)));
    return bytes;
}

bool putFieldBytes(const Field &field, const QByteArray &bytes, TxData &txData)
{
    if (bytes.size() != field.bytes) return false;
    for (int k = 0; k < field.bytes; ++k)
        putByte(txData, k, static_cast<uint8_t>(bytes.at(k)));
    return true;
}

QString shownBytes(const Field &field, const QByteArray &bytes)
{
    TxData data;
    data.fill('0');
    putFieldBytes(field, bytes, data);
    return shownText(field, frameOf(data));
}

QString bytesText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString makerNumberText(const QString &code, const QString &number)
{
    if (code.isEmpty() || code == QLatin1String("-")) return QStringLiteral("-");
    const auto n = integer(number);
    return code + (n && *n >= 0 ? QString::number(*n) : number);
}

QString decode(const Field &field, const QByteArray &frame, int first)
{
    const auto b = [&](int k) { return unsigned(dataByte(frame, first + k)); };
    if (field.form != TextForm::Flag && isUnprintable(field, frame, first))
        return QStringLiteral("-");
    switch (field.form) {
    case TextForm::Money2:
    case TextForm::Money3:
        return moeda_texto(numberAt(frame, first, field.bytes));
    case TextForm::Date:
        return dateText(b(0), b(1), b(2));
    case TextForm::Time:
        return timeText(b(0), b(1));
    case TextForm::Code:
        return QString(QChar(b(2))) + pad2(b(1)) + pad2(b(0));
    case TextForm::Serial:
        return reversedCharacters(frame, first, field.bytes);
    case TextForm::Stamp:
        return stampText(b(0), b(1), b(2), b(3), b(4));
    case TextForm::Text:
        return {};
    default:
        return QString::number(numberAt(frame, first, field.bytes));
    }
}

QString shownAfterWrite(const Field &field, const QString &text, bool ticked)
{
    TxData data;
    data.fill('0');
    if (field.form == TextForm::Text || field.form == TextForm::Stamp ||
        !encode(field, text, ticked, data))
        return text;
    return shownText(field, frameOf(data));
}

QString shownText(const Field &field, const QByteArray &frame, int first)
{
    const QString text = decode(field, frame, first);
    switch (field.shown) {
    case Shown::AsRead:
        break;
    case Shown::Pin4:
        return pin4(text.toUInt());
    case Shown::Pad2:
        return pad2(text.toUInt());
    case Shown::OneLess:
        return QString::number(text.toLongLong() - 1);
    case Shown::DashWhenZero:
        // Nothing recorded yet.
        if (text == zeroText(field.form)) return QStringLiteral("-");
        break;
    }
    return text;
}

QString pad2(unsigned x)
{
    return (x < 10 ? QStringLiteral("0") : QString()) + QString::number(x);
}

QString pin4(unsigned x)
{
    return QString::number(x).rightJustified(4, QLatin1Char('0'));
}

QString deviceDateText(unsigned day, unsigned month, unsigned yearMinus2000)
{
    return isDateBytes(day, month) ? dateText(day, month, yearMinus2000) : QStringLiteral("-");
}

QString deviceTimeText(unsigned hour, unsigned minute)
{
    return isTimeBytes(hour, minute) ? timeText(hour, minute) : QStringLiteral("-");
}

QString dateText(unsigned day, unsigned month, unsigned yearMinus2000)
{
    return pad2(day) + QLatin1Char('-') + pad2(month) + QLatin1Char('-') +
           QString::number(yearMinus2000 + 2000);
}

QString timeText(unsigned hour, unsigned minute)
{
    return pad2(hour) + QLatin1Char(':') + pad2(minute);
}

QString stampText(unsigned day, unsigned month, unsigned yearMinus2000, unsigned hour,
                  unsigned minute)
{
    return dateText(day, month, yearMinus2000) + QStringLiteral(" @ ") + timeText(hour, minute);
}

} // namespace vx
