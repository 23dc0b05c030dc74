#include "captionbutton.h"

#include "captions.h"

#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace vx {

QRect CaptionButton::captionRect() const
{
    // The style's margin on each side and two pixels of frame, as a caption
    // on one line keeps from the border.
    const int side = style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, this) + 2;
    return rect().adjusted(side, 2, -side, -2);
}

bool CaptionButton::fitsOneLine(const QFont &font, const QString &caption, const QRect &room)
{
    return QFontMetrics(font).horizontalAdvance(caption) <= room.width();
}

bool CaptionButton::fits(const QFont &font, const QString &caption, const QRect &room)
{
    if (fitsOneLine(font, caption, room)) return true;
    // A word wider than the room is not broken: the rectangle then comes out
    // wider than the room.
    const QRect wrapped =
        QFontMetrics(font).boundingRect(QRect(0, 0, room.width(), 0xFFFF), kCaptionFlags, caption);
    return wrapped.width() <= room.width() && wrapped.height() <= room.height();
}

void CaptionButton::paintEvent(QPaintEvent *event)
{
    const QRect room = captionRect();
    if (fitsOneLine(font(), Captions::plain(text()), room)) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.drawItemText(room, kCaptionFlags | Qt::TextShowMnemonic, option.palette, isEnabled(),
                         caption, QPalette::ButtonText);
}

} // namespace vx
