#include "recordscommands.h"

#include "changejournal.h"
#include "clock.h"
#include "csvline.h"
#include "ctltexts.h"
#include "historylisting.h"
#include "journallisting.h"
#include "qtrecordsdatabase.h"
#include "recordsoutbox.h"
#include "servicehistory.h"
#include "takingsdocument.h"
#include "takingslisting.h"
#include "takingsreport.h"
#include "unitrecords.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <algorithm>
#include <cstdio>

using namespace vx;

namespace {

void out(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

void say(const QString &text)
{
    std::fprintf(stderr, "vx308ctl: %s\n", text.toLocal8Bit().constData());
}

QString unitsText(const QList<LogRow> &rows)
{
    QString text =
        tabLine({QStringLiteral("NMec"), QStringLiteral("NFab"), QStringLiteral("NAct"),
                 QStringLiteral("SAct"), QStringLiteral("Data"), QStringLiteral("hora")});
    for (const LogRow &r : rows)
        text += tabLine({QString::number(r.NMec), r.NFab, QString::number(r.NAct),
                         QString::number(r.SAct), r.Data.toString(QStringLiteral("yyyy-MM-dd")),
                         r.hora.toString(QStringLiteral("HH:mm:ss"))});
    return text;
}

QString unitsJson(const QList<LogRow> &rows)
{
    QJsonArray array;
    for (const LogRow &r : rows)
        array.append(
            QJsonObject{{QStringLiteral("NMec"), r.NMec},
                        {QStringLiteral("NFab"), r.NFab},
                        {QStringLiteral("NAct"), r.NAct},
                        {QStringLiteral("SAct"), r.SAct},
                        {QStringLiteral("Data"), r.Data.toString(QStringLiteral("yyyy-MM-dd"))},
                        {QStringLiteral("hora"), r.hora.toString(QStringLiteral("HH:mm:ss"))}});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

QString pendingText(const QList<OutboxRow> &rows)
{
    QString text =
        tabLine({QStringLiteral("key"), QStringLiteral("table"), QStringLiteral("queued"),
                 QStringLiteral("records"), QStringLiteral("values")});
    for (const OutboxRow &r : rows)
        text +=
            tabLine({r.key, r.table, r.queued.toString(Qt::ISODate), r.records,
                     QString::fromUtf8(QJsonDocument(r.values).toJson(QJsonDocument::Compact))});
    return text;
}

QString pendingJson(const QList<OutboxRow> &rows)
{
    QJsonArray array;
    for (const OutboxRow &r : rows)
        array.append(QJsonObject{{QStringLiteral("key"), r.key},
                                 {QStringLiteral("table"), r.table},
                                 {QStringLiteral("queued"), r.queued.toString(Qt::ISODate)},
                                 {QStringLiteral("records"), r.records},
                                 {QStringLiteral("values"), r.values}});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

// How many of the rows are for `table`, in the sentence of `textKey`.
QString tableWaiting(const QList<OutboxRow> &rows, const QString &table, const char *textKey,
                     int idioma, const QString &where)
{
    const auto n = std::count_if(rows.cbegin(), rows.cend(),
                                 [&](const OutboxRow &r) { return r.table == table; });
    return ctlText(textKey, idioma).arg(n).arg(where);
}

QString changesWaiting(const QList<OutboxRow> &rows, int idioma, const QString &where)
{
    return tableWaiting(rows, ChangeJournal::table(), "changesWaiting", idioma, where);
}

QString visitsWaiting(const QList<OutboxRow> &rows, int idioma, const QString &where)
{
    return tableWaiting(rows, ServiceHistory::table(), "visitsWaiting", idioma, where);
}

// Records out of reach: the visits that wait for them are said, as what the
// history and the takings lack until they go in.
void sayVisitsWaiting(int idioma, const QString &dataFolder)
{
    const RecordsOutbox outbox(dataFolder, idioma);
    say(visitsWaiting(outbox.rows(), idioma, outbox.where()));
}

// The rows that waited on this PC for these records, added now; what was
// added and what still waits said on standard error.
void addWaitingRows(QtRecordsDatabase &db, int idioma, const QString &dataFolder)
{
    RecordsOutbox outbox(dataFolder, idioma);
    const RecordsOutbox::Delivery d = outbox.deliver(db);
    if (d.added > 0) say(ctlText("rowsAdded", idioma).arg(d.added).arg(outbox.where(), db.where()));
    for (const QString &problem : d.problems)
        say(problem);
    if (d.waiting > 0) say(outbox.waitingText(d.waiting));
}

} // namespace

RecordsCommands::RecordsCommands(RecordsLocation location, int idioma, const QString &dataFolder)
    : m_location(std::move(location)), m_idioma(idioma),
      m_dataFolder(dataFolder.isEmpty() ? QDir::currentPath() : dataFolder)
{
}

bool RecordsCommands::isRecordsCommand(const QStringList &words)
{
    const QString first = words.value(0);
    if (first == QLatin1String("import")) return words.size() == 2;
    return first == QLatin1String("pending") &&
           (words.size() == 1 || (words.size() == 2 && words.at(1) == QLatin1String("add")));
}

int RecordsCommands::records(const QStringList &words, Format format)
{
    if (words.first() == QLatin1String("import")) return import(words.last());
    return pending(words.size() == 2, format);
}

int RecordsCommands::pending(bool add, Format format)
{
    RecordsOutbox outbox(m_dataFolder, m_idioma);
    if (add) {
        QtRecordsDatabase db(m_location, QtRecordsDatabase::Mode::CreateIfMissing);
        UnitRecords records(db);
        const bool reached = usable(db, records, m_location, m_idioma, m_dataFolder);
        const int left = outbox.count(RecordsOutbox::placeOf(db));
        // Records that were reached have said what still waits.
        if (!reached) say(outbox.waitingText(left));
        return reached && left == 0 ? 0 : kRecordsUnusable;
    }
    QStringList unreadable;
    const QList<OutboxRow> rows = outbox.rows(&unreadable);
    for (const QString &why : std::as_const(unreadable))
        say(why);
    out(format == Format::Json ? pendingJson(rows) : pendingText(rows));
    say(outbox.waitingText(static_cast<int>(rows.size())));
    say(changesWaiting(rows, m_idioma, outbox.where()));
    say(visitsWaiting(rows, m_idioma, outbox.where()));
    return 0;
}

int RecordsCommands::journal(const QString &unit, Format format)
{
    QtRecordsDatabase db(m_location, QtRecordsDatabase::Mode::CreateIfMissing);
    UnitRecords records(db);
    if (!usable(db, records, m_location, m_idioma, m_dataFolder)) {
        const RecordsOutbox outbox(m_dataFolder, m_idioma);
        say(changesWaiting(outbox.rows(), m_idioma, outbox.where()));
        return kRecordsUnusable;
    }
    ChangeJournal changes(db);
    QList<JournalEntry> entries;
    QString error;
    if (!changes.changes(unit.section(QLatin1Char('/'), 0, 0), unit.section(QLatin1Char('/'), 1),
                         &entries, &error)) {
        say(error);
        return kRecordsUnusable;
    }
    if (entries.isEmpty() && !unit.isEmpty())
        say((m_idioma == 1 ? QStringLiteral("no changes of %1 in %2")
                           : QStringLiteral("nenhuma alteração de %1 em %2"))
                .arg(unit, changes.where()));
    out(format == Format::Json  ? JournalListing::json(entries)
        : format == Format::Csv ? JournalListing::csv(entries)
                                : JournalListing::text(entries));
    return 0;
}

bool RecordsCommands::usable(QtRecordsDatabase &db, UnitRecords &records,
                             const RecordsLocation &location, int idioma, const QString &dataFolder)
{
    QString error;
    records.setLanguage(idioma);
    if (db.connect(&error) && records.prepare(&error)) {
        addWaitingRows(db, idioma, dataFolder);
        return true;
    }
    error = error.trimmed();
    if (!error.endsWith(QLatin1Char('.'))) error += QLatin1Char('.');
    const bool server = location.kind == RecordsLocation::Kind::Postgres;
    say(ctlText("recordsUnusable", idioma)
            .arg(error, ctlText(server ? "useLocalRecords" : "checkRecordsFile", idioma)));
    return false;
}

int RecordsCommands::units(Format format)
{
    QtRecordsDatabase db(m_location, QtRecordsDatabase::Mode::CreateIfMissing);
    UnitRecords records(db);
    if (!usable(db, records, m_location, m_idioma, m_dataFolder)) return kRecordsUnusable;
    QList<LogRow> rows;
    QString error;
    if (!records.listUnits(&rows, &error)) {
        say(error);
        return kRecordsUnusable;
    }
    out(format == Format::Json ? unitsJson(rows) : unitsText(rows));
    return 0;
}

int RecordsCommands::import(const QString &file)
{
    // A file to copy from is never made: a wrong name must not look like an
    // empty log that was copied.
    QtRecordsDatabase source(RecordsLocation::sqliteFile(file), QtRecordsDatabase::Mode::MustExist);
    QList<LogRow> rows;
    QStringList unusable;
    QString error;
    if (!source.connect(&error) ||
        !UnitRecords::readLog(source, &rows, &error, &unusable, m_idioma)) {
        say(error);
        return kRecordsUnusable;
    }
    if (!unusable.isEmpty()) {
        for (const QString &why : std::as_const(unusable))
            say(why);
        say(ctlText("nothingCopied", m_idioma)
                .arg(unusable.size())
                .arg(QDir::toNativeSeparators(file)));
        return kImportRefused;
    }
    QtRecordsDatabase db(m_location, QtRecordsDatabase::Mode::CreateIfMissing);
    UnitRecords records(db);
    if (!usable(db, records, m_location, m_idioma, m_dataFolder)) return kRecordsUnusable;
    ImportOutcome outcome;
    const bool copied = records.importUnits(rows, &outcome, &error);
    if (!outcome.refused.isEmpty()) {
        for (const QString &why : std::as_const(outcome.refused))
            say(why);
        say(QStringLiteral("nothing was copied: %1 of the %2 units of %3 cannot go into %4 (each "
                           "is named above); the others wait until these are settled.")
                .arg(outcome.refused.size())
                .arg(rows.size())
                .arg(QDir::toNativeSeparators(file), records.where()));
        return kImportRefused;
    }
    if (!copied) {
        say(error + QStringLiteral(" Nothing was copied."));
        return kRecordsUnusable;
    }
    say(QStringLiteral("%1 units copied from %2 into %3")
            .arg(outcome.copied)
            .arg(QDir::toNativeSeparators(file), records.where()));
    return 0;
}

int RecordsCommands::history(const QString &unit, Format format)
{
    QtRecordsDatabase db(m_location, QtRecordsDatabase::Mode::CreateIfMissing);
    UnitRecords records(db);
    if (!usable(db, records, m_location, m_idioma, m_dataFolder)) {
        sayVisitsWaiting(m_idioma, m_dataFolder);
        return kRecordsUnusable;
    }
    return unit.isEmpty() ? snapshotUnits(db, format) : unitHistory(db, unit, format);
}

int RecordsCommands::unitHistory(QtRecordsDatabase &db, const QString &unit, Format format)
{
    const SystemClock clock;
    ServiceHistory history(db, clock, QSysInfo::machineHostName());
    QList<Snapshot> visits;
    QString error;
    if (!history.visits(unit.section(QLatin1Char('/'), 0, 0), unit.section(QLatin1Char('/'), 1),
                        &visits, &error)) {
        say(error);
        return kRecordsUnusable;
    }
    if (visits.isEmpty())
        say(QStringLiteral("no snapshots of %1 in %2").arg(unit, history.where()));
    out(format == Format::Json  ? HistoryListing::json(visits)
        : format == Format::Csv ? HistoryListing::csv(visits)
                                : HistoryListing::text(visits));
    return 0;
}

int RecordsCommands::snapshotUnits(QtRecordsDatabase &db, Format format)
{
    const SystemClock clock;
    ServiceHistory history(db, clock, QSysInfo::machineHostName());
    QList<SnapshotUnit> units;
    QString error;
    if (!history.units(&units, &error)) {
        say(error);
        return kRecordsUnusable;
    }
    out(format == Format::Json  ? HistoryListing::unitsJson(units)
        : format == Format::Csv ? HistoryListing::unitsCsv(units)
                                : HistoryListing::unitsText(units));
    return 0;
}

int RecordsCommands::takings(const QDate &from, const QDate &to, Format format)
{
    QtRecordsDatabase db(m_location, QtRecordsDatabase::Mode::CreateIfMissing);
    UnitRecords records(db);
    if (!usable(db, records, m_location, m_idioma, m_dataFolder)) {
        sayVisitsWaiting(m_idioma, m_dataFolder);
        return kRecordsUnusable;
    }
    const SystemClock clock;
    ServiceHistory history(db, clock, QSysInfo::machineHostName());
    QList<UnitTakings> rows;
    QString error;
    if (!TakingsReport::read(history, from, to, &rows, &error)) {
        say(error);
        return kRecordsUnusable;
    }
    if (rows.isEmpty())
        say(ctlText("takingsNone", m_idioma)
                .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate), history.where()));
    out(format == Format::Json  ? TakingsListing::json(rows, from, to)
        : format == Format::Csv ? TakingsDocument::csv(rows)
                                : TakingsListing::text(rows, m_idioma));
    return 0;
}
