#include "storedvalue.h"

#include "textforms.h"

namespace vx {

namespace {

// The device counts one power failure more than the window shows ("-1" is
// an empty counter), so the file keeps the shown text and a restore writes
// the held count. Writing the shown text would lose one on every round trip.
constexpr qint64 kPowerDownsShownMin = -1;
constexpr qint64 kPowerDownsShownMax = 65534;

} // namespace

bool isStorable(const Field &field, const QString &text)
{
    switch (field.form) {
    case TextForm::Flag:
        return text == QLatin1String("0") || text == QLatin1String("1");
    case TextForm::PowerDowns: {
        const auto n = integer(text);
        return n && *n >= kPowerDownsShownMin && *n <= kPowerDownsShownMax;
    }
    default:
        return isValid(field.form, text);
    }
}

QString whatIsStorable(TextForm form)
{
    switch (form) {
    case TextForm::Money2:
        return QStringLiteral("an amount from 0,00 to 655,35, with a decimal comma");
    case TextForm::Money3:
        return QStringLiteral("an amount from 0,00 to 167772,15, with a decimal comma");
    case TextForm::Count1:
        return QStringLiteral("a whole number from 0 to 255");
    case TextForm::Count2:
        return QStringLiteral("a whole number from 0 to 65535");
    case TextForm::Count3:
        return QStringLiteral("a whole number from 0 to 16777215");
    case TextForm::PowerDowns:
        return QStringLiteral("a whole number from -1 to 65534");
    case TextForm::Flag:
        return QStringLiteral("0 or 1");
    case TextForm::Code:
        return QStringLiteral("a letter, a two-digit year and a two-digit week, such as A0715");
    case TextForm::Serial:
        return QStringLiteral("twelve hex digits, or \"-\" for none");
    case TextForm::Data:
    case TextForm::Time:
        break;
    }
    return QStringLiteral("a value the timer can store");
}

QString textToWrite(const Field &field, const QString &text)
{
    if (field.form != TextForm::PowerDowns) return text;
    return QString::number(*integer(text) + 1);
}

TxData storedBytes(const Field &field, const QString &text)
{
    TxData bytes;
    bytes.fill('0');
    encode(field, textToWrite(field, text), text == QLatin1String("1"), bytes);
    return bytes;
}

} // namespace vx
