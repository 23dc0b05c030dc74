#include "aplicacao.h"

#include "avisoficheiro.h"
#include "bases.h"
#include "editset.h"
#include "engine.h"
#include "formmain.h"
#include "frmsplash.h"
#include "link.h"
#include "novaunidade.h"
#include "portchooser.h"
#include "predefinicao.h"
#include "relatorio.h"
#include "shutdown.h"

#include <QDir>

namespace vx {

Aplicacao::Aplicacao(const Setup &setup, const Plataforma &p, QObject *parent)
    : QObject(parent), m_p(p)
{
    const QString pasta = setup.dataFolder.isEmpty() ? QDir::currentPath() : setup.dataFolder;
    m_bases = std::make_unique<Bases>(p.store, pasta);
    m_link = std::make_unique<Link>(p.port, p.messages, &p.end);
    m_edit = std::make_unique<EditSet>(p.messages);
    m_engine = std::make_unique<Engine>(*m_edit, *m_link, p.clock, p.messages, p.end);
    m_nova = std::make_unique<NovaUnidade>(*m_edit, *m_bases, p.messages, p.clock);
    m_relatorio = std::make_unique<Relatorio>(*m_edit, *m_bases, p.printer, p.messages, p.clock);
    m_predefinicao = std::make_unique<Predefinicao>(*m_edit, *m_bases, p.messages);
    m_portas = std::make_unique<PortChooser>(*m_edit, p.port, *m_bases, p.messages,
                                             [this] { return m_engine->activo(); });
    m_saida = std::make_unique<Shutdown>(*m_edit, *m_link, *m_engine, p.end,
                                         [this] { m_nova->cancelar(); });
    const Servicos s{*m_edit,   *m_engine, *m_link, *m_bases,     p.messages,     p.clock,
                     *m_portas, *m_saida,  *m_nova, *m_relatorio, *m_predefinicao};
    m_janela = std::make_unique<FormMain>(s, setup.factoryMenu);
    if (setup.screen.isValid()) m_janela->setEcra(setup.screen);
    m_splash = std::make_unique<FrmSplash>(*m_janela, *m_bases);
}

Aplicacao::~Aplicacao()
{
    // The window goes before the services it points at.
    m_splash.reset();
    m_janela.reset();
}

bool Aplicacao::iniciar()
{
    QString erro;
    if (!m_bases->provisionar(nullptr, &erro)) {
        avisarErroFicheiro(m_p.messages, m_bases->ficheiroValores(), erro);
        return false;
    }
    m_splash->iniciar();
    return true;
}

} // namespace vx
