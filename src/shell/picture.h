#pragma once

#include <QWidget>

namespace vx {

// The main window's picture: a drawing of the timer. Clicking it does
// nothing.
class Picture : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace vx
