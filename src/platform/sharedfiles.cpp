#include "sharedfiles.h"

#include "platformtexts.h"
#include "safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vx {

QStringList SharedFiles::folders()
{
    QStringList list{QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/../share/vx308"))};
    // Set by src/platform/CMakeLists.txt: the last resort of a program run
    // from a build folder whose copy has not been made yet.
    const QString sourceTree = QDir::cleanPath(QStringLiteral(VX_SOURCE_SHARE_FOLDER));
    if (!list.contains(sourceTree)) list << sourceTree;
    return list;
}

QString SharedFiles::find(const QString &name, const QStringList &folders, QString *error)
{
    for (const QString &folder : folders) {
        const QFileInfo candidate(QDir(folder), name);
        if (candidate.isFile() && candidate.isReadable()) return candidate.absoluteFilePath();
    }
    QStringList shown;
    for (const QString &folder : folders)
        shown << QDir::toNativeSeparators(folder);
    if (error)
        *error = textOf(kSharedFilesTexts, "missing").arg(name, shown.join(QStringLiteral(", ")));
    return {};
}

QString SharedFiles::find(const QString &name, QString *error)
{
    return find(name, folders(), error);
}

bool SharedFiles::copyTo(const QString &shipped, const QString &target, QString *error)
{
    // The shipped files are a few kB; a larger one is not one of them.
    constexpr qint64 kMaxShippedBytes = 16 * 1024 * 1024;
    QByteArray contents;
    return SafeFile::read(shipped, kMaxShippedBytes, 0, &contents, error) &&
           SafeFile::write(target, contents, 0, error, SafeFile::Existing::Keep);
}

} // namespace vx
