#pragma once

#include <QString>
#include <QStringList>

namespace vx {

class EditSet;

// Clear, "Pic -> PC" and "PC -> Pic": operations on the whole edit set.
class ValueClipboard
{
public:
    // "Pic -> PC": keeps the 31 values the window shows.
    void copy(EditSet &edit);
    // "PC -> Pic": puts them back and marks every one for writing.
    void paste(EditSet &edit);
    bool isEmpty() const { return m_copy.isEmpty(); }
    const QStringList &values() const { return m_copy; }

    // "Clear": zeroes the counters and sub-totals in the window, marks almost
    // everything for writing and asks the next write pass for the erase.
    static void clear(EditSet &edit, const QString &titulo_base);

private:
    QStringList m_copy; // copia_valores
};

} // namespace vx
