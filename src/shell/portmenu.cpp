#include "portmenu.h"

#include "captions.h"
#include "messages.h"
#include "portchooser.h"

#include <QAction>
#include <QMenu>

namespace vx {

namespace {

// "/dev/ttyUSB0  FT232R USB UART (FTDI, A50285BI)": what the technician
// recognises the adapter by, then the path it is opened by.
QString itemText(const PortInfo &p)
{
    QStringList maker;
    if (!p.manufacturer.isEmpty()) maker << p.manufacturer;
    if (!p.serialNumber.isEmpty()) maker << p.serialNumber;
    QString t = p.path;
    if (!p.description.isEmpty()) t += QStringLiteral("  ") + p.description;
    if (!maker.isEmpty()) t += QStringLiteral(" (%1)").arg(maker.join(QStringLiteral(", ")));
    return t;
}

} // namespace

PortMenu::PortMenu(QMenu &menu, PortChooser &ports, MessageSink &messages,
                   std::function<int()> language, QObject *parent)
    : QObject(parent), m_menu(menu), m_ports(ports), m_messages(messages),
      m_language(std::move(language))
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
        auto *a = new QAction(itemText(p), &m_menu);
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
    const PortChooser::SearchOutcome outcome = m_ports.search(m_searchTimeoutMs);
    const QString title = text("mnu_search");
    if (!outcome.found.isEmpty()) {
        // A failed choice of the port found has shown its own message.
        if (outcome.result == PortChooser::Result::Chosen)
            m_messages.show(text("searchFound").arg(outcome.found), title,
                            MessageSink::Icon::Information);
    } else if (outcome.tried.isEmpty()) {
        m_messages.show(text("searchNoPorts"), title, MessageSink::Icon::Information);
    } else {
        m_messages.show(text("searchNone").arg(outcome.tried.join(QStringLiteral(", "))), title,
                        MessageSink::Icon::Information);
    }
    emit portChanged();
}

} // namespace vx
