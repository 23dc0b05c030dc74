#pragma once

#include "recordstore.h"

#include <QRect>
#include <QSize>

namespace vx {

class Databases;
class EditSet;
class MessageSink;

// The defaults window (Form_predefinir) without its widgets: "Aceitar" makes
// the values the main window shows now the defaults that "Novo" loads, and
// the window's layout follows the screen.
class Defaults
{
public:
    Defaults(EditSet &edit, Databases &databases, MessageSink &messages);

    // "Aceitar": stores the 25 defaults from the window's texts in one edit
    // of the settings row; idioma, Comm and Pagar are left as stored. False
    // when the file could not be written: a critical message naming the file
    // has been shown, nothing is stored, and the window should stay open.
    bool accept();

    // The 25 fields, in their order, each the current text of its window
    // field, unchecked and unconverted.
    static RecordStore::Values values(const EditSet &edit);

    // The window is laid out for an 800 x 600 screen. Its size scales by
    // screen width / 800 and height / 600; each control's width and left by
    // the first, its height and top by the second.
    static constexpr QSize kDesign{800, 600};
    static QSize scaleWindow(const QSize &design, const QSize &screenSize);
    static QRect scaleControl(const QRect &design, const QSize &screenSize);

    static QString title() { return QStringLiteral("Predefinição de valores"); }
    static QString question() { return QStringLiteral("Aceitar valores como valor por defeito?"); }

private:
    EditSet &m_edit;
    Databases &m_databases;
    MessageSink &m_messages;
};

} // namespace vx
