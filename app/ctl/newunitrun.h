#pragma once

#include "recordslocation.h"

#include <QObject>
#include <QStringList>

class EditMessages;

namespace vx {
class Databases;
class NewUnit;
class QtRecordsDatabase;
class UnitRecords;
} // namespace vx

// `vx308ctl new-unit`: "Novo" then "Aceitar" pressed on the values of a
// read, as the technician does in the window with the proposal unchanged.
// The records are reached before the port is opened, so that a bench that
// cannot use them writes nothing to the timer; the read before the proposal
// makes sure the timer answers before any number is taken.
class NewUnitRun
{
public:
    // `newUnit` and `unitRecords` are the session's, on `records`.
    NewUnitRun(EditMessages &editMessages, vx::NewUnit &newUnit, vx::UnitRecords &unitRecords,
               vx::Databases &databases, vx::QtRecordsDatabase &records);
    ~NewUnitRun();

    // The records reachable and up to date (rows that waited on this PC
    // added), and the default values of a new unit in the data folder (made
    // with their first values when missing). False with the reason said on
    // standard error.
    bool ready(const vx::RecordsLocation &location, int idioma);
    // "Novo" then "Aceitar". False when either refused (the reason has been
    // said); the timer is then left as it was.
    bool accept();
    // The fields the timer still has to accept.
    QStringList unwrittenFields() const;
    // After the write: prints the unit on standard output (a JSON object
    // with json) when the timer holds it, logged or waiting on this PC, or
    // says why it was not logged. Returns the exit status, given the one so
    // far: RecordsCommands::kLoggedLater when the row waits.
    int conclude(int status, bool json);
    // When the run is cut off in the middle of the unit's writes: leaves
    // the unit's numbers for this timer (NewUnit::abandon) and says which
    // values the timer took and which not, and how to finish the unit.
    // Empty when no unit is being written.
    QString giveUp(int idioma);

private:
    EditMessages &m_editMessages;
    vx::Databases &m_databases;
    vx::QtRecordsDatabase &m_records;
    vx::UnitRecords &m_unitRecords;
    vx::NewUnit &m_newUnit;
    bool m_logged = false;
    bool m_waiting = false;
    QString m_nfab;
    qint64 m_nmec = 0;
};
