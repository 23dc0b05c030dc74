#include "safefile.h"

#include "platformtexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool fail(QString *error, const QString &text)
{
    if (error) *error = text;
    return false;
}

QString writeFailure(const QString &path, int errorNumber, int idioma)
{
    return textOf(kSafeFileTexts, "writeFailed", idioma)
        .arg(shown(path), qt_error_string(errorNumber));
}

QString readFailure(const QString &path, int errorNumber, int idioma)
{
    return textOf(kSafeFileTexts, "readFailed", idioma)
        .arg(shown(path), qt_error_string(errorNumber));
}

QString kindOf(mode_t mode, int idioma)
{
    if (S_ISREG(mode)) return {};
    if (S_ISDIR(mode)) return textOf(kSafeFileTexts, "folder", idioma);
    if (S_ISFIFO(mode)) return textOf(kSafeFileTexts, "fifo", idioma);
    if (S_ISSOCK(mode)) return textOf(kSafeFileTexts, "socket", idioma);
    return textOf(kSafeFileTexts, "device", idioma);
}

QString notRegularText(const QString &path, const QString &kind, int idioma)
{
    return textOf(kSafeFileTexts, "notRegular", idioma).arg(shown(path), kind);
}

bool writeAll(int fd, const QByteArray &data)
{
    const char *at = data.constData();
    auto left = static_cast<size_t>(data.size());
    while (left > 0) {
        const ssize_t n = ::write(fd, at, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// A link is followed, as an editor would: the file it names is replaced,
// the link stays.
QString fileBehind(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink()) return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Puts the complete temporary file in place; 0 or the errno of the failure.
int putInPlace(const QByteArray &temporary, const QByteArray &target, SafeFile::Existing existing)
{
    if (existing == SafeFile::Existing::Replace)
        return ::rename(temporary.constData(), target.constData()) == 0 ? 0 : errno;
    // A hard link never replaces: one another program made meanwhile wins.
    if (::link(temporary.constData(), target.constData()) == 0 || errno == EEXIST) {
        ::unlink(temporary.constData());
        return 0;
    }
    return ::rename(temporary.constData(), target.constData()) == 0 ? 0 : errno;
}

} // namespace

QString SafeFile::notRegular(const QString &path, int idioma)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    const QString kind = kindOf(st.st_mode, idioma);
    return kind.isEmpty() ? QString() : notRegularText(path, kind, idioma);
}

bool SafeFile::write(const QString &path, const QByteArray &contents, int idioma, QString *error,
                     Existing existing)
{
    const QString refused = notRegular(path, idioma);
    if (!refused.isEmpty())
        return fail(error, refused + textOf(kSafeFileTexts, "notReplaced", idioma));
    const QString target = fileBehind(path);
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old
    {
    };
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    if (exists && existing == Existing::Keep) return true;
    const QFileInfo info(target);
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") +
                                             info.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return fail(error, writeFailure(path, errno, idioma));
    int failure = 0;
    // fsync: a full disk or a lost network folder may only show when the
    // data leaves the cache.
    if (!writeAll(fd, contents) ||
        ::fchmod(fd, exists ? (old.st_mode & 07777) : newFileMode()) != 0 || ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0) failure = putInPlace(temporary, targetName, existing);
    if (failure == 0) return true;
    ::unlink(temporary.constData());
    return fail(error, writeFailure(path, failure, idioma));
}

bool SafeFile::read(const QString &path, qint64 maxBytes, int idioma, QByteArray *contents,
                    QString *error)
{
    const QString notAFile = notRegular(path, idioma);
    if (!notAFile.isEmpty()) return fail(error, notAFile);
    // Not blocking: a FIFO put there since would otherwise hold the open.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(error, readFailure(path, errno, idioma));
    struct stat st
    {
    };
    QString refused;
    if (::fstat(fd, &st) != 0)
        refused = readFailure(path, errno, idioma);
    else if (!S_ISREG(st.st_mode))
        refused = notRegularText(path, kindOf(st.st_mode, idioma), idioma);
    QByteArray data;
    const QString tooLarge =
        textOf(kSafeFileTexts, "tooLarge", idioma).arg(shown(path)).arg(maxBytes / 1024);
    if (refused.isEmpty() && st.st_size > maxBytes) refused = tooLarge;
    if (refused.isEmpty()) {
        // One byte more than allowed tells a file that grew since fstat.
        data.resize(static_cast<qsizetype>(maxBytes) + 1);
        qsizetype got = 0;
        while (got < data.size()) {
            const ssize_t n = ::read(fd, data.data() + got, static_cast<size_t>(data.size() - got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) refused = readFailure(path, errno, idioma);
            if (n <= 0) break;
            got += n;
        }
        if (refused.isEmpty() && got > maxBytes) refused = tooLarge;
        data.truncate(got);
    }
    ::close(fd);
    if (!refused.isEmpty()) return fail(error, refused);
    *contents = data;
    return true;
}

} // namespace vx
