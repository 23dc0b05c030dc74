#pragma once

#include "takingsreport.h"

#include <QDate>
#include <QList>
#include <QString>

namespace vx {

// The takings by unit written out: as CSV (one line per unit, for a
// spreadsheet or a script: the same from the window and from vx308ctl), as
// the HTML page the PDF is made from, and the words of its signs. Texts in
// Portuguese (idioma 0) or English (1).
class TakingsDocument
{
public:
    // A header line of column names, then one line per unit: money as the
    // window writes it, the signs as 0 or 1 and in English words.
    static QString csv(const QList<UnitTakings> &rows);
    // The whole report on a page: the period, a line per unit, the fleet's
    // total and every sign in full.
    static QString html(const QList<UnitTakings> &rows, const QDate &from, const QDate &to,
                        int idioma);

    // What a sign says, with the visit's date: "12-03-2026: ...".
    static QString signText(const TakingsSign &sign, int idioma);
    // The kinds of sign a row shows, in a few words each, joined by "; ".
    static QString signWords(const UnitTakings &row, int idioma);
    // A column's caption: the columns of a field (the bands, the accumulated
    // takings, the games, the power downs) by the field's name, the others by
    // the key of the table in the .cpp ("unit", "takings", "visits"...).
    static QString caption(const QString &key, int idioma);
    static QString title(int idioma);
    // "De 01-01-2026 a 31-12-2026".
    static QString period(const QDate &from, const QDate &to, int idioma);
};

} // namespace vx
