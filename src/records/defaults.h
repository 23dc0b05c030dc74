#pragma once

#include "tablerows.h"

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
    static TableRows::Values values(const EditSet &edit);

    static QString title() { return QStringLiteral("Predefinição de valores"); }
    static QString question() { return QStringLiteral("Aceitar valores como valor por defeito?"); }

private:
    EditSet &m_edit;
    Databases &m_databases;
    MessageSink &m_messages;
};

} // namespace vx
