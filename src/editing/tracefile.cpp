#include "tracefile.h"

#include <QDir>

namespace vx {

bool TraceFile::open(const QString &path, QString *error)
{
    m_file.setFileName(path);
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return true;
    if (error)
        *error = QStringLiteral("cannot write the trace file %1 (%2); choose a file in a folder "
                                "you can write to")
                     .arg(QDir::toNativeSeparators(path), m_file.errorString());
    return false;
}

void TraceFile::write(const QString &line)
{
    if (!m_file.isOpen()) return;
    m_file.write(line.toUtf8());
    m_file.write("\n", 1);
    m_file.flush();
}

} // namespace vx
