#include "changejournal.h"

#include "recordsdatabase.h"
#include "recordsoutbox.h"
#include "servicehistory.h"

#include <QJsonObject>

namespace vx {

namespace {

const QString kJournalColumns = QStringLiteral(
    R"("change_id", "entry_key", "manufacturing_number", "application_serial", "field_name", )"
    R"("value_before", "value_after", "changed_by", "changed_date", "changed_time", )"
    R"("host_name", "os_user")");

bool insert(RecordsDatabase &db, const JournalEntry &e, QString *error)
{
    return db.run(QStringLiteral(R"(INSERT INTO "ChangeJournal" ("entry_key", )"
                                 R"("manufacturing_number", "application_serial", "field_name", )"
                                 R"("value_before", "value_after", "changed_by", "changed_date", )"
                                 R"("changed_time", "host_name", "os_user") )"
                                 R"(VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) )"
                                 R"(ON CONFLICT ("entry_key") DO NOTHING)"),
                  {e.key,
                   RecordsDatabase::boundText(ServiceHistory::unitKey(e.manufacturingNumber)),
                   RecordsDatabase::boundText(e.applicationSerial), e.field,
                   RecordsDatabase::boundText(e.before), RecordsDatabase::boundText(e.after), e.how,
                   e.when.date(), e.when.time(), RecordsDatabase::boundText(e.host),
                   RecordsDatabase::boundText(e.user)},
                  nullptr, error);
}

JournalEntry entryOfRow(const RecordsDatabase::Row &r)
{
    JournalEntry e;
    e.id = r.value(0).toLongLong();
    e.key = r.value(1).toString();
    e.manufacturingNumber = r.value(2).toString();
    e.applicationSerial = r.value(3).toString();
    e.field = r.value(4).toString();
    e.before = r.value(5).toString();
    e.after = r.value(6).toString();
    e.how = r.value(7).toString();
    e.when = QDateTime(r.value(8).toDate(), r.value(9).toTime());
    e.host = r.value(10).toString();
    e.user = r.value(11).toString();
    return e;
}

} // namespace

ChangeJournal::ChangeJournal(RecordsDatabase &db) : m_db(db) {}

QString ChangeJournal::table()
{
    return QStringLiteral("ChangeJournal");
}

QString ChangeJournal::where() const
{
    return m_db.where();
}

bool ChangeJournal::add(const QList<JournalEntry> &entries, QString *error)
{
    if (entries.isEmpty()) return true;
    // Rows of this PC alone: nothing clashes with another bench's.
    return m_db.transaction(
        [&](QString *failure) {
            for (const JournalEntry &e : entries)
                if (!insert(m_db, e, failure)) return false;
            return true;
        },
        error);
}

bool ChangeJournal::changes(const QString &manufacturingNumber, const QString &applicationSerial,
                            QList<JournalEntry> *out, QString *error)
{
    const QString number = RecordsDatabase::boundText(ServiceHistory::unitKey(manufacturingNumber));
    const QString serial = RecordsDatabase::boundText(applicationSerial);
    QList<RecordsDatabase::Row> rows;
    if (!m_db.run(QStringLiteral(R"(SELECT %1 FROM "ChangeJournal" WHERE (? = '' OR )"
                                 R"("manufacturing_number" = ?) AND (? = '' OR )"
                                 R"("application_serial" = ?) ORDER BY "changed_date" DESC, )"
                                 R"("changed_time" DESC, "change_id" DESC)")
                      .arg(kJournalColumns),
                  {number, number, serial, serial}, &rows, error))
        return false;
    out->clear();
    for (const auto &r : rows)
        out->append(entryOfRow(r));
    return true;
}

OutboxRow ChangeJournal::waitingRow(const JournalEntry &e, const QString &records)
{
    OutboxRow row;
    row.key = e.key;
    row.table = table();
    row.records = records;
    row.queued = QDateTime::currentDateTimeUtc();
    row.values = {{QStringLiteral("manufacturing_number"), e.manufacturingNumber},
                  {QStringLiteral("application_serial"), e.applicationSerial},
                  {QStringLiteral("field_name"), e.field},
                  {QStringLiteral("value_before"), e.before},
                  {QStringLiteral("value_after"), e.after},
                  {QStringLiteral("changed_by"), e.how},
                  {QStringLiteral("changed"), e.when.toString(Qt::ISODate)},
                  {QStringLiteral("host_name"), e.host},
                  {QStringLiteral("os_user"), e.user}};
    return row;
}

bool ChangeJournal::entryOf(const OutboxRow &row, JournalEntry *out)
{
    const QJsonObject &v = row.values;
    JournalEntry e;
    e.key = row.key;
    e.manufacturingNumber = v.value(QStringLiteral("manufacturing_number")).toString();
    e.applicationSerial = v.value(QStringLiteral("application_serial")).toString();
    e.field = v.value(QStringLiteral("field_name")).toString();
    e.before = v.value(QStringLiteral("value_before")).toString();
    e.after = v.value(QStringLiteral("value_after")).toString();
    e.how = v.value(QStringLiteral("changed_by")).toString();
    e.when = QDateTime::fromString(v.value(QStringLiteral("changed")).toString(), Qt::ISODate);
    e.host = v.value(QStringLiteral("host_name")).toString();
    e.user = v.value(QStringLiteral("os_user")).toString();
    if (row.table != table() || e.key.isEmpty() || e.field.isEmpty() || e.how.isEmpty() ||
        !e.when.isValid())
        return false;
    *out = e;
    return true;
}

bool ChangeJournal::addWaitingRow(RecordsDatabase &db, const OutboxRow &row, QString *error)
{
    JournalEntry e;
    if (!entryOf(row, &e)) {
        if (error) *error = QStringLiteral("%1: %2?").arg(row.key, table());
        return false;
    }
    return ChangeJournal(db).add({e}, error);
}

} // namespace vx
