#include "frmsplash.h"

#include "bases.h"
#include "desenhovx308.h"
#include "eventwait.h"
#include "formmain.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace vx {

FrmSplash::FrmSplash(FormMain &principal, Bases &bases, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_principal(principal),
      m_bases(bases), m_produto(new QLabel(QStringLiteral("Manutenção VX308"), this)),
      m_versao(new QLabel(QStringLiteral("Versão 3.5"), this))
{
    setObjectName(QStringLiteral("frmSplash"));
    // Closing the splash hands over to the main window; it must never be
    // taken for the last window of the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(691, 455);
    m_produto->setObjectName(QStringLiteral("lblProductName"));
    m_versao->setObjectName(QStringLiteral("lblVersion"));
    QFont f = font();
    f.setPointSizeF(24);
    f.setBold(true);
    m_produto->setFont(f);
    f.setPointSizeF(12);
    f.setBold(false);
    m_versao->setFont(f);
    for (QLabel *l : {m_produto, m_versao}) {
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    }
    m_produto->setGeometry(40, 330, 611, 48);
    m_versao->setGeometry(40, 380, 611, 28);

    // The timer runs from the moment the splash exists.
    m_timer.setObjectName(QStringLiteral("Timer_apresentacao"));
    m_timer.setSingleShot(true);
    // The splash promises its whole time; a coarse timer may end it early.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &FrmSplash::aoTempo);
    m_timer.start(Timebase::toReal(3000));
}

void FrmSplash::iniciar()
{
    m_aIniciar = true;
    QString idioma, erro;
    if (!m_bases.lerIdioma(&idioma, &erro)) idioma.clear();
    if (idioma == QLatin1String("PT")) {
        m_principal.definirIdioma(0);
        m_produto->setText(QStringLiteral("Manutenção VX308"));
        m_versao->setText(QStringLiteral("Versão: 3.5"));
        m_principal.carregar();
    } else if (idioma == QLatin1String("EN")) {
        m_principal.definirIdioma(1);
        m_produto->setText(QStringLiteral("VX308 Maintnance"));
        m_versao->setText(QStringLiteral("Version: 3.5"));
        m_principal.carregar();
    }
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
    show();
    m_aIniciar = false;
    if (m_tempoEsgotado) terminar();
}

void FrmSplash::aoTempo()
{
    if (m_aIniciar || m_principal.aCarregar()) {
        m_tempoEsgotado = true;
        return;
    }
    terminar();
}

void FrmSplash::terminar()
{
    if (m_terminado) return;
    m_terminado = true;
    m_timer.stop();
    m_principal.carregar();
    close();
    m_principal.mostrar();
    emit concluido();
}

void FrmSplash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient fundo(0, 0, 0, height());
    fundo.setColorAt(0.0, QColor(60, 70, 160));
    fundo.setColorAt(1.0, QColor(18, 22, 70));
    p.fillRect(rect(), fundo);
    p.setPen(QPen(QColor(223, 221, 253), 3));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
    DesenhoVx308::pintar(p, QRectF(60, 40, 571, 270));
}

} // namespace vx
