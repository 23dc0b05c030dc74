#pragma once

#include <QList>
#include <QString>

namespace vx {

// Which column of which table each ? of a statement stands for, read from the
// statement itself, so that a value refused before it is bound can be named
// by its column. Knows the forms the records speak: INSERT INTO "T" (...)
// VALUES (...), "column" = ? (and the other comparisons, SET's too), the
// table of the nearest FROM, INTO, UPDATE or JOIN before it. A ? that is none
// of these gets an empty column.
class StatementColumns
{
public:
    struct Place
    {
        QString table;
        QString column;
    };

    // One place per ?, in order; a ? inside a quoted text or name is none.
    static QList<Place> ofPlaceholders(const QString &sql);
};

} // namespace vx
