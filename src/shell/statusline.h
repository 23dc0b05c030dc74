#pragma once

#include <QStatusBar>
#include <QTimer>
#include <array>

class QLabel;

namespace vx {

class Clock;
class Link;

// StatusBar1: the link counters, the maker's banner with today's date and the
// time, in three panels that Timer_horas rewrites every 900 ms from start-up
// to exit. Nothing else writes them, so the counters advance on the status
// line while a transaction waits: the timer runs inside its nested waits.
class StatusLine : public QStatusBar
{
    Q_OBJECT
public:
    StatusLine(const Link &link, const Clock &clock, QWidget *parent = nullptr);

    // Panel widths for the screen, from 467, 200 and 134 at 1024 pixels.
    void fit(QSize screenSize);
    QString panel(int n) const; // 1..3
    QTimer &timer() { return m_timer; }

    // Timer_horas.
    void refresh();

private:
    const Link &m_link;
    const Clock &m_clock;
    QTimer m_timer;
    std::array<QLabel *, 3> m_panels{};
};

} // namespace vx
