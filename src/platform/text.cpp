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

bool isLoneSurrogate(const QString &text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate()) return i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate();
    return c.isLowSurrogate() && (i == 0 || !text.at(i - 1).isHighSurrogate());
}

QString printableText(const QString &text)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == u'\\')
            shown += QStringLiteral("\\\\");
        else if (u < 0x20 || (u >= 0x7f && u < 0xa0))
            shown += QStringLiteral("\\x%1").arg(static_cast<int>(u), 2, 16, QLatin1Char('0'));
        else if (c.category() == QChar::Other_Format || isLoneSurrogate(text, i))
            shown += QStringLiteral("\\u%1").arg(static_cast<int>(u), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
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
