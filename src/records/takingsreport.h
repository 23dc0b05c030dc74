#pragma once

#include "servicehistory.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <array>

namespace vx {

// Something between two visits that an owner looks into: the takings or a
// counter did not follow on from the visit before.
struct TakingsSign
{
    enum class Kind
    {
        TotalDown,     // the accumulated takings went down
        CounterReset,  // a sub-total or counter went down, and not by a Clear
        PowerDownJump, // the timer lost its power many times between two visits
    };
    Kind kind = Kind::TotalDown;
    QDateTime at;      // the visit that showed it
    QString field;     // the window field, as a snapshot keys it
    qint64 before = 0; // cents for money, else the count
    qint64 after = 0;
};

// One unit's takings over a period, from its visits in it. Money in cents.
struct UnitTakings
{
    QString manufacturingNumber;
    QString applicationSerial;
    QDateTime firstVisit;
    QDateTime lastVisit;
    qint64 accumulatedFirst = 0;   // accumulated takings, first visit
    qint64 accumulatedLast = 0;    // and at the last
    qint64 takings = 0;            // between the two
    std::array<qint64, 5> bands{}; // the five hour bands, 00h to 20h
    qint64 games = 0;              // games played
    qint64 powerDowns = 0;         // power downs
    int visits = 0;
    int clears = 0;
    QList<TakingsSign> signs;

    bool shows(TakingsSign::Kind kind) const;
};

// The takings of every unit visited in a period, from the service history.
//
// A unit's row follows its counters from its first visit in the period to its
// last. Clear zeroes the sub-totals and counters but not the accumulated
// takings, and its snapshot holds the values from just before the erase: the
// takings of a band are then what it counted up to the Clear plus what it
// counted since. A value that went down otherwise is a sign on the row: the
// accumulated total (nothing counted for that stretch, as what happened in it
// cannot be known), or a counter reset that was not a Clear (counted from
// zero). A restore or a paste puts the PC's values into the timer: the stretch
// up to it counts nothing, so that old or another unit's values never pass
// for takings, though a value it lowered is still a sign.
class TakingsReport
{
public:
    // More power failures than this between two visits is a sign: a timer
    // switched off and on to wipe what it shows, not the odd power cut.
    static constexpr qint64 kPowerDownJump = 3;

    // The sub-totals' fields, in the window's order (00-08h .. 20-24h).
    static const std::array<QString, 5> &bandFields();
    // Every value the report reads of a snapshot.
    static const QStringList &fields();

    // The rows of the units with snapshots from `from` to `to` (whole days),
    // in the order of their manufacturing number and application serial.
    // The snapshots may come in any order.
    static QList<UnitTakings> compute(const QList<Snapshot> &snapshots, const QDate &from,
                                      const QDate &to);
    // The same from the records. False with a sentence in *error naming the
    // records' place.
    static bool read(ServiceHistory &history, const QDate &from, const QDate &to,
                     QList<UnitTakings> *out, QString *error);

    // Cents as the window writes money: "1523,00".
    static QString money(qint64 cents);

    // The rows added up, for the fleet's line: the first and last visit the
    // earliest and the latest, the signs left out.
    static UnitTakings total(const QList<UnitTakings> &rows);
};

} // namespace vx
