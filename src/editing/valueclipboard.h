#pragma once

#include <QString>
#include <QStringList>

namespace vx {

class EditSet;

// "Pic -> PC" and "PC -> Pic": the values of one unit kept to be put on
// another. Which values travel is the `copied` column of kFields.
class ValueClipboard
{
public:
    // "Pic -> PC": keeps the 31 values the window shows.
    void copy(EditSet &edit);
    // "PC -> Pic": puts them back and marks every one for writing.
    void paste(EditSet &edit);
    bool isEmpty() const { return m_copy.isEmpty(); }
    const QStringList &values() const { return m_copy; }

private:
    QStringList m_copy; // copia_valores; a tick box is kept as "1" or "0"
};

} // namespace vx
