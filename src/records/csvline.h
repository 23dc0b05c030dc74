#pragma once

#include <QString>
#include <QStringList>

namespace vx {

// One line of comma-separated values with its line end. A cell is quoted when
// it holds a separator, a quote or a line end: the money values hold a
// decimal comma.
inline QString csvLine(const QStringList &cells)
{
    QStringList out;
    for (const QString &text : cells) {
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

} // namespace vx
