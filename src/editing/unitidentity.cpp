#include "unitidentity.h"

#include "editset.h"
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
    UnitIdentity u{edit.text(QStringLiteral("text_numfab_ano")),
                   edit.text(QStringLiteral("Text_numfab_num")),
                   edit.text(QStringLiteral("Text_sn_apl"))};
    // "-" is the window's placeholder for a value not read.
    for (QString *part : {&u.code, &u.number, &u.serial})
        if (*part == QLatin1String("-")) part->clear();
    return u;
}

QString UnitIdentity::numberText(const QByteArray &makerReply)
{
    return pad2(dataByte(makerReply, 0));
}

QString UnitIdentity::codeText(const QByteArray &makerReply)
{
    return QString(QChar(dataByte(makerReply, 3))) + pad2(dataByte(makerReply, 2)) +
           pad2(dataByte(makerReply, 1));
}

UnitIdentity UnitIdentity::fromReplies(const QByteArray &makerReply, const QByteArray &serialReply)
{
    return {codeText(makerReply), numberText(makerReply),
            QString::number(dataNumber(serialReply, 3))};
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
