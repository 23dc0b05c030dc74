#pragma once

#include <QString>

namespace vx {

// The traffic log's lines in the window's language. The log itself (the
// trace file, "Guardar…") keeps one wording, the English one, so that every
// saved log reads the same whoever made it; the window shows a Portuguese
// technician the same line in Portuguese: the kind of line and the words
// around the command names, field names, values and frame characters, which
// stay as they are.
class TrafficLogWording
{
public:
    // The line as the window shows it in the language (0 Portuguese,
    // 1 English); a line not in the log's form comes back unchanged.
    static QString inLanguage(const QString &line, int idioma);
};

} // namespace vx
