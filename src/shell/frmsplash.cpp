#include "frmsplash.h"

#include "clock.h"
#include "databases.h"
#include "formmain.h"
#include "shelltexts.h"
#include "vx308drawing.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace vx {

FrmSplash::FrmSplash(FormMain &mainWindow, Databases &databases, const Clock &clock,
                     QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_mainWindow(mainWindow),
      m_databases(databases), m_product(new QLabel(QStringLiteral("Manutenção VX308"), this)),
      m_version(new QLabel(QStringLiteral("Versão 3.5"), this))
{
    setObjectName(QStringLiteral("frmSplash"));
    // Closing the splash hands over to the main window; it must never be
    // taken for the last window of the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(691, 455);
    m_product->setObjectName(QStringLiteral("lblProductName"));
    m_version->setObjectName(QStringLiteral("lblVersion"));
    QFont f = font();
    f.setPointSizeF(24);
    f.setBold(true);
    m_product->setFont(f);
    f.setPointSizeF(12);
    f.setBold(false);
    m_version->setFont(f);
    for (QLabel *l : {m_product, m_version}) {
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    }
    m_product->setGeometry(40, 330, 611, 48);
    m_version->setGeometry(40, 380, 611, 28);

    // The timer runs from the moment the splash exists.
    m_timer.setObjectName(QStringLiteral("Timer_apresentacao"));
    m_timer.setSingleShot(true);
    // The splash promises its whole time; a coarse timer may end it early.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &FrmSplash::onTimeUp);
    // Time that ran out while the main window was loading hands over as soon
    // as the load is done.
    connect(&m_mainWindow, &FormMain::loadFinished, this, [this] {
        if (m_timeUp && m_started) finish();
    });
    m_timer.start(clock.toReal(3000));
}

void FrmSplash::start()
{
    if (m_started || m_finished) return;
    QString idioma, error;
    if (!m_databases.readLanguage(&idioma, &error)) idioma.clear();
    if (idioma == QLatin1String("PT")) {
        m_mainWindow.setLanguage(0);
        m_product->setText(textOf(kSplashTexts, "product", 0));
        m_version->setText(textOf(kSplashTexts, "version", 0));
        m_mainWindow.load();
    } else if (idioma == QLatin1String("EN")) {
        m_mainWindow.setLanguage(1);
        m_product->setText(textOf(kSplashTexts, "product", 1));
        m_version->setText(textOf(kSplashTexts, "version", 1));
        m_mainWindow.load();
    }
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
    show();
    m_started = true;
    if (m_timeUp) finish();
}

void FrmSplash::onTimeUp()
{
    if (!m_started || m_mainWindow.loading()) {
        m_timeUp = true;
        return;
    }
    finish();
}

void FrmSplash::finish()
{
    if (m_finished) return;
    m_finished = true;
    m_timer.stop();
    m_mainWindow.load();
    close();
    m_mainWindow.present();
    emit handedOver();
}

void FrmSplash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0.0, QColor(60, 70, 160));
    background.setColorAt(1.0, QColor(18, 22, 70));
    p.fillRect(rect(), background);
    p.setPen(QPen(QColor(223, 221, 253), 3));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
    Vx308Drawing::paint(p, QRectF(60, 40, 571, 270));
}

} // namespace vx
