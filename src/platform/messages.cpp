#include "messages.h"

#include <cstdio>

namespace vx {

void StderrMessages::show(const QString &text, const QString &title, Icon)
{
    ++count;
    const QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace vx
