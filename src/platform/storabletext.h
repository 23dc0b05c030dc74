#pragma once

#include <QString>

namespace vx {

// Whether a text can go into a database as it is. PostgreSQL's text holds no
// NUL character (the driver would cut the statement there), and both engines
// keep UTF-8, which has no form for half of a UTF-16 surrogate pair. Whatever
// a timer sent, a file edited by hand held or a window was given, a text is
// looked at here before it is bound.
class StorableText
{
public:
    // The place of the first character that cannot be stored, or -1.
    static qsizetype firstUnstorable(const QString &s);
    // What the character at `at` is, for a message: "a NUL character
    // (U+0000)", in the program's language.
    static QString describe(const QString &s, qsizetype at);
    // The text as a message can show it (printableText), quoted, at most
    // kShownLength characters of it.
    static QString shown(const QString &s);

    static constexpr qsizetype kShownLength = 40;
};

} // namespace vx
