#include "fieldfit.h"

#include "captionbutton.h"
#include "captions.h"
#include "windowbuilder.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace vx {

namespace {

// QLineEdit keeps two pixels of its own on each side, inside the frame.
constexpr int kInnerMargin = 2;

int room(const QLineEdit *box)
{
    const QMargins m = box->textMargins();
    return box->contentsRect().width() - m.left() - m.right() - 2 * kInnerMargin;
}

// The caption of a label, tick box, group box or button, as drawn (an
// access key's marker is not), and the room it has for it: its width, and
// for a button, which wraps a caption too long for one line, its height.
struct CaptionRoom
{
    QString text;
    int room = -1; // -1: not a caption
    QRect lines;   // a button's: where its caption may wrap
};

CaptionRoom captionRoom(const QWidget *w)
{
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return {label->text(), label->contentsRect().width() - 2 * label->margin() - 2, {}};
    if (const auto *tick = qobject_cast<const QCheckBox *>(w)) {
        // Where the style draws the caption: what the tick, the spacing,
        // the style sheet's padding and border leave.
        QStyleOptionButton option;
        option.initFrom(tick);
        option.text = tick->text();
        const QRect r = w->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, w);
        return {Captions::plain(tick->text()), r.width() - 1, {}};
    }
    if (const auto *group = qobject_cast<const QGroupBox *>(w))
        // The title sits 8 pixels in, padded by 3 on each side, framed.
        return {group->title(), w->width() - 24, {}};
    if (const auto *button = qobject_cast<const CaptionButton *>(w)) {
        const QRect r = button->captionRect();
        return {Captions::plain(button->text()), r.width(), r};
    }
    return {};
}

bool fitsRoom(const QFont &f, const CaptionRoom &c)
{
    if (c.lines.isValid()) return CaptionButton::fits(f, c.text, c.lines);
    return QFontMetrics(f).horizontalAdvance(c.text) <= c.room;
}

// The largest size from `design` down, in half points, at which the caption
// fits its room; never below the smallest.
QFont largestFitting(QFont f, double design, const CaptionRoom &c,
                     double smallest = FieldFit::kSmallestPoints)
{
    for (double points = design; points >= smallest; points -= 0.5) {
        f.setPointSizeF(points);
        if (fitsRoom(f, c)) break;
    }
    if (f.pointSizeF() < smallest) f.setPointSizeF(smallest);
    return f;
}

} // namespace

FieldFit::FieldFit(QWidget *area) : QObject(area)
{
    for (QLineEdit *box : area->findChildren<QLineEdit *>()) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [box] { fit(box); });
        fit(box);
    }
    for (QWidget *w : area->findChildren<QWidget *>())
        if (captionRoom(w).room >= 0 && WindowBuilder::designPoints(w) > 0) {
            w->installEventFilter(this);
            fitCaption(w);
        }
}

void FieldFit::fitCaption(QWidget *control)
{
    const double design = WindowBuilder::designPoints(control);
    const CaptionRoom c = captionRoom(control);
    if (design <= 0 || c.room < 0) return;
    const QFont f = largestFitting(control->font(), design, c, kSmallestCaptionPoints);
    if (f != control->font()) control->setFont(f);
}

bool FieldFit::captionFits(const QWidget *control)
{
    const CaptionRoom c = captionRoom(control);
    return c.room < 0 || fitsRoom(control->font(), c);
}

void FieldFit::fitCaptions(QWidget *area)
{
    for (QWidget *w : area->findChildren<QWidget *>())
        if (!qobject_cast<QLineEdit *>(w)) fitCaption(w);
}

bool FieldFit::fits(const QLineEdit *box)
{
    return box->fontMetrics().horizontalAdvance(box->text()) <= room(box);
}

void FieldFit::fit(QLineEdit *box)
{
    const double design = WindowBuilder::designPoints(box);
    if (design <= 0) return;
    const QFont f = largestFitting(box->font(), design, {box->text(), room(box), {}});
    if (f != box->font()) box->setFont(f);
}

bool FieldFit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (auto *box = qobject_cast<QLineEdit *>(watched))
            fit(box);
        else if (auto *w = qobject_cast<QWidget *>(watched))
            fitCaption(w);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vx
