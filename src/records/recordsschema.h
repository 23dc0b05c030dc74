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
    // *created tells whether the unit log was made now.
    static bool bringUpToDate(RecordsDatabase &db, bool *created, QString *error);

    // The version the database holds; 0 when it has none yet.
    static bool storedVersion(RecordsDatabase &db, int *version, QString *error);
};

} // namespace vx
