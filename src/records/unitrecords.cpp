#include "unitrecords.h"

#include "recordsdatabase.h"
#include "recordsoutbox.h"
#include "recordsschema.h"
#include "recordstexts.h"

#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <string_view>

namespace vx {

namespace {

void setLogError(QString *error, const QString &text)
{
    if (error) *error = text;
}

const QString kLogColumns = QStringLiteral(R"("NMec", "NFab", "NAct", "SAct", "Data", "hora")");

QString logText(std::string_view key, int idioma)
{
    return textOf(kUnitRecordsTexts, key, idioma);
}

// A whole number from a column of either engine, whatever type the driver
// gave it; false for NULL, text, a fraction or a number past 64 bits.
bool wholeNumber(const QVariant &v, qint64 *out)
{
    if (v.isNull()) return false;
    bool ok = false;
    *out = v.toString().trimmed().toLongLong(&ok);
    return ok;
}

LogRow logRow(const RecordsDatabase::Row &r)
{
    LogRow l;
    l.NMec = r.value(0).toLongLong();
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
    QSet<qint64> nmecs;
    QSet<QString> nfabs;
    int idioma = 0;

    void add(qint64 nmec, const QString &nfab)
    {
        nmecs.insert(nmec);
        if (!nfab.isEmpty()) nfabs.insert(nfab);
    }

    // Why the row (the place-th of the log, from 1) cannot be copied; empty
    // when it can.
    QString refusal(const LogRow &l, qsizetype place) const
    {
        const QString row = logText("row", idioma).arg(place).arg(l.NMec).arg(l.NFab);
        if (l.NMec < 1)
            return row + logText("noNMec", idioma).arg(UnitRecords::kLargestNMec).arg(l.NMec);
        if (l.NFab.isEmpty()) return row + logText("noNFab", idioma);
        if (!validCounts(l)) return row + logText("counts", idioma).arg(l.NAct).arg(l.SAct);
        if (nmecs.contains(l.NMec)) return row + logText("nmecTaken", idioma);
        if (nfabs.contains(l.NFab)) return row + logText("nfabTaken", idioma);
        return {};
    }
};

// A row of the log read for import, or why it cannot be (its place in the
// log from 1).
QString unusableRow(const RecordsDatabase::Row &r, qsizetype place, int idioma)
{
    qint64 nmec = 0;
    const QString nfab = r.value(1).toString();
    const QString row = logText("row", idioma).arg(place).arg(r.value(0).toString(), nfab);
    if (!wholeNumber(r.value(0), &nmec) || nmec < 1)
        return row + logText("noNMec", idioma)
                         .arg(UnitRecords::kLargestNMec)
                         .arg(r.value(0).isNull() ? QStringLiteral("NULL") : r.value(0).toString());
    if (nfab.trimmed().isEmpty()) return row + logText("noNFab", idioma);
    return {};
}

const QString kReservationColumns =
    QStringLiteral(R"("reservation", "NMec", "NFab", "NAct", "SAct", "Data", "hora", "entry_key")");

// The row and the freed reservation in one transaction; a row whose key is in
// the log already is not added again (the reservation is freed all the same).
// The numbers are this bench's: nothing clashes with another bench, so the
// records' write lock is not needed.
bool logOnce(RecordsDatabase &db, const UnitNumbers &numbers, QString *error)
{
    const LogRow &l = numbers.row;
    if (!validCounts(l)) {
        setLogError(error, textOf(kUnitRecordsTexts, "invalidRow").arg(l.NAct).arg(l.SAct));
        return false;
    }
    QVariantList values = logValues(l);
    values << (numbers.key.isEmpty() ? QVariant() : QVariant(numbers.key));
    return db.transaction(
        [&](QString *failure) {
            return db.run(QStringLiteral(R"(INSERT INTO "TbRegisto" (%1, "entry_key") )"
                                         R"(VALUES (?, ?, ?, ?, ?, ?, ?) )"
                                         R"(ON CONFLICT ("entry_key") DO NOTHING)")
                              .arg(kLogColumns),
                          values, nullptr, failure) &&
                   db.run(QStringLiteral(R"(DELETE FROM "UnitReservations" )"
                                         R"(WHERE "reservation" = ? AND "NMec" = ?)"),
                          {numbers.reservation, l.NMec}, nullptr, failure);
        },
        error);
}

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
    return RecordsSchema::bringUpToDate(m_db, createdLog, error, m_idioma);
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

bool UnitRecords::findInterrupted(const UnitRequest &request, UnitNumbers *out, bool *found,
                                  QString *error)
{
    *found = false;
    if (request.forSerial.isEmpty() || request.forUnit.isEmpty() ||
        request.number != request.proposed)
        return true;
    QList<RecordsDatabase::Row> rows;
    // The timer may hold the unit it had, the new one, or (cut off between
    // the writes of the number and of the code, or with a reply lost) the
    // number of one and the code of the other.
    const QVariant unit = request.forUnit;
    if (!m_db.run(QStringLiteral(R"(SELECT %1 FROM "UnitReservations" WHERE "resumable" = 1 )"
                                 R"(AND "for_serial" = ? AND (? = "for_unit" OR ? = "NFab" OR )"
                                 R"(? = substr("for_unit", 1, 5) || substr("NFab", 6) OR )"
                                 R"(? = substr("NFab", 1, 5) || substr("for_unit", 6)) )"
                                 R"(ORDER BY "reservation" DESC LIMIT 1)")
                      .arg(kReservationColumns),
                  {request.forSerial, unit, unit, unit, unit}, &rows, error))
        return false;
    if (rows.isEmpty()) return true;
    // Claimed: a second bench with a timer of the same identity does not get
    // them too.
    if (!m_db.run(QStringLiteral(
                      R"(UPDATE "UnitReservations" SET "resumable" = 0 WHERE "reservation" = ?)"),
                  {rows.first().value(0)}, nullptr, error))
        return false;
    const RecordsDatabase::Row &r = rows.first();
    out->reservation = r.value(0).toLongLong();
    out->row = logRow(r.mid(1, 6));
    out->key = r.value(7).toString();
    out->resumed = true;
    *found = true;
    if (!out->key.isEmpty()) return true;
    // Held by a version that kept no key: it gets one now, for good.
    out->key = RecordsOutbox::newKey();
    return m_db.run(
        QStringLiteral(R"(UPDATE "UnitReservations" SET "entry_key" = ? WHERE "reservation" = ?)"),
        {out->key, out->reservation}, nullptr, error);
}

bool UnitRecords::pickNumber(const UnitRequest &request, qlonglong highestInWeek, qlonglong holder,
                             UnitNumbers *numbers, QString *error)
{
    int number = request.number;
    const bool keptProposal = request.number == request.proposed;
    if (keptProposal && (holder != 0 || number <= highestInWeek)) {
        // Another bench took the proposed number meanwhile: the next free.
        number = static_cast<int>(highestInWeek);
        do {
            ++number;
            if (!holderOf(m_db, request.code + QString::number(number), &holder, error))
                return false;
        } while (holder != 0 && number <= 255);
        if (number > 255) {
            setLogError(error, logText("weekFull", m_idioma).arg(request.code));
            return false;
        }
        numbers->moved = true;
    } else if (holder != 0) {
        setLogError(error,
                    logText("numberTaken", m_idioma).arg(request.code).arg(number).arg(holder));
        // The window names the unit and proposes the next free number.
        numbers->takenBy = holder;
        qlonglong other = 0;
        int next = static_cast<int>(highestInWeek);
        bool read = true;
        do {
            ++next;
            read = holderOf(m_db, request.code + QString::number(next), &other, nullptr);
        } while (read && other != 0 && next <= 255);
        numbers->nextFree = read && other == 0 && next <= 255 ? next : 0;
        return false;
    }
    LogRow &row = numbers->row;
    row.NFab = request.code + QString::number(number);
    row.NAct = std::max(number, static_cast<int>(highestInWeek));
    return true;
}

bool UnitRecords::allocate(const UnitRequest &request, UnitNumbers *out, QString *error)
{
    if (request.number < 0 || request.number > 255 || request.week < 0 || request.week > 53) {
        setLogError(error,
                    logText("invalidNumber", m_idioma).arg(request.code).arg(request.number));
        return false;
    }
    UnitNumbers numbers;
    const auto work = [&](QString *failure) {
        bool resumed = false;
        if (!findInterrupted(request, &numbers, &resumed, failure)) return false;
        if (resumed) return true;
        AllocationStart start;
        if (!readStart(m_db, request, request.code + QString::number(request.number), &start,
                       failure))
            return false;
        if (start.highestNMec >= kLargestNMec) {
            setLogError(failure, logText("full", m_idioma).arg(m_db.where()).arg(kLargestNMec));
            return false;
        }
        const qlonglong highestInWeek = std::max<qlonglong>(start.highestInWeek, request.basis);
        if (!pickNumber(request, highestInWeek, start.holder, &numbers, failure)) return false;
        LogRow &row = numbers.row;
        row.NMec = start.highestNMec + 1;
        row.SAct = request.week;
        row.Data = request.date;
        row.hora = request.time;
        numbers.key = RecordsOutbox::newKey();
        QVariantList values = logValues(row);
        values << request.host << numbers.key << request.forUnit << request.forSerial;
        return singleNumber(
            m_db,
            QStringLiteral(R"(INSERT INTO "UnitReservations" (%1, "host_name", "entry_key", )"
                           R"("for_unit", "for_serial") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) )"
                           R"(RETURNING "reservation")")
                .arg(kLogColumns),
            values, &numbers.reservation, failure);
    };
    if (!m_db.writeTransaction(work, error)) {
        out->takenBy = numbers.takenBy;
        out->nextFree = numbers.nextFree;
        return false;
    }
    *out = numbers;
    return true;
}

bool UnitRecords::log(const UnitNumbers &numbers, QString *error)
{
    return logOnce(m_db, numbers, error);
}

bool UnitRecords::release(const UnitNumbers &numbers, QString *error)
{
    return m_db.transaction(
        [&](QString *failure) {
            return m_db.run(QStringLiteral(R"(UPDATE "UnitReservations" SET "resumable" = 1 )"
                                           R"(WHERE "reservation" = ? AND "NMec" = ?)"),
                            {numbers.reservation, numbers.row.NMec}, nullptr, failure);
        },
        error);
}

QString UnitRecords::logTable()
{
    return QStringLiteral("TbRegisto");
}

OutboxRow UnitRecords::waitingRow(const UnitNumbers &numbers, const QString &records)
{
    const LogRow &l = numbers.row;
    OutboxRow row;
    row.key = numbers.key;
    row.table = logTable();
    row.records = records;
    row.queued = QDateTime::currentDateTimeUtc();
    row.values = {{QStringLiteral("NMec"), l.NMec},
                  {QStringLiteral("NFab"), l.NFab},
                  {QStringLiteral("NAct"), l.NAct},
                  {QStringLiteral("SAct"), l.SAct},
                  {QStringLiteral("Data"), l.Data.toString(Qt::ISODate)},
                  {QStringLiteral("hora"), l.hora.toString(QStringLiteral("HH:mm:ss"))},
                  {QStringLiteral("reservation"), numbers.reservation}};
    return row;
}

bool UnitRecords::numbersOf(const OutboxRow &row, UnitNumbers *out)
{
    const QJsonObject &v = row.values;
    UnitNumbers n;
    n.key = row.key;
    n.reservation = v.value(QStringLiteral("reservation")).toInteger();
    n.row.NMec = v.value(QStringLiteral("NMec")).toInteger();
    n.row.NFab = v.value(QStringLiteral("NFab")).toString();
    n.row.NAct = v.value(QStringLiteral("NAct")).toInt(-1);
    n.row.SAct = v.value(QStringLiteral("SAct")).toInt(-1);
    n.row.Data = QDate::fromString(v.value(QStringLiteral("Data")).toString(), Qt::ISODate);
    n.row.hora =
        QTime::fromString(v.value(QStringLiteral("hora")).toString(), QStringLiteral("HH:mm:ss"));
    if (row.table != logTable() || row.key.isEmpty() || n.row.NMec < 1 || n.row.NFab.isEmpty())
        return false;
    *out = n;
    return true;
}

bool UnitRecords::addWaitingRow(RecordsDatabase &db, const OutboxRow &row, QString *error)
{
    UnitNumbers numbers;
    if (!numbersOf(row, &numbers)) {
        setLogError(error, QStringLiteral("%1: %2?").arg(row.key, logTable()));
        return false;
    }
    return logOnce(db, numbers, error);
}

bool UnitRecords::listUnits(QList<LogRow> *out, QString *error)
{
    return readLog(m_db, out, error);
}

bool UnitRecords::readLog(RecordsDatabase &db, QList<LogRow> *out, QString *error,
                          QStringList *unusable, int idioma)
{
    QList<RecordsDatabase::Row> rows;
    if (!db.run(QStringLiteral(R"(SELECT %1 FROM "TbRegisto" ORDER BY "ordem")").arg(kLogColumns),
                {}, &rows, error))
        return false;
    out->clear();
    out->reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString why = unusable ? unusableRow(rows.at(i), i + 1, idioma) : QString();
        if (why.isEmpty())
            out->append(logRow(rows.at(i)));
        else
            unusable->append(why);
    }
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
        taken.idioma = m_idioma;
        for (const auto &r : held)
            taken.add(r.value(0).toLongLong(), r.value(1).toString());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const LogRow &l = rows.at(i);
            const QString why = taken.refusal(l, i + 1);
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
