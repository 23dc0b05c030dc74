#include "trafficlogwording.h"

#include <QRegularExpression>
#include <array>
#include <string_view>

namespace vx {

namespace {

struct Wording
{
    std::string_view en;
    std::string_view pt;
};

// "hh:mm:ss.zzz " and the kind, padded to eight characters, before the rest.
constexpr qsizetype kKindAt = 13;
constexpr qsizetype kKindWidth = 8;
// The longest Portuguese kind: the columns after it stay aligned.
constexpr qsizetype kPortugueseKindWidth = 11;

constexpr std::array<Wording, 5> kKinds{{
    {"sent", "enviado"},
    {"unsent", "não enviado"},
    {"received", "recebido"},
    {"rejected", "rejeitado"},
    {"time-out", "time-out"},
}};

// The words around the names and values, longest first where one holds
// another.
constexpr std::array<Wording, 22> kPhrases{{
    {"late reply to an earlier request: ", "resposta atrasada a um pedido anterior: "},
    {"reply when no request was waiting: ", "resposta sem nenhum pedido à espera: "},
    {" characters after the reply, thrown away", " caracteres depois da resposta, descartados"},
    {"port refused the request (not open): ", "a porta recusou o pedido (não está aberta): "},
    {"port refused the request (", "a porta recusou o pedido ("},
    {"no reply within ", "sem resposta em "},
    {" ms to ", " ms a "},
    {" characters of noise before the reply's '!'",
     " caracteres de ruído antes do '!' da resposta"},
    {"does not start with '!'", "não começa por '!'"},
    {"does not end with '%'", "não termina em '%'"},
    {"wrong length: '%' after ", "comprimento errado: '%' depois de "},
    {"wrong length: ", "comprimento errado: "},
    {" characters, a reply has ", " caracteres, uma resposta tem "},
    {"bad checksum: the frame says ", "soma de controlo errada: a trama diz "},
    {", its digits sum to ", ", os seus dígitos somam "},
    {" address ", " endereço "},
    {", weekday ", ", dia da semana "},
    {", second ", ", segundo "},
    {" position ", " posição "},
    {", code ", ", código "},
    {" = masked", " = mascarada"},
    {", password bytes masked", ", bytes de palavra-passe mascarados"},
}};

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString portugueseMeaning(QString meaning)
{
    for (const Wording &w : kPhrases)
        meaning.replace(text(w.en), text(w.pt));
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
    if (idioma == 1 || line.size() < kKindAt + kKindWidth) return line;
    const QString kind = line.mid(kKindAt, kKindWidth).trimmed();
    for (const Wording &k : kKinds) {
        if (kind != text(k.en)) continue;
        return line.left(kKindAt) + text(k.pt).leftJustified(kPortugueseKindWidth) +
               portugueseMeaning(line.mid(kKindAt + kKindWidth));
    }
    return line;
}

} // namespace vx
