#include "statusline.h"

#include "clock.h"
#include "link.h"
#include "screenfit.h"

#include <QLabel>

namespace vx {

StatusLine::StatusLine(const Link &link, const Clock &clock, QWidget *parent)
    : QStatusBar(parent), m_link(link), m_clock(clock)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    for (size_t i = 0; i < m_panels.size(); ++i) {
        auto *p = new QLabel(this);
        p->setObjectName(QStringLiteral("StatusBar1_painel%1").arg(i + 1));
        p->setFrameShape(QFrame::Panel);
        p->setFrameShadow(QFrame::Sunken);
        p->setContentsMargins(4, 0, 4, 0);
        p->setFixedWidth(ScreenFit::kStatusPanels[i]);
        addWidget(p);
        m_panels[i] = p;
    }
    m_timer.setObjectName(QStringLiteral("Timer_horas"));
    m_timer.setInterval(900);
    connect(&m_timer, &QTimer::timeout, this, &StatusLine::refresh);
    refresh();
    m_timer.start();
}

void StatusLine::fit(QSize screenSize)
{
    for (size_t i = 0; i < m_panels.size(); ++i)
        m_panels[i]->setFixedWidth(ScreenFit::panelWidth(ScreenFit::kStatusPanels[i], screenSize));
    // At once, not at the next layout pass: the window's size is set from
    // the bar's new minimum right after this.
    reformat();
}

QString StatusLine::panel(int n) const
{
    if (n < 1 || n > 3) return {};
    return m_panels[static_cast<size_t>(n - 1)]->text();
}

void StatusLine::refresh()
{
    const QDateTime now = m_clock.now();
    m_panels[2]->setText(clockPanel(now.time()));
    m_panels[1]->setText(makerPanel(now.date()));
    m_panels[0]->setText(countersPanel(m_link.stats));
}

} // namespace vx
