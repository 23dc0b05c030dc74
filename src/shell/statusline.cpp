#include "statusline.h"

#include "captions.h"
#include "clock.h"
#include "link.h"
#include "screenfit.h"

#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <algorithm>

namespace vx {

StatusLine::StatusLine(const Link &link, const Clock &clock, QWidget *parent)
    : QStatusBar(parent), m_link(link), m_clock(clock)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    m_designPoints = font().pointSizeF();
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
    m_connection = new QLabel(this);
    m_connection->setObjectName(QStringLiteral("StatusBar1_connection"));
    m_connection->setFrameShape(QFrame::Panel);
    m_connection->setFrameShadow(QFrame::Sunken);
    m_connection->setContentsMargins(4, 0, 4, 0);
    // Takes the room the three panels leave, never more: a long notice must
    // not widen the window past the screen. The whole text is its tool tip.
    m_connection->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_connection->setMinimumWidth(40);
    addWidget(m_connection, 1);
    m_connection->installEventFilter(this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("StatusBar1_progress"));
    m_progress->setMaximumWidth(90);
    m_progress->setTextVisible(false);
    m_progress->hide();
    addPermanentWidget(m_progress);
    m_noticeTimer.setSingleShot(true);
    m_noticeTimer.setInterval(kNoticeMs);
    connect(&m_noticeTimer, &QTimer::timeout, this, [this] {
        m_notice.clear();
        drawConnection();
    });
    drawConnection();
    m_timer.setObjectName(QStringLiteral("Timer_horas"));
    m_timer.setInterval(900);
    connect(&m_timer, &QTimer::timeout, this, &StatusLine::refresh);
    refresh();
    m_timer.start();
}

void StatusLine::fit(QSize screenSize)
{
    // On a screen narrower than the design the three panels take no more
    // than their texts need, so that the port and the connection keep room.
    const bool narrow = screenSize.width() < ScreenFit::kDesignScreen.width();
    for (size_t i = 0; i < m_panels.size(); ++i) {
        QLabel *p = m_panels[i];
        int width = ScreenFit::panelWidth(ScreenFit::kStatusPanels[i], screenSize);
        if (narrow) {
            QFont f = p->font();
            f.setPointSizeF(m_designPoints);
            const QMargins m = p->contentsMargins();
            // Room for two more digits in a counter.
            const int needed = QFontMetrics(f).horizontalAdvance(p->text() + QStringLiteral("00")) +
                               m.left() + m.right() + 2 * p->frameWidth();
            width = std::min(width, needed);
        }
        p->setFixedWidth(width);
    }
    m_progress->setMaximumWidth(ScreenFit::panelWidth(90, screenSize));
    // At once, not at the next layout pass: the window's size is set from
    // the bar's new minimum right after this.
    reformat();
    fitAll();
}

void StatusLine::setDesignPoints(double points)
{
    m_designPoints = points;
    fitAll();
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
    fitAll();
}

void StatusLine::resizeEvent(QResizeEvent *event)
{
    QStatusBar::resizeEvent(event);
    fitAll();
}

bool StatusLine::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_connection && event->type() == QEvent::Resize) fitText(m_connection);
    return QStatusBar::eventFilter(watched, event);
}

void StatusLine::fitAll()
{
    for (QLabel *p : m_panels)
        fitText(p);
    if (m_connection) fitText(m_connection);
}

void StatusLine::fitText(QLabel *panel) const
{
    if (m_designPoints <= 0) return;
    const QMargins m = panel->contentsMargins();
    const int room = panel->width() - m.left() - m.right() - 2 * panel->frameWidth();
    QFont f = panel->font();
    for (double points = m_designPoints; points >= 6.0; points -= 0.5) {
        f.setPointSizeF(points);
        if (QFontMetrics(f).horizontalAdvance(panel->text()) <= room) break;
    }
    f.setPointSizeF(std::max(f.pointSizeF(), 6.0));
    if (f != panel->font()) panel->setFont(f);
}

void StatusLine::setLanguage(int idioma)
{
    m_idioma = knownLanguage(idioma);
    drawConnection();
}

void StatusLine::setPortPath(const QString &path)
{
    m_portPath = path;
    drawConnection();
}

void StatusLine::showConnection(const ConnectionState &state)
{
    m_state = state;
    const bool reading = state.phase == ConnectionState::Phase::Reading && state.steps > 0;
    if (reading) {
        m_progress->setRange(0, state.steps);
        m_progress->setValue(state.step);
    }
    m_progress->setVisible(reading);
    drawConnection();
}

void StatusLine::showNotice(const QString &text)
{
    m_notice = text;
    m_noticeTimer.start();
    drawConnection();
}

void StatusLine::showActivity(const QString &text)
{
    m_activity = text;
    m_notice.clear();
    m_noticeTimer.stop();
    drawConnection();
    // The action may keep the event loop busy (a report printed at once):
    // the technician sees what is happening before it starts.
    m_connection->repaint();
}

void StatusLine::endActivity()
{
    m_activity.clear();
    drawConnection();
}

QString StatusLine::connectionText() const
{
    return m_connection->text();
}

QString StatusLine::connectionText(const ConnectionState &state, const QString &path, int idioma)
{
    using Phase = ConnectionState::Phase;
    const auto text = [idioma](const char *name) {
        return Captions::caption(QLatin1String(name), idioma);
    };
    QString phase;
    switch (state.phase) {
    case Phase::NoPort:
        phase = text("noPort");
        break;
    case Phase::PortOpen:
        phase = text("portOpen");
        break;
    case Phase::Reading:
        phase = text("reading").arg(state.step).arg(state.steps);
        break;
    case Phase::Connected:
        phase = text("connected");
        break;
    case Phase::NotAnswering:
        phase = text("notAnswering");
        break;
    }
    if (path.isEmpty()) return phase;
    return text("portInUse").arg(path) + QStringLiteral(" | ") + phase;
}

void StatusLine::drawConnection()
{
    const QString state = connectionText(m_state, m_portPath, m_idioma);
    const QString message = !m_notice.isEmpty() ? m_notice : m_activity;
    const QString shown = message.isEmpty() ? state : message;
    m_connection->setText(shown);
    m_connection->setToolTip(message.isEmpty() ? state : message + QLatin1Char('\n') + state);
    fitText(m_connection);
    if (message.isEmpty()) {
        clearMessage();
        elidePortPath();
        return;
    }
    // A notice too long for its panel even at the smallest size (a refused
    // value's reason) takes the whole line while it lasts, the counters and
    // the clock giving way to it, rather than being cut.
    const QMargins m = m_connection->contentsMargins();
    const int room = m_connection->width() - m.left() - m.right() - 2 * m_connection->frameWidth();
    if (QFontMetrics(m_connection->font()).horizontalAdvance(shown) > room)
        showMessage(shown);
    else
        clearMessage();
}

// Still too long at the smallest size: the port's path gives way in its
// middle, keeping the device's own name at its end ("/tmp/…/link"), and the
// connection's state stays whole. The tool tip has the whole path.
void StatusLine::elidePortPath()
{
    const QMargins m = m_connection->contentsMargins();
    const int room = m_connection->width() - m.left() - m.right() - 2 * m_connection->frameWidth();
    const QFontMetrics metrics(m_connection->font());
    if (m_portPath.isEmpty() || metrics.horizontalAdvance(m_connection->text()) <= room) return;
    const QString marker = QStringLiteral("\x01");
    const QString rest = connectionText(m_state, marker, m_idioma);
    const int pathRoom = room - metrics.horizontalAdvance(QString(rest).remove(marker));
    const QString path = metrics.elidedText(m_portPath, Qt::ElideMiddle, std::max(pathRoom, 0));
    // A panel not laid out yet, or one with no room for any of the path:
    // the whole text stays, as the tool tip has it.
    if (!m_connection->isVisible() || path.size() < 3) return;
    m_connection->setText(QString(rest).replace(marker, path));
}

} // namespace vx
