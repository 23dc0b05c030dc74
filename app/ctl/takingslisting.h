#pragma once

#include "takingsreport.h"

#include <QDate>
#include <QList>
#include <QString>

// `vx308ctl takings`: the takings of every unit visited in a period, as a
// table (a header and one line per unit, separated by tabs, then the total),
// a JSON object or CSV.
class TakingsListing
{
public:
    // --from and --to as given (yyyy-MM-dd, either may be empty): to defaults
    // to today, from to a year before to. False with a sentence in *error.
    static bool period(const QString &from, const QString &to, const QDate &today, int idioma,
                       QDate *first, QDate *last, QString *error);

    static QString text(const QList<vx::UnitTakings> &rows, int idioma);
    static QString json(const QList<vx::UnitTakings> &rows, const QDate &from, const QDate &to);
};
