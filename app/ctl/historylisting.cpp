#include "historylisting.h"

#include "clearrequest.h"
#include "csvline.h"
#include "fieldtable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace vx;

namespace {

// The columns of the text table beside when, where and why: the takings and
// what Clear zeroes, the values a technician compares from visit to visit.
QStringList tableFields()
{
    QStringList fields{fieldName(FieldId::Accumulated)};
    for (const Text &v : kZeroedByClear)
        fields << toQString(v.key);
    return fields;
}

QString when(const QDateTime &t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

QString HistoryListing::text(const QList<Snapshot> &visits)
{
    const QStringList fields = tableFields();
    QString out = tabLine(
        QStringList{QStringLiteral("taken"), QStringLiteral("host"), QStringLiteral("reason")} +
        fields);
    for (const Snapshot &s : visits) {
        QStringList line{when(s.taken), s.host, Snapshot::reasonName(s.reason)};
        for (const QString &f : fields)
            line << s.values.value(f);
        out += tabLine(line);
    }
    return out;
}

QString HistoryListing::json(const QList<Snapshot> &visits)
{
    QJsonArray array;
    for (const Snapshot &s : visits) {
        QJsonObject values;
        for (auto v = s.values.cbegin(); v != s.values.cend(); ++v)
            values.insert(v.key(), v.value());
        array.append(QJsonObject{{QStringLiteral("id"), s.id},
                                 {QStringLiteral("reason"), Snapshot::reasonName(s.reason)},
                                 {QStringLiteral("manufacturing_number"), s.manufacturingNumber},
                                 {QStringLiteral("application_serial"), s.applicationSerial},
                                 {QStringLiteral("taken"), s.taken.toString(Qt::ISODate)},
                                 {QStringLiteral("host"), s.host},
                                 {QStringLiteral("values"), values}});
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

QString HistoryListing::csv(const QList<Snapshot> &visits)
{
    const QStringList &fields = ServiceHistory::valueFields();
    QString out = csvLine(QStringList{QStringLiteral("id"), QStringLiteral("reason"),
                                      QStringLiteral("manufacturing_number"),
                                      QStringLiteral("application_serial"), QStringLiteral("taken"),
                                      QStringLiteral("host")} +
                          fields);
    for (const Snapshot &s : visits) {
        QStringList line{QString::number(s.id),         Snapshot::reasonName(s.reason),
                         s.manufacturingNumber,         s.applicationSerial,
                         s.taken.toString(Qt::ISODate), s.host};
        for (const QString &f : fields)
            line << s.values.value(f);
        out += csvLine(line);
    }
    return out;
}

QString HistoryListing::unitsText(const QList<SnapshotUnit> &units)
{
    QString out =
        tabLine({QStringLiteral("manufacturing_number"), QStringLiteral("application_serial"),
                 QStringLiteral("visits"), QStringLiteral("last")});
    for (const SnapshotUnit &u : units)
        out += tabLine(
            {u.manufacturingNumber, u.applicationSerial, QString::number(u.visits), when(u.last)});
    return out;
}

QString HistoryListing::unitsJson(const QList<SnapshotUnit> &units)
{
    QJsonArray array;
    for (const SnapshotUnit &u : units)
        array.append(QJsonObject{{QStringLiteral("manufacturing_number"), u.manufacturingNumber},
                                 {QStringLiteral("application_serial"), u.applicationSerial},
                                 {QStringLiteral("visits"), u.visits},
                                 {QStringLiteral("last"), u.last.toString(Qt::ISODate)}});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

QString HistoryListing::unitsCsv(const QList<SnapshotUnit> &units)
{
    QString out =
        csvLine({QStringLiteral("manufacturing_number"), QStringLiteral("application_serial"),
                 QStringLiteral("visits"), QStringLiteral("last")});
    for (const SnapshotUnit &u : units)
        out += csvLine({u.manufacturingNumber, u.applicationSerial, QString::number(u.visits),
                        u.last.toString(Qt::ISODate)});
    return out;
}

QString HistoryListing::csvRow(const QStringList &cells)
{
    return csvLine(cells);
}
