#include "legendas.h"

namespace vx {

QString Legendas::texto(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString Legendas::legenda(const QString &controlo, int idioma)
{
    const QByteArray nome = controlo.toUtf8();
    const std::string_view n(nome.constData(), static_cast<size_t>(nome.size()));
    for (const Legenda &l : kLegendas)
        if (l.controlo == n) return texto(idioma == 1 ? l.en : l.pt);
    for (const Legenda &l : kLegendasFabrica)
        if (l.controlo == n) return texto(idioma == 1 ? l.en : l.pt);
    for (const LegendaFixa &l : kLegendasFixas)
        if (l.controlo == n) return texto(l.texto);
    return {};
}

bool Legendas::oitoPontos(const QString &controlo)
{
    const QByteArray nome = controlo.toUtf8();
    const std::string_view n(nome.constData(), static_cast<size_t>(nome.size()));
    for (const Legenda &l : kLegendas)
        if (l.controlo == n) return l.oitoPt;
    for (const LegendaFixa &l : kLegendasFixas)
        if (l.controlo == n) return l.oitoPt;
    return false;
}

int Legendas::contarOitoPontos()
{
    int n = 0;
    for (const Legenda &l : kLegendas)
        n += l.oitoPt ? 1 : 0;
    for (const LegendaFixa &l : kLegendasFixas)
        n += l.oitoPt ? 1 : 0;
    return n;
}

QString Legendas::nomeAcessivel(const QString &controlo, int idioma)
{
    return nomeAcessivel(controlo, idioma,
                         [idioma](const QString &n) { return legenda(n, idioma); });
}

QString Legendas::nomeAcessivel(const QString &controlo, int idioma,
                                const std::function<QString(const QString &)> &caption)
{
    const QByteArray nome = controlo.toUtf8();
    const std::string_view n(nome.constData(), static_cast<size_t>(nome.size()));
    for (const NomeAcessivel &a : kNomesAcessiveis) {
        if (a.controlo != n) continue;
        QStringList partes;
        if (!a.grupo.empty()) partes << caption(texto(a.grupo)).trimmed();
        if (!a.legenda.empty()) partes << caption(texto(a.legenda)).trimmed();
        const std::string_view extra = idioma == 1 ? a.extraEn : a.extraPt;
        if (!extra.empty()) partes << texto(extra);
        return partes.join(QLatin1Char(' '));
    }
    return {};
}

QString Legendas::titulo(int idioma)
{
    return idioma == 1 ? QStringLiteral("VX308 Maintnance v3.5")
                       : QStringLiteral("Manutenção VX308 v3.5");
}

} // namespace vx
