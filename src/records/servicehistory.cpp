#include "servicehistory.h"

#include "fieldtable.h"
#include "textforms.h"

#include "clock.h"
#include "editset.h"
#include "recordsdatabase.h"
#include "recordsoutbox.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <array>

namespace vx {

namespace {

struct ReasonName
{
    Snapshot::Reason reason;
    const char *name;
};
constexpr std::array<ReasonName, 4> kReasons{{{Snapshot::Reason::Read, "read"},
                                              {Snapshot::Reason::Clear, "clear"},
                                              {Snapshot::Reason::Restore, "restore"},
                                              {Snapshot::Reason::Paste, "paste"}}};

const QString kColumns = QStringLiteral(
    R"("snapshot_id", "reason", "manufacturing_number", "application_serial", "taken_date", )"
    R"("taken_time", "host_name", "field_values", "entry_key")");

bool isTickBox(const QString &field)
{
    const Field *f = fieldNamed(field);
    return f && f->form == TextForm::Flag;
}

// Every value of the row, or only those of `only` when it is not empty: a
// year of a fleet is many snapshots, and most reports need few values.
Snapshot snapshotOfRow(const RecordsDatabase::Row &r, const QStringList &only = {})
{
    Snapshot s;
    s.id = r.value(0).toLongLong();
    s.key = r.value(8).toString();
    Snapshot::reasonNamed(r.value(1).toString(), &s.reason);
    s.manufacturingNumber = r.value(2).toString();
    s.applicationSerial = r.value(3).toString();
    s.taken = QDateTime(r.value(4).toDate(), r.value(5).toTime());
    s.host = r.value(6).toString();
    const QJsonObject values = QJsonDocument::fromJson(r.value(7).toString().toUtf8()).object();
    if (only.isEmpty()) {
        for (auto it = values.constBegin(); it != values.constEnd(); ++it)
            s.values.insert(it.key(), it.value().toString());
        return s;
    }
    for (const QString &field : only) {
        const QJsonValue v = values.value(field);
        if (!v.isUndefined()) s.values.insert(field, v.toString());
    }
    return s;
}

QJsonObject valuesObject(const QMap<QString, QString> &values)
{
    QJsonObject o;
    for (auto it = values.begin(); it != values.end(); ++it)
        o.insert(it.key(), it.value());
    return o;
}

QString valuesJson(const QMap<QString, QString> &values)
{
    return QString::fromUtf8(QJsonDocument(valuesObject(values)).toJson(QJsonDocument::Compact));
}

// The unit's rows: an empty serial matches any.
const QString kUnitCondition =
    QStringLiteral(R"("manufacturing_number" = ? AND (? = '' OR "application_serial" = ?))");

} // namespace

QString Snapshot::reasonName(Reason r)
{
    for (const auto &n : kReasons)
        if (n.reason == r) return QString::fromLatin1(n.name);
    return {};
}

bool Snapshot::reasonNamed(const QString &name, Reason *r)
{
    for (const auto &n : kReasons)
        if (name == QLatin1String(n.name)) {
            *r = n.reason;
            return true;
        }
    return false;
}

ServiceHistory::ServiceHistory(RecordsDatabase &db, const Clock &clock, QString hostName)
    : m_db(db), m_clock(clock), m_hostName(std::move(hostName))
{
}

QString ServiceHistory::table()
{
    return QStringLiteral("ServiceSnapshots");
}

QString ServiceHistory::where() const
{
    return m_db.where();
}

QString ServiceHistory::unitKey(const QString &code, const QString &number)
{
    return makerNumberText(code, number);
}

QString ServiceHistory::unitKey(const QString &manufacturingNumber)
{
    // The code is a letter and four digits (year and week); what follows is
    // the running number.
    static const QRegularExpression whole(QStringLiteral("^([A-Za-z][0-9]{4})([0-9]+)$"));
    const QRegularExpressionMatch m = whole.match(manufacturingNumber);
    return m.hasMatch() ? unitKey(m.captured(1), m.captured(2)) : manufacturingNumber;
}

const QStringList &ServiceHistory::valueFields()
{
    // What a read fills: the fields "Lêr" blanks but the impulses to send
    // (the technician's, not the timer's), then the device clock and the
    // battery level.
    static const QStringList fields = [] {
        QStringList out = EditSet::clearedFields();
        out.removeAll(fieldName(FieldId::Impulses));
        return out + QStringList{fieldName(FieldId::ClockDate), fieldName(FieldId::ClockTime),
                                 fieldName(FieldId::Battery)};
    }();
    return fields;
}

Snapshot ServiceHistory::take(const EditSet &edit, Snapshot::Reason reason) const
{
    Snapshot s;
    s.key = RecordsOutbox::newKey();
    s.reason = reason;
    s.manufacturingNumber = unitKey(edit.text(fieldName(FieldId::MakerCode)),
                                    edit.text(fieldName(FieldId::MakerNumber)));
    s.applicationSerial = edit.text(fieldName(FieldId::ApplicationSerial));
    s.taken = m_clock.now();
    s.host = m_hostName;
    for (const QString &f : valueFields())
        s.values.insert(f, isTickBox(f) ? QString::number(edit.checked(f) ? 1 : 0) : edit.text(f));
    return s;
}

bool ServiceHistory::store(const Snapshot &s, qlonglong *id, QString *error)
{
    const QString key = s.key.isEmpty() ? RecordsOutbox::newKey() : s.key;
    qlonglong stored = 0;
    const auto work = [&](QString *failure) {
        QList<RecordsDatabase::Row> rows;
        const bool ok =
            m_db.run(
                QStringLiteral(R"(INSERT INTO "ServiceSnapshots" ("entry_key", "reason", )"
                               R"("manufacturing_number", "application_serial", "taken_date", )"
                               R"("taken_time", "host_name", "field_values") )"
                               R"(VALUES (?, ?, ?, ?, ?, ?, ?, ?) )"
                               R"(ON CONFLICT ("entry_key") DO NOTHING)"),
                {key, Snapshot::reasonName(s.reason),
                 RecordsDatabase::boundText(unitKey(s.manufacturingNumber)),
                 RecordsDatabase::boundText(s.applicationSerial), s.taken.date(), s.taken.time(),
                 RecordsDatabase::boundText(s.host), valuesJson(s.values)},
                nullptr, failure) &&
            m_db.run(QStringLiteral(
                         R"(SELECT "snapshot_id" FROM "ServiceSnapshots" WHERE "entry_key" = ?)"),
                     {key}, &rows, failure);
        if (ok && !rows.isEmpty()) stored = rows.first().value(0).toLongLong();
        return ok;
    };
    if (!m_db.writeTransaction(work, error)) return false;
    if (id) *id = stored;
    return true;
}

bool ServiceHistory::record(const EditSet &edit, Snapshot::Reason reason, qlonglong *id,
                            QString *error)
{
    return store(take(edit, reason), id, error);
}

bool ServiceHistory::visits(const QString &manufacturingNumber, const QString &applicationSerial,
                            QList<Snapshot> *out, QString *error)
{
    QList<RecordsDatabase::Row> rows;
    // In the order they were taken: a visit that waited on a PC comes in
    // after later ones.
    if (!m_db.run(QStringLiteral(R"(SELECT %1 FROM "ServiceSnapshots" WHERE %2 )"
                                 R"(ORDER BY "taken_date", "taken_time", "snapshot_id")")
                      .arg(kColumns, kUnitCondition),
                  {RecordsDatabase::boundText(unitKey(manufacturingNumber)),
                   RecordsDatabase::boundText(applicationSerial),
                   RecordsDatabase::boundText(applicationSerial)},
                  &rows, error))
        return false;
    out->clear();
    for (const auto &r : rows)
        out->append(snapshotOfRow(r));
    return true;
}

bool ServiceHistory::visitsBetween(const QDate &from, const QDate &to, QList<Snapshot> *out,
                                   QString *error, const QStringList &fields)
{
    QList<RecordsDatabase::Row> rows;
    if (!m_db.run(QStringLiteral(R"(SELECT %1 FROM "ServiceSnapshots" WHERE "taken_date" >= ? AND )"
                                 R"("taken_date" <= ? ORDER BY "manufacturing_number", )"
                                 R"("application_serial", "taken_date", "taken_time", )"
                                 R"("snapshot_id")")
                      .arg(kColumns),
                  {from, to}, &rows, error))
        return false;
    out->clear();
    out->reserve(rows.size());
    for (const auto &r : rows)
        out->append(snapshotOfRow(r, fields));
    return true;
}

bool ServiceHistory::units(QList<SnapshotUnit> *out, QString *error)
{
    QList<RecordsDatabase::Row> rows;
    if (!m_db.run(
            QStringLiteral(
                R"(SELECT s."manufacturing_number", s."application_serial", g.n, s."taken_date", )"
                R"(s."taken_time" FROM "ServiceSnapshots" s JOIN (SELECT MAX("snapshot_id") AS )"
                R"(last_id, COUNT(*) AS n FROM "ServiceSnapshots" GROUP BY )"
                R"("manufacturing_number", "application_serial") g ON s."snapshot_id" = )"
                R"(g.last_id ORDER BY s."snapshot_id" DESC)"),
            {}, &rows, error))
        return false;
    out->clear();
    for (const auto &r : rows)
        out->append({r.value(0).toString(), r.value(1).toString(), r.value(2).toInt(),
                     QDateTime(r.value(3).toDate(), r.value(4).toTime())});
    return true;
}

bool ServiceHistory::previousVisit(const QString &manufacturingNumber,
                                   const QString &applicationSerial, const QDate &day,
                                   Snapshot *out, bool *found, QString *error)
{
    QList<RecordsDatabase::Row> rows;
    if (!m_db.run(
            QStringLiteral(R"(SELECT %1 FROM "ServiceSnapshots" WHERE %2 AND )"
                           R"("taken_date" < ? ORDER BY "taken_date" DESC, "taken_time" DESC, )"
                           R"("snapshot_id" DESC LIMIT 1)")
                .arg(kColumns, kUnitCondition),
            {RecordsDatabase::boundText(unitKey(manufacturingNumber)),
             RecordsDatabase::boundText(applicationSerial),
             RecordsDatabase::boundText(applicationSerial), day},
            &rows, error))
        return false;
    *found = !rows.isEmpty();
    if (*found) *out = snapshotOfRow(rows.first());
    return true;
}

OutboxRow ServiceHistory::waitingRow(const Snapshot &s, const QString &records)
{
    OutboxRow row;
    row.key = s.key.isEmpty() ? RecordsOutbox::newKey() : s.key;
    row.table = table();
    row.records = records;
    row.queued = QDateTime::currentDateTimeUtc();
    row.values = {{QStringLiteral("reason"), Snapshot::reasonName(s.reason)},
                  {QStringLiteral("manufacturing_number"), s.manufacturingNumber},
                  {QStringLiteral("application_serial"), s.applicationSerial},
                  {QStringLiteral("taken"), s.taken.toString(Qt::ISODate)},
                  {QStringLiteral("host_name"), s.host},
                  {QStringLiteral("field_values"), valuesObject(s.values)}};
    return row;
}

bool ServiceHistory::snapshotOf(const OutboxRow &row, Snapshot *out)
{
    const QJsonObject &v = row.values;
    Snapshot s;
    s.key = row.key;
    const bool named =
        Snapshot::reasonNamed(v.value(QStringLiteral("reason")).toString(), &s.reason);
    s.manufacturingNumber = v.value(QStringLiteral("manufacturing_number")).toString();
    s.applicationSerial = v.value(QStringLiteral("application_serial")).toString();
    s.taken = QDateTime::fromString(v.value(QStringLiteral("taken")).toString(), Qt::ISODate);
    s.host = v.value(QStringLiteral("host_name")).toString();
    const QJsonObject values = v.value(QStringLiteral("field_values")).toObject();
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        s.values.insert(it.key(), it.value().toString());
    if (row.table != table() || s.key.isEmpty() || !named || !s.taken.isValid()) return false;
    *out = s;
    return true;
}

bool ServiceHistory::addWaitingRow(RecordsDatabase &db, const OutboxRow &row, QString *error)
{
    Snapshot s;
    if (!snapshotOf(row, &s)) {
        if (error) *error = QStringLiteral("%1: %2?").arg(row.key, table());
        return false;
    }
    // The clock and the PC's name are those of the snapshot, not of now.
    const SystemClock clock;
    return ServiceHistory(db, clock, s.host).store(s, nullptr, error);
}

} // namespace vx
