#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace vx {

// A text the user can see, in both languages side by side: the Portuguese the
// technician has always read, and the English shown once English is chosen.
// `key` finds it in its table: a control's name, a message's name, a field.
// Every subsystem keeps its texts as tables of these in one header, so that a
// missing translation is an empty cell found by one test.
struct Text
{
    std::string_view key;
    std::string_view pt;
    std::string_view en;
};

// A table of texts with the name the completeness check reports it by.
struct TextTable
{
    std::string_view name;
    std::span<const Text> texts;
};

// The language codes the program knows: 0 Portuguese, 1 English. Any other
// code reads as Portuguese, the language the tool has always spoken.
constexpr int knownLanguage(int idioma)
{
    return idioma == 1 ? 1 : 0;
}

// The one place a language is chosen.
constexpr std::string_view pick(const Text &text, int idioma)
{
    return knownLanguage(idioma) == 1 ? text.en : text.pt;
}

constexpr const Text *findText(std::span<const Text> table, std::string_view key)
{
    for (const Text &t : table)
        if (t.key == key) return &t;
    return nullptr;
}

// The row of a table kept in the order of the enumeration that names its
// texts.
template <typename Id, std::size_t N>
constexpr const Text &textAt(const std::array<Text, N> &table, Id id)
{
    return table[static_cast<std::size_t>(id)];
}

QString textIn(const Text &text, int idioma);
// The same in the language chosen for the whole program.
QString textIn(const Text &text);
// The text of `key` in the language; empty when the table has no such key.
QString textOf(std::span<const Text> table, std::string_view key, int idioma);
QString textOf(std::span<const Text> table, std::string_view key);

// Text from outside the program (a timer, a file, a database, the system's
// device descriptions) as a terminal, a tab-separated listing or a message
// may show it: a backslash as \\, control characters (tab and line ends
// too) as \xNN and invisible format characters as \uNNNN, so that none
// reaches a terminal raw or splits a line or a column.
QString printableText(const QString &text);
// Whether text[i] is half of a surrogate pair without its other half: no
// UTF-8 says it (a database cannot store it, a terminal cannot show it).
bool isLoneSurrogate(const QString &text, qsizetype i);

// The language of the texts whose caller names none: the adapters' reasons
// for a failure, which reach the user inside a message of the caller's. The
// window's language menu and vx308ctl's choice set it for the whole program,
// as Qt's own translators are; Portuguese until then.
void setProgramLanguage(int idioma);
int programLanguage();

} // namespace vx
