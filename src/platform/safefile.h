#pragma once

#include <QByteArray>
#include <QString>

namespace vx {

// Whole files written so that they either hold everything or are left as
// they were, and files read only when they are what they claim to be.
//
// Every write and the final flush to the disk are checked (a buffered write
// that "succeeded" says nothing about a full disk), the contents go to a
// temporary file beside the target and take its place only once complete.
// Only a regular file is ever replaced: a device node, a FIFO, a socket or a
// folder given by mistake (`save /dev/ttyUSB0`) is refused, never renamed
// over. Messages name the file and the cause, in Portuguese (idioma 0) or
// English (1).
class SafeFile
{
public:
    enum class Existing
    {
        Replace, // the new contents take the old file's place
        Keep     // a file already there (made by another program) stays as it is
    };

    // Writes `contents` as the whole of `path`. False, with *error naming the
    // file and the cause, when anything failed; the old file is then intact.
    static bool write(const QString &path, const QByteArray &contents, int idioma, QString *error,
                      Existing existing = Existing::Replace);

    // Reads the whole of `path` when it is a regular file of at most
    // `maxBytes`; never waits on a FIFO nor reads a device without end.
    static bool read(const QString &path, qint64 maxBytes, int idioma, QByteArray *contents,
                     QString *error);

    // Empty when `path` is missing or a regular file (or a link to one);
    // otherwise "%1 is a device, not a regular file" (a folder, a FIFO, a
    // socket) in `idioma`, with the path in place of %1.
    static QString notRegular(const QString &path, int idioma);
};

} // namespace vx
