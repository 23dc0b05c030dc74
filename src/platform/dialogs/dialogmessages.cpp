#include "dialogmessages.h"

#include <QMessageBox>

namespace vx {

void DialogMessages::show(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box;
    box.setText(text);
    // The default title of a message box is the program's name.
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("VX308") : title);
    box.setIcon(icon == Icon::Critical      ? QMessageBox::Critical
                : icon == Icon::Information ? QMessageBox::Information
                                            : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace vx
