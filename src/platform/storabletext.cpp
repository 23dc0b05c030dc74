#include "storabletext.h"

#include "platformtexts.h"
#include "text.h"

namespace vx {

namespace {

QString codePoint(QChar c)
{
    return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

qsizetype StorableText::firstUnstorable(const QString &s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isNull()) return i;
        if (isLoneSurrogate(s, i)) return i;
    }
    return -1;
}

QString StorableText::describe(const QString &s, qsizetype at)
{
    const QChar c = s.at(at);
    return textOf(kRecordsDatabaseTexts, c.isNull() ? "nulCharacter" : "loneSurrogate")
        .arg(codePoint(c))
        .arg(at + 1);
}

QString StorableText::shown(const QString &s)
{
    const QString shown = printableText(s.left(kShownLength));
    return QLatin1Char('"') + shown + (s.size() > kShownLength ? QStringLiteral("…") : QString()) +
           QLatin1Char('"');
}

} // namespace vx
