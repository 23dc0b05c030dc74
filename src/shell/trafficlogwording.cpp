#include "trafficlogwording.h"

#include "shelltexts.h"

#include <QRegularExpression>
#include <array>
#include <string_view>

namespace vx {

namespace {

// "hh:mm:ss.zzz " and the kind, padded to eight characters, before the rest.
constexpr qsizetype kKindAt = 13;
constexpr qsizetype kKindWidth = 8;
// The longest Portuguese kind: the columns after it stay aligned.
constexpr qsizetype kPortugueseKindWidth = 11;

QString portugueseMeaning(QString meaning)
{
    for (const Text &w : kTrafficLogPhrases)
        meaning.replace(textIn(w, 1), textIn(w, 0));
    static const QRegularExpression notHex(
        QStringLiteral("character (\\d+) is (.+), not an upper-case hex digit"));
    meaning.replace(notHex, QStringLiteral("o carácter \\1 é \\2, não um dígito hexadecimal "
                                           "maiúsculo"));
    static const QRegularExpression unknownCommand(QStringLiteral("\\bCommand (\\d+)"));
    meaning.replace(unknownCommand, QStringLiteral("Comando \\1"));
    meaning.replace(QStringLiteral(" ('0' active)"), QStringLiteral(" ('0' activa)"));
    meaning.replace(QStringLiteral("ReadBattery level "), QStringLiteral("ReadBattery nível "));
    return meaning;
}

} // namespace

QString TrafficLogWording::inLanguage(const QString &line, int idioma)
{
    if (knownLanguage(idioma) == 1 || line.size() < kKindAt + kKindWidth) return line;
    const QString kind = line.mid(kKindAt, kKindWidth).trimmed();
    for (const Text &k : kTrafficLogKinds) {
        if (kind != textIn(k, 1)) continue;
        return line.left(kKindAt) + textIn(k, 0).leftJustified(kPortugueseKindWidth) +
               portugueseMeaning(line.mid(kKindAt + kKindWidth));
    }
    return line;
}

} // namespace vx
