#pragma once

#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QMenu;

namespace vx {

class PortChooser;

// The part of the "Comunicação" menu below "Com 1" .. "Com 4": the serial
// ports the system has now, read again each time the menu opens, and
// "Procurar", which looks for the port a VX308 answers on. Choosing a listed
// port goes through PortChooser exactly as the four items do.
class PortMenu : public QObject
{
    Q_OBJECT
public:
    // `language` gives the interface language (0 Portuguese, 1 English).
    PortMenu(QMenu &menu, PortChooser &ports, std::function<int()> language,
             QObject *parent = nullptr);

    QAction *searchAction() const { return m_search; }
    // The listed ports' items, in menu order (for tests).
    const QList<QAction *> &systemPortActions() const { return m_items; }
    // Reads the system's ports again and rebuilds their items.
    void refresh();
    // "Procurar".
    void search();

    // The probe's wait for each port, in nominal milliseconds.
    void setSearchTimeoutMs(int ms) { m_searchTimeoutMs = ms; }

signals:
    // The port in use may have changed.
    void portChanged();

private:
    QString text(const char *name) const;

    QMenu &m_menu;
    PortChooser &m_ports;
    std::function<int()> m_language;
    QAction *m_listStart;
    QAction *m_search;
    QList<QAction *> m_items;
    int m_searchTimeoutMs = 1000;
};

} // namespace vx
