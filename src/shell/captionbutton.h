#pragma once

#include <QPushButton>

namespace vx {

// A button of the main window whose caption takes a second line where one
// line is too narrow for it at the window's font ("Sair da Aplicação" on an
// 800-pixel screen), as a label with word wrap would, instead of a smaller
// font than the buttons beside it. A caption that fits on one line is drawn
// as any button's.
class CaptionButton : public QPushButton
{
    Q_OBJECT
public:
    using QPushButton::QPushButton;

    // Where the caption is drawn, and how.
    QRect captionRect() const;
    static constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextWordWrap;
    // Whether `caption` (no access-key marker) fits `room` with `font`: on
    // one line, or word-wrapped on the lines the room's height holds.
    static bool fits(const QFont &font, const QString &caption, const QRect &room);
    static bool fitsOneLine(const QFont &font, const QString &caption, const QRect &room);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace vx
