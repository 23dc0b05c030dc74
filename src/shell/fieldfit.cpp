#include "fieldfit.h"

#include "windowbuilder.h"

#include <QEvent>
#include <QLineEdit>

namespace vx {

namespace {

// QLineEdit keeps two pixels of its own on each side, inside the frame.
constexpr int kInnerMargin = 2;

int room(const QLineEdit *box)
{
    const QMargins m = box->textMargins();
    return box->contentsRect().width() - m.left() - m.right() - 2 * kInnerMargin;
}

} // namespace

FieldFit::FieldFit(QWidget *area) : QObject(area)
{
    for (QLineEdit *box : area->findChildren<QLineEdit *>()) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [box] { fit(box); });
        fit(box);
    }
}

bool FieldFit::fits(const QLineEdit *box)
{
    return box->fontMetrics().horizontalAdvance(box->text()) <= room(box);
}

void FieldFit::fit(QLineEdit *box)
{
    const double design = WindowBuilder::designPoints(box);
    if (design <= 0) return;
    QFont f = box->font();
    // From the design size down, in half points: the largest that fits.
    for (double points = design; points >= kSmallestPoints; points -= 0.5) {
        f.setPointSizeF(points);
        if (QFontMetrics(f).horizontalAdvance(box->text()) <= room(box)) break;
    }
    if (f.pointSizeF() < kSmallestPoints) f.setPointSizeF(kSmallestPoints);
    if (f != box->font()) box->setFont(f);
}

bool FieldFit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        if (auto *box = qobject_cast<QLineEdit *>(watched)) fit(box);
    return QObject::eventFilter(watched, event);
}

} // namespace vx
