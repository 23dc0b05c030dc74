#include "tracefile.h"

#include "linktexts.h"
#include "safefile.h"
#include "traffictrace.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

QString cannotWrite(const QString &path, const QString &cause, int idioma)
{
    return textOf(kTraceTexts, "cannotWrite", idioma).arg(QDir::toNativeSeparators(path), cause);
}

} // namespace

TraceFile::~TraceFile()
{
    if (m_fd >= 0) ::close(m_fd);
}

bool TraceFile::open(const QString &path, QString *error, int idioma)
{
    m_path = path;
    m_idioma = idioma;
    const auto refuse = [&](const QString &cause) {
        m_error = cannotWrite(path, cause, idioma);
        if (error) *error = m_error;
        return false;
    };
    // Looked at before the open: opening a serial port toggles its lines.
    const QString refused = SafeFile::notRegular(path, idioma);
    if (!refused.isEmpty()) return refuse(refused);
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return refuse(qt_error_string(errno));
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return refuse(SafeFile::notRegular(path, idioma));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    // Whoever reads a log sent with a problem report learns first that the
    // passwords are not in it.
    if (write(TrafficTrace::headerLine())) return true;
    if (error) *error = m_error;
    return false;
}

bool TraceFile::write(const QString &line)
{
    if (m_fd < 0) return false;
    const QByteArray bytes = line.toUtf8() + '\n';
    const char *at = bytes.constData();
    auto left = static_cast<size_t>(bytes.size());
    while (left > 0) {
        const ssize_t n = ::write(m_fd, at, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            m_error = cannotWrite(m_path, qt_error_string(n < 0 ? errno : ENOSPC), m_idioma);
            ::close(m_fd);
            m_fd = -1;
            return false;
        }
        at += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace vx
