#include "messagetexts.h"

#include "editset.h"

namespace vx {

QString messageText(MessageId id, int idioma)
{
    for (const MessageText &m : kMessageTexts) {
        if (m.id != id) continue;
        const std::string_view s = idioma == 1 ? m.en : m.pt;
        return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    }
    return {};
}

int languageOf(const EditSet &edit)
{
    return edit.checked(QStringLiteral("mnu_EN")) ? 1 : 0;
}

std::string_view keyedText(std::span<const KeyedText> table, std::string_view key, int idioma)
{
    for (const KeyedText &t : table)
        if (t.key == key) return idioma == 1 ? t.en : t.pt;
    return {};
}

} // namespace vx
