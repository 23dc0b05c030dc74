#include "portmenu.h"

#include "captions.h"
#include "portchooser.h"

#include <QAction>
#include <QMenu>

namespace vx {

PortMenu::PortMenu(QMenu &menu, PortChooser &ports, std::function<int()> language, QObject *parent)
    : QObject(parent), m_menu(menu), m_ports(ports), m_language(std::move(language))
{
    m_listStart = m_menu.addSeparator();
    m_menu.addSeparator();
    m_search = m_menu.addAction(text("mnu_search"));
    m_search->setObjectName(QStringLiteral("mnu_search"));
    connect(m_search, &QAction::triggered, this, &PortMenu::search);
    connect(&m_menu, &QMenu::aboutToShow, this, &PortMenu::refresh);
    refresh();
}

QString PortMenu::text(const char *name) const
{
    return Captions::caption(QLatin1String(name), m_language ? m_language() : 0);
}

void PortMenu::refresh()
{
    qDeleteAll(m_items);
    m_items.clear();
    const QList<PortInfo> ports = m_ports.systemPorts();
    // Inserted in order right after the separator below "Com 4".
    const QList<QAction *> all = m_menu.actions();
    QAction *before = all.value(all.indexOf(m_listStart) + 1);
    for (const PortInfo &p : ports) {
        auto *a = new QAction(PortChooser::itemText(p), &m_menu);
        a->setCheckable(true);
        a->setChecked(p.path == m_ports.chosenDevice());
        a->setData(p.path);
        connect(a, &QAction::triggered, this, [this, path = p.path] {
            m_ports.chooseDevice(path);
            emit portChanged();
        });
        m_menu.insertAction(before, a);
        m_items << a;
    }
    if (ports.isEmpty()) {
        auto *none = new QAction(text("noSystemPorts"), &m_menu);
        none->setEnabled(false);
        m_menu.insertAction(before, none);
        m_items << none;
    }
}

void PortMenu::search()
{
    m_ports.tellSearchOutcome(m_ports.search(m_searchTimeoutMs), text("mnu_search"));
    emit portChanged();
}

} // namespace vx
