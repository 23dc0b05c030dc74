#pragma once

#include "recordslocation.h"
#include "usersettings.h"

#include <QString>

namespace vx {

// Which records a program uses: the PC's own Registo.db in the data folder,
// or a shared PostgreSQL database. The choice is made with --records URL
// (--records local: the PC's own file) and kept per user, in the same file as
// the chosen port (~/.config/vx308/vx308-maint.ini), so that the window and
// vx308ctl on one bench find the same records without being told each time.
//
// Only the window keeps a choice (remember = true); vx308ctl reads it and
// takes a --records of its own for that run only, so that a script cannot
// move the bench's records by accident. The password of a URI is never kept:
// it is read, as PostgreSQL's own tools do, from ~/.pgpass or PGPASSWORD.
class RecordsChoice
{
public:
    // `file` empty: the user's configuration folder.
    explicit RecordsChoice(QString file = {});

    QString file() const { return m_settings.file(); }

    // The word that means the PC's own file.
    static QString localWord();
    // Whether `text` is something --records takes; false with a sentence in
    // *error naming what is wrong.
    static bool isValid(const QString &text, QString *error);

    // The records to use: `option` is what --records gave (empty: not given),
    // `dataFolder` the folder of the PC's own file (empty: the current
    // folder). With remember, a URI given is kept for the next start and
    // "local" forgets the kept one. False with *error when the option is not
    // a valid choice; a choice that cannot be kept is said in *note, and used.
    bool choose(const QString &option, const QString &dataFolder, bool remember,
                RecordsLocation *out, QString *error, QString *note = nullptr) const;

    // The kept URI, without password; empty when none is kept.
    QString rememberedUrl() const;

private:
    bool keep(const QString &url) const;

    UserSettings m_settings;
};

} // namespace vx
