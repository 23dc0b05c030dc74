#pragma once

#include "configfile.h"

#include <QDateTime>
#include <QSet>
#include <QString>
#include <optional>

namespace vx {
class EditSet;
}

// `save`, `diff` and `restore`: a unit's configuration file against the
// timer. The file is read and checked before the timer is reached, so a file
// that cannot be used writes nothing; the work itself is done on the values
// of the first read.
class ConfigCommands
{
public:
    enum class Command
    {
        Save,
        Diff,
        Restore
    };

    // Exit status when the file cannot be read, is damaged or cannot be
    // written, or is another unit's and --identity was not given.
    static constexpr int kFileProblem = 65;

    ConfigCommands(Command command, QString path, bool allValues);

    // The language of the messages: 0 Portuguese, 1 English.
    void setLanguage(int idioma) { m_idioma = idioma; }
    // restore --all may give the timer the identity of the unit the file was
    // saved from (--identity); without it such a restore writes nothing.
    void allowOtherIdentity(bool allowed) { m_otherIdentity = allowed; }

    static std::optional<Command> commandNamed(const QString &name);
    Command command() const { return m_command; }

    // Reads and checks the file of `diff` and `restore`; says on standard
    // error what is wrong with it and returns false.
    bool loadFile();

    // Called with the values of the first read. Returns the exit status so
    // far; `*writes` is set when values were marked for the write pass, each
    // added to `*unwritten` until the timer accepts it.
    int afterRead(vx::EditSet &edit, const QString &firmwareVersion, const QDateTime &now,
                  bool *writes, QSet<QString> *unwritten);

private:
    int save(const vx::EditSet &edit, const QString &firmwareVersion, const QDateTime &now);
    int diff(const vx::EditSet &edit, const QString &firmwareVersion);
    int restore(vx::EditSet &edit, bool *writes, QSet<QString> *unwritten);
    vx::ConfigFile::Scope scope() const;
    // Names on standard error each value of the file the timer cannot store,
    // and what follows from it; true when there was one.
    bool reportRefusals(const char *consequence) const;
    // Says on standard error that the file names another unit; true when it
    // does and the restore must not go on.
    bool refuseOtherUnit(const vx::ConfigFile &timer) const;

    Command m_command;
    QString m_path;
    bool m_allValues;
    int m_idioma = 1;
    bool m_otherIdentity = false;
    vx::ConfigFile m_file;
};
