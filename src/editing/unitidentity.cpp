#include "unitidentity.h"

#include "editset.h"
#include "fieldtable.h"
#include "frame.h"
#include "textforms.h"

namespace vx {

QString UnitIdentity::label() const
{
    if (!known()) return QStringLiteral("?");
    return makerNumber() + QStringLiteral(" / ") + serial;
}

UnitIdentity UnitIdentity::of(const EditSet &edit)
{
    UnitIdentity u{edit.text(fieldName(FieldId::MakerCode)),
                   edit.text(fieldName(FieldId::MakerNumber)),
                   edit.text(fieldName(FieldId::ApplicationSerial))};
    // "-" is the window's placeholder for a value not read, except for a
    // code the timer holds as bytes no text says (one never set up): that
    // is what the unit says it is.
    const bool blankCode = !edit.rawBytes(fieldName(FieldId::MakerCode)).isEmpty();
    for (QString *part : {&u.code, &u.number, &u.serial})
        if (*part == QLatin1String("-") && !(part == &u.code && blankCode)) part->clear();
    return u;
}

QString UnitIdentity::makerNumber() const
{
    return makerNumberText(code, number);
}

QString UnitIdentity::shownMakerNumber(const EditSet &edit)
{
    return makerNumberText(edit.text(fieldName(FieldId::MakerCode)),
                           edit.text(fieldName(FieldId::MakerNumber)));
}

UnitIdentity UnitIdentity::fromReplies(const QByteArray &makerReply, const QByteArray &serialReply)
{
    // The replies of the read's own steps for these fields.
    const Field &number = fieldRow(FieldId::MakerNumber);
    const Field &code = fieldRow(FieldId::MakerCode);
    return {shownText(code, makerReply, code.address - number.address),
            shownText(number, makerReply),
            shownText(fieldRow(FieldId::ApplicationSerial), serialReply)};
}

namespace {

bool sameNumber(const QString &a, const QString &b)
{
    const auto x = integer(a);
    const auto y = integer(b);
    return x && y ? *x == *y : a == b;
}

} // namespace

bool UnitIdentity::operator==(const UnitIdentity &other) const
{
    return code == other.code && sameNumber(number, other.number) &&
           sameNumber(serial, other.serial);
}

} // namespace vx
