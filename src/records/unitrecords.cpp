#include "unitrecords.h"

#include "recordsdatabase.h"
#include "recordsschema.h"

#include <QSet>
#include <algorithm>

namespace vx {

namespace {

void setError(QString *error, const QString &text)
{
    if (error) *error = text;
}

const QString kLogColumns = QStringLiteral(R"("NMec", "NFab", "NAct", "SAct", "Data", "hora")");

LogRow logRow(const RecordsDatabase::Row &r)
{
    LogRow l;
    l.NMec = r.value(0).toInt();
    l.NFab = r.value(1).toString();
    l.NAct = r.value(2).toInt();
    l.SAct = r.value(3).toInt();
    l.Data = r.value(4).toDate();
    l.hora = r.value(5).toTime();
    return l;
}

QVariantList logValues(const LogRow &l)
{
    return {l.NMec, l.NFab, l.NAct, l.SAct, l.Data, l.hora};
}

// One number from a query of one row and one column; 0 when it has none.
bool singleNumber(RecordsDatabase &db, const QString &sql, const QVariantList &binds,
                  qlonglong *out, QString *error)
{
    QList<RecordsDatabase::Row> rows;
    if (!db.run(sql, binds, &rows, error)) return false;
    *out = rows.isEmpty() ? 0 : rows.first().value(0).toLongLong();
    return true;
}

// The units already holding a manufacturing number, logged or reserved.
bool holderOf(RecordsDatabase &db, const QString &nfab, qlonglong *nmec, QString *error)
{
    QList<RecordsDatabase::Row> rows;
    if (!db.run(QStringLiteral(R"(SELECT "NMec" FROM "TbRegisto" WHERE "NFab" = ? UNION ALL )"
                               R"(SELECT "NMec" FROM "UnitReservations" WHERE "NFab" = ?)"),
                {nfab, nfab}, &rows, error))
        return false;
    *nmec = rows.isEmpty() ? 0 : std::max<qlonglong>(1, rows.first().value(0).toLongLong());
    return true;
}

// What an allocation starts from, in one look under the write lock: the
// highest log number, the highest running number of this week of this year,
// and the log number of the unit that already has the manufacturing number
// asked for (0 when none); each over the log and the numbers held.
struct AllocationStart
{
    qlonglong highestNMec = 0;
    qlonglong highestInWeek = 0;
    qlonglong holder = 0;
};

bool readStart(RecordsDatabase &db, const UnitRequest &r, const QString &nfab, AllocationStart *out,
               QString *error)
{
    const QDate first(r.date.year(), 1, 1);
    const QDate last(r.date.year(), 12, 31);
    QList<RecordsDatabase::Row> rows;
    if (!db.run(QStringLiteral(
                    R"(SELECT (SELECT MAX(m) FROM (SELECT MAX("NMec") AS m FROM "TbRegisto" )"
                    R"(UNION ALL SELECT MAX("NMec") FROM "UnitReservations") n), )"
                    R"((SELECT MAX(a) FROM (SELECT MAX("NAct") AS a FROM "TbRegisto" )"
                    R"(WHERE "SAct" = ? AND "Data" >= ? AND "Data" <= ? UNION ALL )"
                    R"(SELECT MAX("NAct") FROM "UnitReservations" )"
                    R"(WHERE "SAct" = ? AND "Data" >= ? AND "Data" <= ?) w), )"
                    R"((SELECT MIN(h) FROM (SELECT "NMec" AS h FROM "TbRegisto" WHERE "NFab" = ? )"
                    R"(UNION ALL SELECT "NMec" FROM "UnitReservations" WHERE "NFab" = ?) x))"),
                {r.week, first, last, r.week, first, last, nfab, nfab}, &rows, error))
        return false;
    const RecordsDatabase::Row row = rows.value(0);
    out->highestNMec = row.value(0).toLongLong();
    out->highestInWeek = row.value(1).toLongLong();
    out->holder = row.value(2).isNull() ? 0 : std::max<qlonglong>(1, row.value(2).toLongLong());
    return true;
}

// The next new unit reads NAct back as a byte and SAct as a week.
bool validCounts(const LogRow &l)
{
    return l.NAct >= 0 && l.NAct <= 255 && l.SAct >= 0 && l.SAct <= 53;
}

// The numbers a log already holds, for an import to check each row against.
struct TakenNumbers
{
    QSet<int> nmecs;
    QSet<QString> nfabs;

    void add(int nmec, const QString &nfab)
    {
        nmecs.insert(nmec);
        if (!nfab.isEmpty()) nfabs.insert(nfab);
    }

    // Why the row cannot be copied; empty when it can.
    QString refusal(const LogRow &l) const
    {
        const QString row = QStringLiteral("NMec %1, NFab %2: ").arg(l.NMec).arg(l.NFab);
        if (!validCounts(l))
            return row +
                   QStringLiteral("NAct %1 ou SAct %2 fora dos limites").arg(l.NAct).arg(l.SAct);
        if (nmecs.contains(l.NMec)) return row + QStringLiteral("NMec já existe");
        if (!l.NFab.isEmpty() && nfabs.contains(l.NFab))
            return row + QStringLiteral("NFab já existe");
        return {};
    }
};

} // namespace

UnitRecords::UnitRecords(RecordsDatabase &db) : m_db(db) {}

QString UnitRecords::where() const
{
    return m_db.where();
}

int UnitRecords::schemaVersion()
{
    return RecordsSchema::latestVersion();
}

bool UnitRecords::prepare(QString *error, bool *createdLog)
{
    return RecordsSchema::bringUpToDate(m_db, createdLog, error);
}

bool UnitRecords::storedVersion(int *version, QString *error)
{
    return RecordsSchema::storedVersion(m_db, version, error);
}

bool UnitRecords::readLastLogRow(LastLogRow *last, QString *error)
{
    *last = LastLogRow{};
    QList<RecordsDatabase::Row> rows;
    if (!m_db.run(QStringLiteral(R"(SELECT %1 FROM "TbRegisto" ORDER BY "ordem" DESC LIMIT 1)")
                      .arg(kLogColumns),
                  {}, &rows, error))
        return false;
    if (rows.isEmpty()) return true;
    const LogRow l = logRow(rows.first());
    last->exists = true;
    last->NMec = l.NMec;
    last->NAct = l.NAct;
    last->SAct = l.SAct;
    last->Data = l.Data;
    return true;
}

bool UnitRecords::allocate(const UnitRequest &request, UnitNumbers *out, QString *error)
{
    if (request.number < 0 || request.number > 255 || request.week < 0 || request.week > 53) {
        setError(error, QStringLiteral("Número de fabrico inválido: %1%2.")
                            .arg(request.code)
                            .arg(request.number));
        return false;
    }
    UnitNumbers numbers;
    const auto work = [&](QString *failure) {
        AllocationStart start;
        if (!readStart(m_db, request, request.code + QString::number(request.number), &start,
                       failure))
            return false;
        const qlonglong highestNMec = start.highestNMec;
        const qlonglong highestInWeek = std::max<qlonglong>(start.highestInWeek, request.basis);
        int number = request.number;
        qlonglong holder = start.holder;
        const bool keptProposal = request.number == request.proposed;
        if (keptProposal && (holder != 0 || number <= highestInWeek)) {
            // Another bench took the proposed number meanwhile: the next free.
            number = static_cast<int>(highestInWeek);
            do {
                ++number;
                if (!holderOf(m_db, request.code + QString::number(number), &holder, failure))
                    return false;
            } while (holder != 0 && number <= 255);
            if (number > 255) {
                setError(failure, QStringLiteral("Os 255 números de fabrico da semana %1 já foram "
                                                 "dados; escolha outro código.")
                                      .arg(request.code));
                return false;
            }
            numbers.moved = true;
        } else if (holder != 0) {
            setError(failure, QStringLiteral("O número de fabrico %1%2 já foi dado à unidade %3 "
                                             "do registo; escolha outro.")
                                  .arg(request.code)
                                  .arg(number)
                                  .arg(holder));
            return false;
        }
        LogRow &row = numbers.row;
        row.NMec = static_cast<int>(highestNMec + 1);
        row.NFab = request.code + QString::number(number);
        row.NAct = std::max(number, static_cast<int>(highestInWeek));
        row.SAct = request.week;
        row.Data = request.date;
        row.hora = request.time;
        QVariantList values = logValues(row);
        values << request.host;
        return singleNumber(
            m_db,
            QStringLiteral(R"(INSERT INTO "UnitReservations" (%1, "host_name") )"
                           R"(VALUES (?, ?, ?, ?, ?, ?, ?) RETURNING "reservation")")
                .arg(kLogColumns),
            values, &numbers.reservation, failure);
    };
    if (!m_db.writeTransaction(work, error)) return false;
    *out = numbers;
    return true;
}

bool UnitRecords::log(const UnitNumbers &numbers, QString *error)
{
    const LogRow &l = numbers.row;
    if (!validCounts(l)) {
        setError(error,
                 QStringLiteral("Registo inválido: NAct %1, SAct %2.").arg(l.NAct).arg(l.SAct));
        return false;
    }
    // The numbers are this bench's already: the row and the freed reservation
    // clash with no other bench, so they need not wait for the write lock.
    return m_db.transaction(
        [&](QString *failure) {
            return m_db.run(
                       QStringLiteral(R"(INSERT INTO "TbRegisto" (%1) VALUES (?, ?, ?, ?, ?, ?))")
                           .arg(kLogColumns),
                       logValues(l), nullptr, failure) &&
                   m_db.run(
                       QStringLiteral(R"(DELETE FROM "UnitReservations" WHERE "reservation" = ?)"),
                       {numbers.reservation}, nullptr, failure);
        },
        error);
}

bool UnitRecords::listUnits(QList<LogRow> *out, QString *error)
{
    return readLog(m_db, out, error);
}

bool UnitRecords::readLog(RecordsDatabase &db, QList<LogRow> *out, QString *error)
{
    QList<RecordsDatabase::Row> rows;
    if (!db.run(QStringLiteral(R"(SELECT %1 FROM "TbRegisto" ORDER BY "ordem")").arg(kLogColumns),
                {}, &rows, error))
        return false;
    out->clear();
    out->reserve(rows.size());
    for (const auto &r : rows)
        out->append(logRow(r));
    return true;
}

bool UnitRecords::importUnits(const QList<LogRow> &rows, ImportOutcome *outcome, QString *error)
{
    *outcome = ImportOutcome{};
    const auto work = [&](QString *failure) {
        QList<RecordsDatabase::Row> held;
        if (!m_db.run(QStringLiteral(R"(SELECT "NMec", "NFab" FROM "TbRegisto" UNION ALL )"
                                     R"(SELECT "NMec", "NFab" FROM "UnitReservations")"),
                      {}, &held, failure))
            return false;
        TakenNumbers taken;
        for (const auto &r : held)
            taken.add(r.value(0).toInt(), r.value(1).toString());
        for (const LogRow &l : rows) {
            const QString why = taken.refusal(l);
            if (!why.isEmpty()) outcome->refused << why;
            taken.add(l.NMec, l.NFab);
        }
        if (!outcome->refused.isEmpty()) return true;
        for (const LogRow &l : rows)
            if (!m_db.run(
                    QStringLiteral(R"(INSERT INTO "TbRegisto" (%1) VALUES (?, ?, ?, ?, ?, ?))")
                        .arg(kLogColumns),
                    logValues(l), nullptr, failure))
                return false;
        outcome->copied = static_cast<int>(rows.size());
        return true;
    };
    return m_db.writeTransaction(work, error);
}

} // namespace vx
