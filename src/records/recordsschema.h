#pragma once

#include <QString>

namespace vx {

class RecordsDatabase;

// The tables of the records database and the ordered steps that bring any
// older database up to the latest version. The version is kept in the table
// RecordsSchema; a database without it is at version 0 (a PC's Registo.db as
// earlier versions of the tool made it, with TbRegisto alone, or an empty
// one). The same tables are made in both engines; only the column types of
// the automatically numbered keys, dates and times differ.
class RecordsSchema
{
public:
    static int latestVersion();

    // Applies every missing step in one transaction under the write lock, so
    // that two benches starting together change the schema once. Refuses a
    // database of a newer version than this build knows, touching nothing.
    // *created tells whether the unit log was made now. On PostgreSQL the
    // benches' group role vx308_bench, when there is one, is given what a
    // bench needs (read everything, add log and history rows, hold and free
    // reservations) after every change; the log and the history refuse any
    // change or deletion of their rows on either engine. idioma: the language
    // of the messages (0 Portuguese, 1 English).
    static bool bringUpToDate(RecordsDatabase &db, bool *created, QString *error, int idioma = 0);

    // The version the database holds; 0 when it has none yet.
    static bool storedVersion(RecordsDatabase &db, int *version, QString *error);
};

} // namespace vx
