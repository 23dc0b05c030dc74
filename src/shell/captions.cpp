#include "captions.h"

#include <algorithm>

namespace vx {

QString Captions::text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString Captions::caption(const QString &control, int idioma)
{
    const QByteArray name = control.toUtf8();
    const std::string_view n(name.constData(), static_cast<size_t>(name.size()));
    for (const std::span<const Text> table : kTranslatedTables)
        if (const Text *t = findText(table, n)) return textIn(*t, idioma);
    return {};
}

bool Captions::eightPoints(const QString &control)
{
    const QByteArray name = control.toUtf8();
    const std::string_view n(name.constData(), static_cast<size_t>(name.size()));
    // Menus keep the menu bar's font; the hidden controls are never shown.
    if (n.starts_with("mnu_") || std::ranges::find(kHiddenCaptioned, n) != kHiddenCaptioned.end())
        return false;
    return findText(kCaptions, n) || findText(kFixedCaptions, n);
}

int Captions::countEightPoint()
{
    int n = 0;
    for (const std::span<const Text> table :
         {std::span<const Text>(kCaptions), std::span<const Text>(kFixedCaptions)})
        for (const Text &l : table)
            n += eightPoints(text(l.key)) ? 1 : 0;
    return n;
}

QString Captions::accessibleName(const QString &control, int idioma)
{
    return accessibleName(control, idioma,
                          [idioma](const QString &n) { return caption(n, idioma); });
}

QString Captions::accessibleName(const QString &control, int idioma,
                                 const std::function<QString(const QString &)> &caption)
{
    const QByteArray name = control.toUtf8();
    const std::string_view n(name.constData(), static_cast<size_t>(name.size()));
    for (const AccessibleName &a : kAccessibleNames) {
        if (a.control != n) continue;
        QStringList parts;
        if (!a.group.empty()) parts << caption(text(a.group)).trimmed();
        if (!a.caption.empty()) parts << caption(text(a.caption)).trimmed();
        if (const Text *word = findText(kAccessibleWords, n)) parts << textIn(*word, idioma);
        return parts.join(QLatin1Char(' '));
    }
    return {};
}

namespace {

// Where the access key of `caption` goes: the first letter of a word that no
// earlier caption took, else its first letter or digit not taken; -1 when
// every one is.
qsizetype mnemonicPosition(const QString &caption, const QString &taken)
{
    const auto free = [&](qsizetype i) {
        const QChar c = caption.at(i);
        return c.isLetterOrNumber() && !taken.contains(c.toLower());
    };
    for (qsizetype i = 0; i < caption.size(); ++i)
        if ((i == 0 || caption.at(i - 1).isSpace()) && free(i)) return i;
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (free(i)) return i;
    return -1;
}

} // namespace

QStringList Captions::withMnemonics(const QStringList &captions)
{
    QStringList out;
    QString taken;
    for (const QString &raw : captions) {
        const QString caption = plain(raw);
        const qsizetype at = mnemonicPosition(caption, taken);
        QString marked = caption;
        marked.replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (at >= 0) {
            taken += caption.at(at).toLower();
            // Every '&' before the key became two.
            const qsizetype shift = caption.left(at).count(QLatin1Char('&'));
            marked.insert(at + shift, QLatin1Char('&'));
        }
        out << marked;
    }
    return out;
}

QString Captions::plain(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size()) ++i;
        out += text.at(i);
    }
    return out;
}

QString Captions::title(int idioma)
{
    return textOf(kTitleTexts, "titulo_base", idioma);
}

} // namespace vx
