#pragma once

#include <QObject>

class QLineEdit;

namespace vx {

// Keeps every value readable in its box. The boxes are stretched with the
// screen but their font is not, so on a small screen a date or a serial
// number would lose its first characters ("2-03-2025"). Whenever a box's
// text or size changes, its font steps down from the design size until the
// whole text fits, never below kSmallestPoints, and goes back up when there
// is room again.
class FieldFit : public QObject
{
    Q_OBJECT
public:
    // Watches every text box inside `area`.
    explicit FieldFit(QWidget *area);

    static constexpr double kSmallestPoints = 6.0;
    // Whether a box shows its whole text with its current font.
    static bool fits(const QLineEdit *box);
    // Fits one box now.
    static void fit(QLineEdit *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace vx
