#pragma once

#include <QString>
#include <QStringList>

namespace vx {

// The files the programs ship with (the report layout), installed in
// share/vx308. The one place that decides where they are read from.
class SharedFiles
{
public:
    // The folders looked in, in order: share/vx308 beside the folder of the
    // running program (/usr/bin/../share/vx308 once installed; the build
    // folder copies the files to the same place), then share/ of the source
    // tree the program was built from. Needs the application object.
    static QStringList folders();

    // The full path of `name` in the first of `folders` that holds it. Empty
    // when none does, with a sentence in *error that names the file, every
    // folder looked in and what to do.
    static QString find(const QString &name, const QStringList &folders, QString *error);
    static QString find(const QString &name, QString *error);

    // Copies the shipped file `shipped` to `target` (a copy the user may
    // edit), every write checked; a file already at `target` is kept as it
    // is. False, with *error naming `target` and the cause, when the copy
    // could not be made whole; nothing is left at `target` then.
    static bool copyTo(const QString &shipped, const QString &target, QString *error);
};

} // namespace vx
