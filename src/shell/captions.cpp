#include "captions.h"

namespace vx {

QString Captions::text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString Captions::caption(const QString &control, int idioma)
{
    const QByteArray name = control.toUtf8();
    const std::string_view n(name.constData(), static_cast<size_t>(name.size()));
    for (const std::span<const Caption> table : kTranslatedTables)
        for (const Caption &l : table)
            if (l.control == n) return text(idioma == 1 ? l.en : l.pt);
    for (const FixedCaption &l : kFixedCaptions)
        if (l.control == n) return text(l.text);
    return {};
}

bool Captions::eightPoints(const QString &control)
{
    const QByteArray name = control.toUtf8();
    const std::string_view n(name.constData(), static_cast<size_t>(name.size()));
    for (const Caption &l : kCaptions)
        if (l.control == n) return l.eightPt;
    for (const FixedCaption &l : kFixedCaptions)
        if (l.control == n) return l.eightPt;
    return false;
}

int Captions::countEightPoint()
{
    int n = 0;
    for (const Caption &l : kCaptions)
        n += l.eightPt ? 1 : 0;
    for (const FixedCaption &l : kFixedCaptions)
        n += l.eightPt ? 1 : 0;
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
        const std::string_view extra = idioma == 1 ? a.extraEn : a.extraPt;
        if (!extra.empty()) parts << text(extra);
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
    return idioma == 1 ? QStringLiteral("VX308 Maintnance v3.5")
                       : QStringLiteral("Manutenção VX308 v3.5");
}

} // namespace vx
