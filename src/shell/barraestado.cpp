#include "barraestado.h"

#include "ajusteecra.h"
#include "clock.h"
#include "link.h"

#include <QLabel>

namespace vx {

BarraEstado::BarraEstado(const Link &link, const Clock &clock, QWidget *parent)
    : QStatusBar(parent), m_link(link), m_clock(clock)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    for (size_t i = 0; i < m_paineis.size(); ++i) {
        auto *p = new QLabel(this);
        p->setObjectName(QStringLiteral("StatusBar1_painel%1").arg(i + 1));
        p->setFrameShape(QFrame::Panel);
        p->setFrameShadow(QFrame::Sunken);
        p->setContentsMargins(4, 0, 4, 0);
        p->setFixedWidth(AjusteEcra::kPaineisEstado[i]);
        addWidget(p);
        m_paineis[i] = p;
    }
    m_timer.setObjectName(QStringLiteral("Timer_horas"));
    m_timer.setInterval(900);
    connect(&m_timer, &QTimer::timeout, this, &BarraEstado::actualizar);
    actualizar();
    m_timer.start();
}

void BarraEstado::ajustar(QSize ecra)
{
    for (size_t i = 0; i < m_paineis.size(); ++i)
        m_paineis[i]->setFixedWidth(AjusteEcra::larguraPainel(AjusteEcra::kPaineisEstado[i], ecra));
    // At once, not at the next layout pass: the window's size is set from
    // the bar's new minimum right after this.
    reformat();
}

QString BarraEstado::painel(int n) const
{
    if (n < 1 || n > 3) return {};
    return m_paineis[static_cast<size_t>(n - 1)]->text();
}

void BarraEstado::actualizar()
{
    const QDateTime agora = m_clock.now();
    m_paineis[2]->setText(painelHora(agora.time()));
    m_paineis[1]->setText(painelFabricante(agora.date()));
    m_paineis[0]->setText(painelContadores(m_link.stats));
}

} // namespace vx
