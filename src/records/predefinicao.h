#pragma once

#include "recordstore.h"

#include <QRect>
#include <QSize>

namespace vx {

class Bases;
class EditSet;
class MessageSink;

// The defaults window (Form_predefinir) without its widgets: "Aceitar" makes
// the values the main window shows now the defaults that "Novo" loads, and
// the window's layout follows the screen.
class Predefinicao
{
public:
    Predefinicao(EditSet &edit, Bases &bases, MessageSink &messages);

    // "Aceitar": stores the 25 defaults from the window's texts in one edit
    // of the settings row; idioma, Comm and Pagar are left as stored. False
    // when the file could not be written: a critical message naming the file
    // has been shown, nothing is stored, and the window should stay open.
    bool aceitar();

    // The 25 fields, in their order, each the current text of its window
    // field, unchecked and unconverted.
    static RecordStore::Values valores(const EditSet &edit);

    // The window is laid out for an 800 x 600 screen. Its size scales by
    // screen width / 800 and height / 600; each control's width and left by
    // the first, its height and top by the second.
    static constexpr QSize kDesenho{800, 600};
    static QSize escalarJanela(const QSize &desenho, const QSize &ecra);
    static QRect escalarControlo(const QRect &desenho, const QSize &ecra);

    static QString titulo() { return QStringLiteral("Predefinição de valores"); }
    static QString pergunta() { return QStringLiteral("Aceitar valores como valor por defeito?"); }

private:
    EditSet &m_edit;
    Bases &m_bases;
    MessageSink &m_messages;
};

} // namespace vx
