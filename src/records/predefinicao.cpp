#include "predefinicao.h"

#include "avisoficheiro.h"
#include "bases.h"
#include "editset.h"
#include "tabelas.h"

namespace vx {

namespace {

int escalar(int v, int ecra, int desenho)
{
    return qRound(static_cast<double>(v) * ecra / desenho);
}

} // namespace

Predefinicao::Predefinicao(EditSet &edit, Bases &bases, MessageSink &messages)
    : m_edit(edit), m_bases(bases), m_messages(messages)
{
}

RecordStore::Values Predefinicao::valores(const EditSet &edit)
{
    RecordStore::Values v;
    for (const auto &c : kPredefinidos)
        v << qMakePair(nome(c.campo), QVariant(edit.text(nome(c.janela))));
    return v;
}

bool Predefinicao::aceitar()
{
    QString erro;
    if (m_bases.gravarDefinicoes(valores(m_edit), &erro)) return true;
    avisarErroFicheiro(m_messages, m_bases.ficheiroValores(), erro);
    return false;
}

QSize Predefinicao::escalarJanela(const QSize &desenho, const QSize &ecra)
{
    return {escalar(desenho.width(), ecra.width(), kDesenho.width()),
            escalar(desenho.height(), ecra.height(), kDesenho.height())};
}

QRect Predefinicao::escalarControlo(const QRect &desenho, const QSize &ecra)
{
    return {escalar(desenho.left(), ecra.width(), kDesenho.width()),
            escalar(desenho.top(), ecra.height(), kDesenho.height()),
            escalar(desenho.width(), ecra.width(), kDesenho.width()),
            escalar(desenho.height(), ecra.height(), kDesenho.height())};
}

} // namespace vx
