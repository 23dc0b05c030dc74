// Tables read and edited by column name, on a SQLite file and on PostgreSQL
// alike, and the settings file's promises on the PC's own SQLite files.
// Guards against: an edit that stores part of its values, values that come
// back changed (empty texts turned into nothing, quotes or accents mangled),
// a read that creates a missing file, a file that is not a database being
// written to, and a connection left open after a call.
#include "recordsplace.h"
#include "tablerows.h"
#include "testsuite.h"

#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>

using namespace vx;
using Kind = TableRows::Kind;

namespace {

QList<TableRows::Table> rowsSchema()
{
    TableRows::Table single{
        QStringLiteral("Single"),
        {{QStringLiteral("nome"), Kind::Text}, {QStringLiteral("numero"), Kind::Integer}},
        {}};
    single.rows << TableRows::Values{{QStringLiteral("nome"), QStringLiteral("PT")},
                                     {QStringLiteral("numero"), 1}};
    TableRows::Table empty{QStringLiteral("Empty"), {{QStringLiteral("t"), Kind::Text}}, {}};
    return {single, empty};
}

void bothEngines()
{
    QTest::addColumn<RecordsEngine>("engine");
    QTest::newRow("sqlite") << RecordsEngine::Sqlite;
    QTest::newRow("postgres") << RecordsEngine::Postgres;
}

QByteArray fileContents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// `rows` on the engine of the data row, over the schema made afresh in the
// database that the class's tests share on that engine (a new PostgreSQL
// database takes a second).
#define VX_TABLE_ROWS(rows)                                                                        \
    QFETCH(RecordsEngine, engine);                                                                 \
    RecordsPlace *place = nullptr;                                                                 \
    do {                                                                                           \
        QString why;                                                                               \
        const RecordsPlace::Outcome made = sharedPlace(engine, &place, &why);                      \
        if (made == RecordsPlace::Outcome::Skip) QSKIP(qPrintable(why));                           \
        QVERIFY2(made == RecordsPlace::Outcome::Ready, qPrintable(why));                           \
    } while (false);                                                                               \
    const std::unique_ptr<QtRecordsDatabase> db = place->open();                                   \
    TableRows rows(*db);                                                                           \
    do {                                                                                           \
        QString made;                                                                              \
        for (const char *table : {"Single", "Empty", "T"})                                         \
            QVERIFY2(db->run(QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(table), {},         \
                             nullptr, &made),                                                      \
                     qPrintable(made));                                                            \
        QVERIFY2(rows.create(rowsSchema(), &made), qPrintable(made));                              \
    } while (false)

class TstTableRows : public QObject
{
    Q_OBJECT

    std::map<RecordsEngine, std::unique_ptr<RecordsPlace>> m_places;

    RecordsPlace::Outcome sharedPlace(RecordsEngine engine, RecordsPlace **out, QString *why)
    {
        auto &place = m_places[engine];
        if (!place) {
            auto made = std::make_unique<RecordsPlace>();
            const RecordsPlace::Outcome outcome = made->make(engine, why);
            if (outcome != RecordsPlace::Outcome::Ready) return outcome;
            place = std::move(made);
        }
        *out = place.get();
        return RecordsPlace::Outcome::Ready;
    }

private slots:
    void readsTheCreatedRowInItsKinds_data() { bothEngines(); }
    void readsTheCreatedRowInItsKinds()
    {
        VX_TABLE_ROWS(rows);
        QVariantMap row;
        QString error;
        QVERIFY2(rows.readFirst("Single", {"nome", "numero"}, &row, &error), qPrintable(error));
        QCOMPARE(row.value("nome").typeId(), QMetaType::QString);
        QCOMPARE(row.value("nome").toString(), QStringLiteral("PT"));
        QCOMPARE(row.value("numero").typeId(), QMetaType::LongLong);
        QCOMPARE(row.value("numero").toLongLong(), 1);
    }

    void createIsAllOrNothing_data() { bothEngines(); }
    void createIsAllOrNothing()
    {
        VX_TABLE_ROWS(rows);
        QString error;
        QVERIFY(db->run(QStringLiteral(R"(DROP TABLE "Single")"), {}, nullptr, &error));
        TableRows::Table bad{QStringLiteral("T"), {{QStringLiteral("a"), Kind::Integer}}, {}};
        bad.rows << TableRows::Values{{QStringLiteral("a"), QStringLiteral("não é número")}};
        QVERIFY(!rows.create(QList<TableRows::Table>{rowsSchema().first(), bad}, &error));
        QVERIFY(!error.isEmpty());
        QList<RecordsDatabase::Column> columns;
        QVERIFY(db->columns(QStringLiteral("Single"), &columns, &error));
        QVERIFY(columns.isEmpty());
    }

    void updateIsAllOrNothing_data()
    {
        QTest::addColumn<RecordsEngine>("engine");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        for (const auto &[tag, engine] : {std::pair{"sqlite", RecordsEngine::Sqlite},
                                          std::pair{"postgres", RecordsEngine::Postgres}}) {
            QTest::addRow("%s-unknown-field", tag) << engine << "naoExiste" << QVariant("x");
            QTest::addRow("%s-not-an-integer", tag) << engine << "numero" << QVariant("doze");
            QTest::addRow("%s-bad-name", tag) << engine << "nome\"; --" << QVariant("x");
        }
    }
    void updateIsAllOrNothing()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        VX_TABLE_ROWS(rows);
        QString error;
        // The good values come first, so an edit field by field would have
        // changed them before it met the bad one.
        QVERIFY(
            !rows.updateFirst("Single", {{"nome", "EN"}, {"numero", 4}, {field, value}}, &error));
        QVERIFY(!error.isEmpty());
        QVariantMap row;
        QVERIFY(rows.readFirst("Single", {"nome", "numero"}, &row, &error));
        QCOMPARE(row.value("nome").toString(), QStringLiteral("PT"));
        QCOMPARE(row.value("numero").toInt(), 1);

        QVERIFY2(rows.updateFirst("Single", {{"nome", "EN"}, {"numero", 4}}, &error),
                 qPrintable(error));
        QVERIFY(rows.readFirst("Single", {"nome", "numero"}, &row, &error));
        QCOMPARE(row.value("nome").toString(), QStringLiteral("EN"));
        QCOMPARE(row.value("numero").toInt(), 4);
    }

    void tableWithoutRowsOrMissingFails_data() { bothEngines(); }
    void tableWithoutRowsOrMissingFails()
    {
        VX_TABLE_ROWS(rows);
        QString error;
        QVariantMap row;
        QVERIFY(!rows.updateFirst("Empty", {{"t", "x"}}, &error));
        QVERIFY(!rows.readFirst("Empty", {"t"}, &row, &error));
        QVERIFY(!rows.readFirst("NoSuchTable", {"t"}, &row, &error));
        QVERIFY2(error.contains("NoSuchTable"), qPrintable(error));
        QVERIFY(!rows.updateFirst("NoSuchTable", {{"t", "x"}}, &error));
        QVERIFY(!rows.readFirst("Single", {"naoExiste"}, &row, &error));
        QVERIFY2(error.contains("naoExiste"), qPrintable(error));
    }

    void textsComeBackUnchanged_data()
    {
        QTest::addColumn<RecordsEngine>("engine");
        QTest::addColumn<QString>("text");
        for (const auto &[tag, engine] : {std::pair{"sqlite", RecordsEngine::Sqlite},
                                          std::pair{"postgres", RecordsEngine::Postgres}}) {
            QTest::addRow("%s-empty", tag) << engine << QStringLiteral("");
            QTest::addRow("%s-empty-null", tag) << engine << QString(); // an untouched field
            QTest::addRow("%s-money", tag) << engine << QStringLiteral("655,35");
            QTest::addRow("%s-leading-zero", tag) << engine << QStringLiteral("007");
            QTest::addRow("%s-accents", tag) << engine << QStringLiteral("Manutenção €");
            QTest::addRow("%s-quotes", tag)
                << engine << QStringLiteral("a'); DROP TABLE Single; --\"");
            QTest::addRow("%s-spaces", tag) << engine << QStringLiteral("  2 ");
        }
    }
    void textsComeBackUnchanged()
    {
        QFETCH(QString, text);
        VX_TABLE_ROWS(rows);
        QString error;
        QVERIFY2(rows.updateFirst("Single", {{"nome", text}}, &error), qPrintable(error));
        QVariantMap row;
        QVERIFY(rows.readFirst("Single", {"nome"}, &row, &error));
        QVERIFY(!row.value("nome").isNull());
        QCOMPARE(row.value("nome").toString(), text);
    }

    // The settings file on the PC's own files.

    void missingFileFailsAndIsNotCreated()
    {
        DataFolder a(false);
        QString error;
        QVariantMap row;
        QVERIFY(!a.databases.readSettings({"idioma"}, &row, &error));
        QVERIFY2(error.contains(QStringLiteral("ValoresPre1.db")), qPrintable(error));
        QVERIFY(!a.databases.writeLanguage(1, &error));
        QVERIFY(!a.databases.writeReport({}, &error));
        QVERIFY(!QFile::exists(a.databases.settingsFile()));
    }

    void foreignOrLockedFileIsNeverWritten_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("foreign") << false;
        QTest::newRow("locked") << true;
    }
    void foreignOrLockedFileIsNeverWritten()
    {
        QFETCH(bool, locked);
        DataFolder a(locked);
        const QString file = a.databases.settingsFile();
        if (!locked) {
            static const char jet[] = "Standard Jet DB\0\0 not SQLite at all\n";
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(jet, sizeof jet - 1).repeated(200));
        }
        const QByteArray content = fileContents(file);
        QString error;
        {
            std::unique_ptr<DataFolder::WriteLock> lock;
            if (locked) lock = std::make_unique<DataFolder::WriteLock>(file);
            QVERIFY(!lock || lock->active);
            QVariantMap row;
            QVERIFY(!a.databases.readSettings({"idioma"}, &row, &error));
            QVERIFY2(error.contains(QStringLiteral("ValoresPre1.db")), qPrintable(error));
            QVERIFY(!a.databases.writeLanguage(1, &error));
            QVERIFY(!a.databases.writeComm(2, &error));
            QVERIFY2(error.contains(QStringLiteral("ValoresPre1.db")), qPrintable(error));
            QVERIFY(a.databases.provision(nullptr, &error));
        }
        QCOMPARE(fileContents(file), content);
        QVERIFY(!QFile::exists(file + "-journal"));
    }

    void noConnectionOutlivesACall()
    {
        DataFolder a(false);
        const QStringList before = QSqlDatabase::connectionNames();
        QString error;
        QVERIFY2(a.databases.provision(nullptr, &error), qPrintable(error));
        QVERIFY(a.databases.writeLanguage(1, &error));
        QString idioma;
        QVERIFY(a.databases.readLanguage(&idioma, &error));
        QVariantMap row;
        QVERIFY(!a.databases.readSettings({"Nope"}, &row, &error));
        QCOMPARE(QSqlDatabase::connectionNames(), before);
        // Nothing holds the file: it can be removed and made anew at once.
        QVERIFY(QFile::remove(a.databases.settingsFile()));
        QVERIFY2(a.databases.provision(nullptr, &error), qPrintable(error));
        QVERIFY(a.databases.readLanguage(&idioma, &error));
        QCOMPARE(idioma, QStringLiteral("PT"));
    }
};

VX_TEST_CLASS(TstTableRows, Core)
#include "tst_tablerows.moc"
