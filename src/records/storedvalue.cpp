#include "storedvalue.h"

#include "messagetexts.h"
#include "textforms.h"

namespace vx {

namespace {

// The device counts one power failure more than the window shows ("-1" is
// an empty counter, Shown::OneLess), so the file keeps the shown text and a
// restore writes the held count. Writing the shown text would lose one on
// every round trip.
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
        return textOf(kStorableTexts, "Money2");
    case TextForm::Money3:
        return textOf(kStorableTexts, "Money3");
    case TextForm::Count1:
        return textOf(kStorableTexts, "Count1");
    case TextForm::Count2:
        return textOf(kStorableTexts, "Count2");
    case TextForm::Count3:
        return textOf(kStorableTexts, "Count3");
    case TextForm::PowerDowns:
        return textOf(kStorableTexts, "PowerDowns");
    case TextForm::Flag:
        return textOf(kStorableTexts, "Flag");
    case TextForm::Code:
        return textOf(kStorableTexts, "Code");
    case TextForm::Serial:
        return textOf(kStorableTexts, "Serial");
    case TextForm::Date:
    case TextForm::Time:
    case TextForm::Stamp:
    case TextForm::Text:
        break;
    }
    return textOf(kStorableTexts, "other");
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

bool rawApplies(const Field &field, const QString &text, const QByteArray &raw)
{
    if (raw.size() != field.bytes) return false;
    if (field.form == TextForm::Flag) return text == (raw.at(0) != 0 ? u"1" : u"0");
    return shownBytes(field, raw) == text;
}

bool isStorable(const Field &field, const QString &text, const QByteArray &raw)
{
    return rawApplies(field, text, raw) || isStorable(field, text);
}

TxData storedBytes(const Field &field, const QString &text, const QByteArray &raw)
{
    if (!rawApplies(field, text, raw)) return storedBytes(field, text);
    TxData bytes;
    bytes.fill('0');
    putFieldBytes(field, raw, bytes);
    return bytes;
}

} // namespace vx
