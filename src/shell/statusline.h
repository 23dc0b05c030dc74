#pragma once

#include "connectionstate.h"

#include <QStatusBar>
#include <QTimer>
#include <array>

class QLabel;
class QProgressBar;

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
    // The size the panels' texts start from before they step down to fit.
    void setDesignPoints(double points);
    QString panel(int n) const; // 1..3
    QTimer &timer() { return m_timer; }

    // Timer_horas.
    void refresh();

    // Beside the three panels: the port in use and where the connection
    // stands, with a progress bar while the timer is read, and short notices
    // (a value written or refused) that give way to the state again.
    void setLanguage(int idioma);
    void setPortPath(const QString &path);
    void showConnection(const ConnectionState &state);
    void showNotice(const QString &text);
    // What an action the technician started is doing, shown until
    // endActivity; a notice meanwhile gives way to it again.
    void showActivity(const QString &text);
    void endActivity();
    QString activity() const { return m_activity; }
    QString connectionText() const;
    static QString connectionText(const ConnectionState &state, const QString &path, int idioma);
    // How long a notice stays, in milliseconds.
    static constexpr int kNoticeMs = 5000;

protected:
    void resizeEvent(QResizeEvent *event) override;
    // The port panel takes what room the others leave: refitted whenever
    // that changes.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void drawConnection();
    void elidePortPath();
    // Steps a panel's font down until its whole text fits (the date and the
    // port path on a small screen), and back up when there is room.
    void fitText(QLabel *panel) const;
    void fitAll();

    const Link &m_link;
    const Clock &m_clock;
    QTimer m_timer;
    std::array<QLabel *, 3> m_panels{};
    QLabel *m_connection = nullptr;
    QProgressBar *m_progress = nullptr;
    QTimer m_noticeTimer;
    QString m_notice;
    QString m_activity;
    QString m_portPath;
    ConnectionState m_state;
    int m_idioma = 0;
    double m_designPoints = 0;
};

} // namespace vx
