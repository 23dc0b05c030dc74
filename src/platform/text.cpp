#include "text.h"

#include <atomic>

namespace vx {

namespace {

std::atomic<int> g_programLanguage{0};

} // namespace

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

QString textIn(const Text &text)
{
    return textIn(text, programLanguage());
}

QString textOf(std::span<const Text> table, std::string_view key)
{
    return textOf(table, key, programLanguage());
}

void setProgramLanguage(int idioma)
{
    g_programLanguage = knownLanguage(idioma);
}

int programLanguage()
{
    return g_programLanguage;
}

} // namespace vx
