#include "clearsnapshots.h"

#include "clearrequest.h"
#include "clock.h"
#include "databases.h"
#include "editset.h"

#include <QDir>

namespace vx {

namespace {

const QString kSnapshotsFile = QStringLiteral("Snapshots.db");
const QString kSnapshotsTable = QStringLiteral("ClearSnapshots");
const QString kSnapshotOrder = QStringLiteral("snapshot_id");
const QString kManufacturingNumber = QStringLiteral("manufacturing_number");
const QString kApplicationSerial = QStringLiteral("application_serial");
const QString kTakenDate = QStringLiteral("taken_date");
const QString kTakenTime = QStringLiteral("taken_time");
const QString kHostName = QStringLiteral("host_name");

bool isTickBox(const QString &field)
{
    return field.startsWith(QLatin1String("Check_"));
}

} // namespace

ClearSnapshots::ClearSnapshots(Databases &databases, const Clock &clock, QString hostName)
    : m_databases(databases), m_clock(clock), m_hostName(std::move(hostName))
{
}

QString ClearSnapshots::file() const
{
    return QDir(m_databases.folder()).filePath(kSnapshotsFile);
}

const QStringList &ClearSnapshots::valueFields()
{
    // What a read fills: the fields "Lêr" blanks but the impulses to send
    // (the technician's, not the timer's), then the device clock and the
    // battery level.
    static const QStringList fields = [] {
        QStringList out = EditSet::clearedFields();
        out.removeAll(QStringLiteral("Text_impulsos"));
        return out + QStringList{QStringLiteral("Text_rtc_data"), QStringLiteral("Text_rtc_hora"),
                                 QStringLiteral("Label_percentagem")};
    }();
    return fields;
}

RecordStore::Table ClearSnapshots::table()
{
    RecordStore::Table t;
    t.name = kSnapshotsTable;
    t.orderColumn = kSnapshotOrder;
    t.columns = {{kManufacturingNumber, RecordStore::Kind::Text},
                 {kApplicationSerial, RecordStore::Kind::Text},
                 {kTakenDate, RecordStore::Kind::Date},
                 {kTakenTime, RecordStore::Kind::Time},
                 {kHostName, RecordStore::Kind::Text}};
    for (const QString &f : valueFields())
        t.columns.append({f, isTickBox(f) ? RecordStore::Kind::Integer : RecordStore::Kind::Text});
    t.indexColumns = {kManufacturingNumber, kApplicationSerial};
    return t;
}

bool ClearSnapshots::store(const EditSet &edit, SnapshotPlace *place, QString *error)
{
    const QDateTime now = m_clock.now();
    RecordStore::Values row{
        {kManufacturingNumber, edit.text(QStringLiteral("text_numfab_ano")) +
                                   edit.text(QStringLiteral("Text_numfab_num"))},
        {kApplicationSerial, edit.text(QStringLiteral("Text_sn_apl"))},
        {kTakenDate, now.date()},
        {kTakenTime, now.time()},
        {kHostName, m_hostName}};
    for (const QString &f : valueFields())
        row.append({f, isTickBox(f) ? QVariant(edit.checked(f) ? 1 : 0) : QVariant(edit.text(f))});
    RecordStore &store = m_databases.store();
    const QString path = file();
    qlonglong id = 0;
    if (!store.ensureTable(path, table(), error) ||
        !store.appendNumbered(path, kSnapshotsTable, row, &id, error))
        return false;
    place->file = path;
    place->row = id;
    return true;
}

bool ClearSnapshots::storeThenClear(EditSet &edit, const QString &titulo_base, SnapshotPlace *place,
                                    QString *error)
{
    if (!store(edit, place, error)) return false;
    requestClear(edit, titulo_base);
    return true;
}

} // namespace vx
