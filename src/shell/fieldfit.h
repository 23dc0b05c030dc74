#pragma once

#include <QObject>

class QLineEdit;

namespace vx {

// Keeps every value readable in its box. The boxes are stretched with the
// screen but their font is not, so on a small screen a date or a serial
// number would lose its first characters ("2-03-2025"). Whenever a box's
// text or size changes, its font steps down from the design size until the
// whole text fits, never below kSmallestPoints, and goes back up when there
// is room again. Captions are fitted the same way whenever their size or text
// changes; the window's layout gives them room, and a button's caption takes
// a second line before it takes a smaller font, so only a caption wider than
// its whole control steps down.
class FieldFit : public QObject
{
    Q_OBJECT
public:
    // Watches every text box inside `area`.
    explicit FieldFit(QWidget *area);

    static constexpr double kSmallestPoints = 6.0;
    // A caption may go smaller still: better small than cut.
    static constexpr double kSmallestCaptionPoints = 5.0;
    // Whether a box shows its whole text with its current font.
    static bool fits(const QLineEdit *box);
    // Fits one box now.
    static void fit(QLineEdit *box);

    // The same for a caption: a label, tick box, group box title or button of
    // the window ("Última Actualizacao do iButton", wider than its frame on
    // an 800-pixel screen).
    // Widgets without a design size are left alone.
    static void fitCaption(QWidget *control);
    static bool captionFits(const QWidget *control);
    // Every caption inside `area`, after a language switch or a new screen.
    static void fitCaptions(QWidget *area);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace vx
