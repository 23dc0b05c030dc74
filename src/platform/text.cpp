#include "text.h"

namespace vx {

QString textIn(const Text &text, int idioma)
{
    const std::string_view s = pick(text, idioma);
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString textOf(std::span<const Text> table, std::string_view key, int idioma)
{
    const Text *t = findText(table, key);
    return t ? textIn(*t, idioma) : QString();
}

} // namespace vx
