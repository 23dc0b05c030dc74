#include "qtfiledialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace vx {

QString QtFileDialogs::saveFileName(const QString &caption, const QString &suggestion,
                                    const QString &filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggestion, filter);
}

QString QtFileDialogs::openFileName(const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, {}, filter);
}

} // namespace vx
