#pragma once

#include "text.h"

#include <QString>
#include <QStringList>

namespace vx {

// One line of comma-separated values with its line end. A cell is quoted when
// it holds a separator, a quote or a line end: the money values hold a
// decimal comma. Control characters from a timer, a file or the records
// other than line ends are written as printableText() shows them.
inline QString csvLine(const QStringList &cells)
{
    QStringList out;
    for (const QString &cell : cells) {
        QStringList lines = cell.split(QLatin1Char('\n'));
        for (QString &line : lines)
            line = printableText(line);
        const QString text = lines.join(QLatin1Char('\n'));
        if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
            !text.contains(QLatin1Char('\n'))) {
            out << text;
            continue;
        }
        QString quoted = text;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        out << QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    return out.join(QLatin1Char(',')) + QLatin1Char('\n');
}

// One line of tab-separated values with its line end, for a terminal or a
// script: each cell as printableText() shows it, so that nothing from a
// timer, a file or the records reaches the terminal raw, and a tab or line
// end in a value never splits a column or a line.
inline QString tabLine(const QStringList &cells)
{
    QStringList out;
    for (const QString &text : cells)
        out << printableText(text);
    return out.join(QLatin1Char('\t')) + QLatin1Char('\n');
}

} // namespace vx
