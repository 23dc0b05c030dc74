#include "linknotice.h"

#include "connectionwatcher.h"
#include "shelltexts.h"
#include "troublemessages.h"

namespace vx {

LinkNotice::LinkNotice(const ConnectionWatcher &watch, QWidget *parent)
    : QLabel(parent), m_watch(watch)
{
    setObjectName(QStringLiteral("Notice_link"));
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setMargin(6);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("QLabel#Notice_link { background: #fff3b0; color: #3a2a00; "
                                 "border: 2px solid #c89000; }"));
    // The technician reads it where it stands; nothing to click or focus.
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("Notice_link"));
    hide();
    connect(&m_watch, &ConnectionWatcher::faultChanged, this, &LinkNotice::refresh);
}

void LinkNotice::setLanguage(int idioma)
{
    m_idioma = knownLanguage(idioma);
    refresh();
}

QString LinkNotice::textFor(const ConnectionWatcher &watch, int idioma)
{
    if (watch.fault() == LinkFault::None) return {};
    const QString cause =
        troubleMessage(troubleOf(watch.fault(), watch.openFailure()), idioma, watch.deviceName());
    const QString keepsTrying = textOf(kLinkNoticeTexts, "keepsTrying", idioma);
    return cause + QStringLiteral("\n") + keepsTrying;
}

void LinkNotice::refresh()
{
    const QString text = textFor(m_watch, m_idioma);
    setText(text);
    setAccessibleDescription(text);
    setVisible(!text.isEmpty());
    if (!text.isEmpty()) raise();
}

} // namespace vx
