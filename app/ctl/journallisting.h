#pragma once

#include "changejournal.h"

#include <QList>
#include <QString>

// `vx308ctl journal`: the changes of a unit, or of every unit, newest first,
// as a table, a JSON array or CSV.
class JournalListing
{
public:
    static QString text(const QList<vx::JournalEntry> &changes);
    static QString json(const QList<vx::JournalEntry> &changes);
    static QString csv(const QList<vx::JournalEntry> &changes);
};
