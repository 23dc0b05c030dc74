#include "takingsreport.h"

#include "fieldtable.h"
#include "frame.h"
#include "textforms.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace vx {

namespace {

enum class Zeroing
{
    ByClear, // the erase sets it to zero
    Kept     // the erase leaves it (the accumulated takings)
};

// One value followed from visit to visit.
struct Meter
{
    QString field;
    bool money = false;
    Zeroing zeroing = Zeroing::ByClear;
    bool watchJumps = false;
    std::optional<qint64> last;
    qint64 gained = 0;
};

Meter meter(const QString &field, bool money, Zeroing zeroing, bool watchJumps = false)
{
    Meter m;
    m.field = field;
    m.money = money;
    m.zeroing = zeroing;
    m.watchJumps = watchJumps;
    return m;
}

std::optional<qint64> valueOf(const Snapshot &s, const Meter &m)
{
    const QString text = s.values.value(m.field).trimmed();
    if (m.money) {
        const auto amount = cents(text);
        return amount ? std::optional<qint64>(*amount) : std::nullopt;
    }
    const auto count = integer(text);
    // A power-down count reads -1 from an erased timer; the window writes
    // such a count back as 0.
    return count ? std::optional<qint64>(std::max<qint64>(*count, 0)) : std::nullopt;
}

bool writtenByPc(Snapshot::Reason reason)
{
    return reason == Snapshot::Reason::Restore || reason == Snapshot::Reason::Paste;
}

// What the visit adds to the meter since the one before, and the signs it
// shows.
void step(Meter &m, const Snapshot &s, UnitTakings &row)
{
    const auto value = valueOf(s, m);
    if (value && m.last) {
        const qint64 before = *m.last;
        const qint64 after = *value;
        const bool down = after < before;
        if (down)
            row.signs.append({m.zeroing == Zeroing::Kept ? TakingsSign::Kind::TotalDown
                                                         : TakingsSign::Kind::CounterReset,
                              s.taken, m.field, before, after});
        const qint64 counted = !down ? after - before : m.zeroing == Zeroing::Kept ? 0 : after;
        if (!writtenByPc(s.reason)) {
            m.gained += counted;
            if (m.watchJumps && counted > TakingsReport::kPowerDownJump)
                row.signs.append(
                    {TakingsSign::Kind::PowerDownJump, s.taken, m.field, before, after});
        }
    }
    if (value) m.last = value;
    if (s.reason == Snapshot::Reason::Clear && m.zeroing == Zeroing::ByClear) m.last = 0;
}

// The meters of one unit's row: the accumulated takings, the five bands, the
// games and the power downs.
struct UnitMeters
{
    UnitMeters()
        : accumulated(meter(fieldName(FieldId::Accumulated), true, Zeroing::Kept)),
          games(meter(fieldName(FieldId::Games), false, Zeroing::ByClear)),
          powerDowns(meter(fieldName(FieldId::PowerDowns), false, Zeroing::ByClear, true))
    {
        for (size_t b = 0; b < bands.size(); ++b)
            bands[b] = meter(TakingsReport::bandFields()[b], true, Zeroing::ByClear);
    }

    void see(const Snapshot &s, UnitTakings &row)
    {
        step(accumulated, s, row);
        for (Meter &b : bands)
            step(b, s, row);
        step(games, s, row);
        step(powerDowns, s, row);
    }

    Meter accumulated;
    std::array<Meter, 5> bands;
    Meter games;
    Meter powerDowns;
};

bool sameUnit(const Snapshot &a, const Snapshot &b)
{
    return a.manufacturingNumber == b.manufacturingNumber &&
           a.applicationSerial == b.applicationSerial;
}

// The order of the rows and of each unit's visits, compared on numbers: a
// year of a fleet is many snapshots, and comparing local date-times is slow.
struct VisitOrder
{
    const Snapshot *snapshot;
    qint64 day;
    int msecs;

    bool operator<(const VisitOrder &o) const
    {
        const Snapshot &a = *snapshot;
        const Snapshot &b = *o.snapshot;
        if (const int c = a.manufacturingNumber.compare(b.manufacturingNumber)) return c < 0;
        if (const int c = a.applicationSerial.compare(b.applicationSerial)) return c < 0;
        if (day != o.day) return day < o.day;
        if (msecs != o.msecs) return msecs < o.msecs;
        return a.id < b.id;
    }
};

QList<Snapshot> inOrder(const QList<Snapshot> &snapshots, const QDate &from, const QDate &to)
{
    std::vector<VisitOrder> order;
    order.reserve(size_t(snapshots.size()));
    for (const Snapshot &s : snapshots) {
        const QDate day = s.taken.date();
        if (day >= from && day <= to)
            order.push_back({&s, day.toJulianDay(), s.taken.time().msecsSinceStartOfDay()});
    }
    if (!std::is_sorted(order.begin(), order.end())) std::stable_sort(order.begin(), order.end());
    QList<Snapshot> out;
    out.reserve(qsizetype(order.size()));
    for (const VisitOrder &o : order)
        out.append(*o.snapshot);
    return out;
}

// The row of the unit whose visits are [first, end).
UnitTakings rowOf(QList<Snapshot>::const_iterator first, QList<Snapshot>::const_iterator end)
{
    UnitTakings row;
    row.manufacturingNumber = first->manufacturingNumber;
    row.applicationSerial = first->applicationSerial;
    row.firstVisit = first->taken;
    row.lastVisit = (end - 1)->taken;
    UnitMeters meters;
    std::optional<qint64> firstAccumulated;
    for (auto s = first; s != end; ++s) {
        meters.see(*s, row);
        if (!firstAccumulated) firstAccumulated = meters.accumulated.last;
        ++row.visits;
        if (s->reason == Snapshot::Reason::Clear) ++row.clears;
    }
    row.accumulatedFirst = firstAccumulated.value_or(0);
    row.accumulatedLast = meters.accumulated.last.value_or(0);
    row.takings = meters.accumulated.gained;
    for (size_t b = 0; b < row.bands.size(); ++b)
        row.bands[b] = meters.bands[b].gained;
    row.games = meters.games.gained;
    row.powerDowns = meters.powerDowns.gained;
    return row;
}

} // namespace

bool UnitTakings::shows(TakingsSign::Kind kind) const
{
    return std::any_of(signs.cbegin(), signs.cend(),
                       [kind](const TakingsSign &s) { return s.kind == kind; });
}

const std::array<QString, 5> &TakingsReport::bandFields()
{
    static const std::array<QString, 5> fields{
        fieldName(FieldId::Total00), fieldName(FieldId::Total08), fieldName(FieldId::Total12),
        fieldName(FieldId::Total15), fieldName(FieldId::Total20)};
    return fields;
}

const QStringList &TakingsReport::fields()
{
    static const QStringList fields = [] {
        QStringList out{fieldName(FieldId::Accumulated), fieldName(FieldId::Games),
                        fieldName(FieldId::PowerDowns)};
        for (const QString &band : bandFields())
            out << band;
        return out;
    }();
    return fields;
}

QList<UnitTakings> TakingsReport::compute(const QList<Snapshot> &all, const QDate &from,
                                          const QDate &to)
{
    const QList<Snapshot> snapshots = inOrder(all, from, to);
    QList<UnitTakings> rows;
    auto first = snapshots.cbegin();
    while (first != snapshots.cend()) {
        auto end = std::find_if(first, snapshots.cend(),
                                [&](const Snapshot &s) { return !sameUnit(s, *first); });
        rows.append(rowOf(first, end));
        first = end;
    }
    return rows;
}

bool TakingsReport::read(ServiceHistory &history, const QDate &from, const QDate &to,
                         QList<UnitTakings> *out, QString *error)
{
    QList<Snapshot> snapshots;
    if (!history.visitsBetween(from, to, &snapshots, error, fields())) return false;
    *out = compute(snapshots, from, to);
    return true;
}

QString TakingsReport::money(qint64 cents)
{
    if (cents >= 0 && cents <= qint64(std::numeric_limits<uint32_t>::max()))
        return moeda_texto(uint32_t(cents));
    // Beyond what a timer holds (a fleet's sum): the same form, longer.
    const qint64 whole = cents / 100;
    const auto rest = uint32_t(cents < 0 ? -(cents % 100) : cents % 100);
    return (cents < 0 && whole == 0 ? QStringLiteral("-") : QString()) + QString::number(whole) +
           moeda_texto(rest).mid(1);
}

UnitTakings TakingsReport::total(const QList<UnitTakings> &rows)
{
    UnitTakings sum;
    for (const UnitTakings &r : rows) {
        if (!sum.firstVisit.isValid() || r.firstVisit < sum.firstVisit)
            sum.firstVisit = r.firstVisit;
        if (!sum.lastVisit.isValid() || r.lastVisit > sum.lastVisit) sum.lastVisit = r.lastVisit;
        sum.accumulatedFirst += r.accumulatedFirst;
        sum.accumulatedLast += r.accumulatedLast;
        sum.takings += r.takings;
        for (size_t b = 0; b < sum.bands.size(); ++b)
            sum.bands[b] += r.bands[b];
        sum.games += r.games;
        sum.powerDowns += r.powerDowns;
        sum.visits += r.visits;
        sum.clears += r.clears;
    }
    return sum;
}

} // namespace vx
