#pragma once

#include <QString>
#include <QStringList>

namespace vx {

class EditSet;

// Clear, "Pic -> PC" and "PC -> Pic": operations on the whole edit set.
class CopiaValores
{
public:
    // "Pic -> PC": keeps the 31 values the window shows.
    void copiar(EditSet &edit);
    // "PC -> Pic": puts them back and marks every one for writing.
    void colar(EditSet &edit);
    bool vazia() const { return m_copia.isEmpty(); }
    const QStringList &valores() const { return m_copia; }

    // "Clear": zeroes the counters and sub-totals in the window, marks almost
    // everything for writing and asks the next write pass for the erase.
    static void limpar(EditSet &edit, const QString &titulo_base);

private:
    QStringList m_copia; // copia_valores
};

} // namespace vx
