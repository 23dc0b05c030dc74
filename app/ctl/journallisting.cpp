#include "journallisting.h"

#include "csvline.h"
#include "historylisting.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace vx;

namespace {

const QStringList kHeader{QStringLiteral("changed"),
                          QStringLiteral("manufacturing_number"),
                          QStringLiteral("application_serial"),
                          QStringLiteral("field"),
                          QStringLiteral("before"),
                          QStringLiteral("after"),
                          QStringLiteral("how"),
                          QStringLiteral("host"),
                          QStringLiteral("user")};

QStringList cellsOf(const JournalEntry &e, Qt::DateFormat format)
{
    const QString when = format == Qt::ISODate
                             ? e.when.toString(Qt::ISODate)
                             : e.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return {when,
            e.manufacturingNumber,
            e.applicationSerial,
            e.field,
            e.before,
            e.after,
            e.how,
            e.host,
            e.user};
}

} // namespace

QString JournalListing::text(const QList<JournalEntry> &changes)
{
    QString out = tabLine(kHeader);
    for (const JournalEntry &e : changes)
        out += tabLine(cellsOf(e, Qt::TextDate));
    return out;
}

QString JournalListing::json(const QList<JournalEntry> &changes)
{
    QJsonArray array;
    for (const JournalEntry &e : changes) {
        QJsonObject o{{QStringLiteral("id"), e.id}, {QStringLiteral("key"), e.key}};
        const QStringList cells = cellsOf(e, Qt::ISODate);
        for (qsizetype i = 0; i < kHeader.size(); ++i)
            o.insert(kHeader.at(i), cells.at(i));
        array.append(o);
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

QString JournalListing::csv(const QList<JournalEntry> &changes)
{
    QString out = HistoryListing::csvRow(QStringList{QStringLiteral("id")} + kHeader);
    for (const JournalEntry &e : changes)
        out += HistoryListing::csvRow(QStringList{QString::number(e.id)} + cellsOf(e, Qt::ISODate));
    return out;
}
