#include "recordsoutbox.h"

#include "changejournal.h"
#include "recordsdatabase.h"
#include "recordstexts.h"
#include "servicehistory.h"
#include "storabletext.h"
#include "unitrecords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace vx {

namespace {

const QString kFolderName = QStringLiteral("records-outbox");
const QString kFormat = QStringLiteral("vx308 records outbox row");
constexpr int kVersion = 1;

// How each table reads and takes a waiting row: one entry per table a row can
// wait for. A row whose values make none of the table's (a file edited by
// hand, or written by another version) is told apart from records that refuse
// a good one: it is named and left, and the rows behind it still go in.
struct Adder
{
    std::string_view table;
    bool (*readable)(const OutboxRow &row);
    bool (*add)(RecordsDatabase &db, const OutboxRow &row, QString *error);
};
constexpr std::array<Adder, 3> kAdders{{
    {"TbRegisto",
     [](const OutboxRow &row) {
         UnitNumbers n;
         return UnitRecords::numbersOf(row, &n);
     },
     &UnitRecords::addWaitingRow},
    {"ChangeJournal",
     [](const OutboxRow &row) {
         JournalEntry e;
         return ChangeJournal::entryOf(row, &e);
     },
     &ChangeJournal::addWaitingRow},
    {"ServiceSnapshots",
     [](const OutboxRow &row) {
         Snapshot s;
         return ServiceHistory::snapshotOf(row, &s);
     },
     &ServiceHistory::addWaitingRow},
}};

QString outboxText(std::string_view key, int idioma)
{
    return textOf(kOutboxTexts, key, idioma);
}

bool storable(const QJsonValue &v)
{
    if (v.isString()) return StorableText::firstUnstorable(v.toString()) < 0;
    if (v.isArray()) {
        const QJsonArray a = v.toArray();
        return std::all_of(a.cbegin(), a.cend(), [](const QJsonValue &e) { return storable(e); });
    }
    if (!v.isObject()) return true;
    const QJsonObject o = v.toObject();
    return std::all_of(o.constBegin(), o.constEnd(),
                       [](const QJsonValue &e) { return storable(e); });
}

// The first column of a waiting row that holds a text no database can store
// (kept by a version that bound whatever the timer sent); empty when none.
// Such a row would be refused every time, and hold up the rows behind it.
QString unstorableColumn(const OutboxRow &row)
{
    for (auto it = row.values.constBegin(); it != row.values.constEnd(); ++it)
        if (!storable(it.value())) return it.key();
    return {};
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool writeAll(int fd, const QByteArray &data)
{
    const char *p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        left -= n;
    }
    return true;
}

bool syncFolder(const QString &folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// The file written whole under a temporary name, flushed, then renamed over
// `path` and the folder flushed: after a crash there is either the whole new
// file or none. On failure the cause is in *cause and nothing is left.
bool writeDurably(const QString &path, const QByteArray &data, QString *cause)
{
    const QString temporary = path + QStringLiteral(".part");
    const QByteArray name = QFile::encodeName(temporary);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        *cause = systemError();
        return false;
    }
    bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    if (!ok) *cause = systemError();
    if (::close(fd) != 0 && ok) {
        *cause = systemError();
        ok = false;
    }
    if (ok && ::rename(name.constData(), QFile::encodeName(path).constData()) != 0) {
        *cause = systemError();
        ok = false;
    }
    if (!ok) {
        ::unlink(name.constData());
        return false;
    }
    if (!syncFolder(QFileInfo(path).absolutePath())) {
        *cause = systemError();
        return false;
    }
    return true;
}

QJsonObject toJson(const OutboxRow &row)
{
    return {{QStringLiteral("format"), kFormat},
            {QStringLiteral("version"), kVersion},
            {QStringLiteral("key"), row.key},
            {QStringLiteral("table"), row.table},
            {QStringLiteral("records"), row.records},
            {QStringLiteral("queued"), row.queued.toUTC().toString(Qt::ISODate)},
            {QStringLiteral("values"), row.values}};
}

// The row a file holds; false with the reason when it is not one.
bool fromFile(const QString &path, OutboxRow *row, QString *why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *why = f.errorString();
        return false;
    }
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.read(1 << 20), &parse);
    const QJsonObject o = doc.object();
    if (parse.error != QJsonParseError::NoError || o.value(QStringLiteral("format")) != kFormat ||
        o.value(QStringLiteral("version")).toInt() != kVersion) {
        *why = parse.error != QJsonParseError::NoError ? parse.errorString()
                                                       : QStringLiteral("format/version");
        return false;
    }
    row->key = o.value(QStringLiteral("key")).toString();
    row->table = o.value(QStringLiteral("table")).toString();
    row->records = o.value(QStringLiteral("records")).toString();
    row->queued = QDateTime::fromString(o.value(QStringLiteral("queued")).toString(), Qt::ISODate);
    row->values = o.value(QStringLiteral("values")).toObject();
    if (row->key.isEmpty() || row->table.isEmpty() || row->records.isEmpty()) {
        *why = QStringLiteral("key/table/records");
        return false;
    }
    return true;
}

} // namespace

RecordsOutbox::RecordsOutbox(const QString &dataFolder, int idioma)
    : m_folder(QDir(dataFolder).absoluteFilePath(kFolderName)), m_idioma(idioma)
{
}

QString RecordsOutbox::where() const
{
    return QDir::toNativeSeparators(m_folder);
}

QString RecordsOutbox::newKey()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString RecordsOutbox::placeOf(const RecordsDatabase &db)
{
    if (db.engine() == RecordsDatabase::Engine::Sqlite)
        return QDir::toNativeSeparators(QFileInfo(db.where()).absoluteFilePath());
    return db.where();
}

QString RecordsOutbox::fileOf(const QString &key) const
{
    return QDir(m_folder).filePath(key + QStringLiteral(".json"));
}

bool RecordsOutbox::keep(const OutboxRow &row, QString *error)
{
    if (!QDir().mkpath(m_folder)) {
        *error = outboxText("folder", m_idioma).arg(where());
        return false;
    }
    syncFolder(QFileInfo(m_folder).absolutePath());
    const QString path = fileOf(row.key);
    QString cause;
    if (writeDurably(path, QJsonDocument(toJson(row)).toJson(QJsonDocument::Indented), &cause))
        return true;
    *error = outboxText("write", m_idioma).arg(QDir::toNativeSeparators(path), cause);
    return false;
}

QList<OutboxRow> RecordsOutbox::rows(QStringList *unreadable) const
{
    QList<OutboxRow> out;
    const QFileInfoList files =
        QDir(m_folder).entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        OutboxRow row;
        QString why;
        if (fromFile(file.filePath(), &row, &why))
            out.append(row);
        else if (unreadable)
            unreadable->append(outboxText("unreadable", m_idioma)
                                   .arg(QDir::toNativeSeparators(file.filePath()), why));
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const OutboxRow &a, const OutboxRow &b) { return a.queued < b.queued; });
    return out;
}

int RecordsOutbox::count(const QString &records, const QString &table) const
{
    const QList<OutboxRow> all = rows();
    return static_cast<int>(std::count_if(all.cbegin(), all.cend(), [&](const OutboxRow &r) {
        return (records.isEmpty() || r.records == records) && (table.isEmpty() || r.table == table);
    }));
}

bool RecordsOutbox::remove(const OutboxRow &row, QString *error)
{
    QFile f(fileOf(row.key));
    if (!f.exists() || f.remove()) {
        syncFolder(m_folder);
        return true;
    }
    *error =
        outboxText("remove", m_idioma).arg(QDir::toNativeSeparators(f.fileName()), f.errorString());
    return false;
}

RecordsOutbox::Delivery RecordsOutbox::deliver(RecordsDatabase &db)
{
    Delivery d;
    const QString place = placeOf(db);
    const QList<OutboxRow> all = rows(&d.problems);
    bool stopped = false;
    for (const OutboxRow &row : all) {
        if (row.records != place) {
            ++d.elsewhere;
            continue;
        }
        const auto adder = std::find_if(kAdders.cbegin(), kAdders.cend(), [&](const Adder &a) {
            return QString::fromUtf8(a.table) == row.table;
        });
        QString error;
        if (adder == kAdders.cend()) {
            d.problems << outboxText("unknown", m_idioma).arg(fileOf(row.key), row.table);
            ++d.waiting;
        } else if (!adder->readable(row)) {
            d.problems << outboxText("unreadable", m_idioma)
                              .arg(fileOf(row.key), outboxText("noRow", m_idioma).arg(row.table));
            ++d.waiting;
        } else if (const QString column = unstorableColumn(row); !column.isEmpty()) {
            d.problems << outboxText("unstorable", m_idioma)
                              .arg(fileOf(row.key), StorableText::shown(column), row.table);
            ++d.waiting;
        } else if (stopped || !adder->add(db, row, &error)) {
            if (!stopped) d.problems << error;
            stopped = true;
            ++d.waiting;
        } else {
            ++d.added;
            if (!remove(row, &error)) d.problems << error;
        }
    }
    return d;
}

QString RecordsOutbox::waitingText(int count) const
{
    return outboxText("waiting", m_idioma).arg(count).arg(where());
}

} // namespace vx
