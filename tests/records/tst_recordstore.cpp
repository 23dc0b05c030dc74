// The record store contract, run against the SQLite files and the in-memory
// double alike. Guards against: a read that creates a missing file, an edit
// that stores part of its values, a "last row" that is not the last one
// appended, values that come back changed (empty texts turned into nothing,
// quotes or accents mangled), and a file that is not a database being
// written to.
#include "memoryrecordstore.h"
#include "sqliterecordstore.h"
#include "testsuite.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>
#include <memory>

using namespace vx;
using Kind = RecordStore::Kind;

class TstRecordStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<RecordStore> m_store;
    QString m_file;

    static QList<RecordStore::Table> schema()
    {
        RecordStore::Table single{QStringLiteral("Single"),
                                  {{QStringLiteral("nome"), Kind::Text},
                                   {QStringLiteral("numero"), Kind::Integer},
                                   {QStringLiteral("dia"), Kind::Date},
                                   {QStringLiteral("hora"), Kind::Time}},
                                  {},
                                  {}};
        single.rows << RecordStore::Values{{QStringLiteral("nome"), QStringLiteral("PT")},
                                           {QStringLiteral("numero"), 1},
                                           {QStringLiteral("dia"), QDate(2007, 2, 1)},
                                           {QStringLiteral("hora"), QTime(9, 5, 7)}};
        RecordStore::Table log{
            QStringLiteral("Log"),
            {{QStringLiteral("n"), Kind::Integer}, {QStringLiteral("t"), Kind::Text}},
            QStringLiteral("ordem"),
            {}};
        RecordStore::Table empty{
            QStringLiteral("Empty"), {{QStringLiteral("t"), Kind::Text}}, {}, {}};
        return {single, log, empty};
    }

    QVariantMap first(const QStringList &fields)
    {
        QVariantMap row;
        QString error;
        [&] {
            QVERIFY2(m_store->readFirst(m_file, QStringLiteral("Single"), fields, &row, &error),
                     qPrintable(error));
        }();
        return row;
    }

    bool isSqlite() const { return dynamic_cast<SqliteRecordStore *>(m_store.get()) != nullptr; }

    static void implementations()
    {
        QTest::addColumn<QString>("impl");
        QTest::newRow("sqlite") << QStringLiteral("sqlite");
        QTest::newRow("memory") << QStringLiteral("memory");
    }

private slots:
    void init();
    void cleanup();

    void readsTheCreatedRowInItsKinds_data() { implementations(); }
    void readsTheCreatedRowInItsKinds();
    void createRefusesAnExistingFile_data() { implementations(); }
    void createRefusesAnExistingFile();
    void missingFileFailsAndIsNotCreated_data() { implementations(); }
    void missingFileFailsAndIsNotCreated();
    void updateIsAllOrNothing_data();
    void updateIsAllOrNothing();
    void updateOfAnEmptyTableFails_data() { implementations(); }
    void updateOfAnEmptyTableFails();
    void textsComeBackUnchanged_data();
    void textsComeBackUnchanged();
    void lastRowIsTheLastAppended_data() { implementations(); }
    void lastRowIsTheLastAppended();
    void emptyLogIsNotAFailure_data() { implementations(); }
    void emptyLogIsNotAFailure();
    void lockedFileFailsAndKeepsItsValues_data() { implementations(); }
    void lockedFileFailsAndKeepsItsValues();

    // SQLite only.
    void foreignFileIsNeverWritten();
    void failedCreateLeavesNothingBehind();
    void noConnectionOutlivesACall();
};

void TstRecordStore::init()
{
    QVERIFY(m_dir.isValid());
    m_file = m_dir.filePath(QStringLiteral("t%1.db").arg(QTest::currentTestFunction()));
    QFile::remove(m_file);
    const bool memory =
        QTest::currentDataTag() && QByteArray(QTest::currentDataTag()).startsWith("memory");
    if (memory) {
        m_store = std::make_unique<MemoryRecordStore>();
    } else {
        auto s = std::make_unique<SqliteRecordStore>();
        s->setBusyTimeoutMs(50);
        m_store = std::move(s);
    }
    QString error;
    QVERIFY2(m_store->create(m_file, schema(), &error), qPrintable(error));
}

void TstRecordStore::cleanup()
{
    m_store.reset();
}

void TstRecordStore::readsTheCreatedRowInItsKinds()
{
    const QVariantMap row = first({"nome", "numero", "dia", "hora"});
    QCOMPARE(row.value("nome").typeId(), QMetaType::QString);
    QCOMPARE(row.value("nome").toString(), QStringLiteral("PT"));
    QCOMPARE(row.value("numero").typeId(), QMetaType::LongLong);
    QCOMPARE(row.value("numero").toLongLong(), 1);
    QCOMPARE(row.value("dia").toDate(), QDate(2007, 2, 1));
    QCOMPARE(row.value("hora").toTime(), QTime(9, 5, 7));
}

void TstRecordStore::createRefusesAnExistingFile()
{
    QString error;
    QVERIFY(!m_store->create(m_file, {}, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(first({"nome"}).value("nome").toString(), QStringLiteral("PT"));
}

void TstRecordStore::missingFileFailsAndIsNotCreated()
{
    const QString gone = m_dir.filePath(QStringLiteral("nao-existe.db"));
    QString error;
    QVariantMap row;
    bool found = true;
    QVERIFY(!m_store->readFirst(gone, "Single", {"nome"}, &row, &error));
    QVERIFY2(error.contains(QStringLiteral("nao-existe.db")), qPrintable(error));
    QVERIFY(!m_store->readLast(gone, "Log", "ordem", {"n"}, &row, &found, &error));
    QVERIFY(!m_store->updateFirst(gone, "Single", {{"nome", "EN"}}, &error));
    QVERIFY(!m_store->append(gone, "Log", {{"n", 1}}, &error));
    QVERIFY(!m_store->exists(gone));
    QVERIFY(!QFile::exists(gone));
}

void TstRecordStore::updateIsAllOrNothing_data()
{
    QTest::addColumn<QString>("impl");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    for (const char *impl : {"sqlite", "memory"}) {
        const QString i = QString::fromLatin1(impl);
        QTest::addRow("%s-unknown-field", impl) << i << "naoExiste" << QVariant("x");
        QTest::addRow("%s-not-an-integer", impl) << i << "numero" << QVariant("doze");
        QTest::addRow("%s-not-a-date", impl) << i << "dia" << QVariant("31-02-2007");
        QTest::addRow("%s-bad-name", impl) << i << "nome\"; --" << QVariant("x");
    }
}

void TstRecordStore::updateIsAllOrNothing()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QString error;
    // The good values come first, so a store that writes field by field
    // would have changed them before it met the bad one.
    QVERIFY(!m_store->updateFirst(m_file, "Single", {{"nome", "EN"}, {"numero", 4}, {field, value}},
                                  &error));
    QVERIFY(!error.isEmpty());
    const QVariantMap row = first({"nome", "numero"});
    QCOMPARE(row.value("nome").toString(), QStringLiteral("PT"));
    QCOMPARE(row.value("numero").toInt(), 1);

    QVERIFY2(m_store->updateFirst(m_file, "Single", {{"nome", "EN"}, {"numero", 4}}, &error),
             qPrintable(error));
    QCOMPARE(first({"nome"}).value("nome").toString(), QStringLiteral("EN"));
}

void TstRecordStore::updateOfAnEmptyTableFails()
{
    QString error;
    QVERIFY(!m_store->updateFirst(m_file, "Empty", {{"t", "x"}}, &error));
    QVariantMap row;
    QVERIFY(!m_store->readFirst(m_file, "Empty", {"t"}, &row, &error));
    QVERIFY(!m_store->updateFirst(m_file, "NoSuchTable", {{"t", "x"}}, &error));
}

void TstRecordStore::textsComeBackUnchanged_data()
{
    QTest::addColumn<QString>("impl");
    QTest::addColumn<QString>("text");
    for (const char *impl : {"sqlite", "memory"}) {
        const QString i = QString::fromLatin1(impl);
        QTest::addRow("%s-empty", impl) << i << QStringLiteral("");
        QTest::addRow("%s-empty-null", impl) << i << QString(); // an untouched field
        QTest::addRow("%s-placeholder", impl) << i << QStringLiteral("-");
        QTest::addRow("%s-money", impl) << i << QStringLiteral("655,35");
        QTest::addRow("%s-leading-zero", impl) << i << QStringLiteral("007");
        QTest::addRow("%s-accents", impl) << i << QStringLiteral("Manutenção €");
        QTest::addRow("%s-quotes", impl) << i << QStringLiteral("a'); DROP TABLE Single; --\"");
        QTest::addRow("%s-spaces", impl) << i << QStringLiteral("  2 ");
    }
}

void TstRecordStore::textsComeBackUnchanged()
{
    QFETCH(QString, text);
    QString error;
    QVERIFY2(m_store->updateFirst(m_file, "Single", {{"nome", text}}, &error), qPrintable(error));
    const QVariant back = first({"nome"}).value("nome");
    QVERIFY(!back.isNull());
    QCOMPARE(back.toString(), text);
    QVERIFY2(m_store->append(m_file, "Log", {{"t", text}}, &error), qPrintable(error));
    QVariantMap row;
    bool found = false;
    QVERIFY(m_store->readLast(m_file, "Log", "ordem", {"t"}, &row, &found, &error));
    QVERIFY(found);
    QCOMPARE(row.value("t").toString(), text);
}

void TstRecordStore::lastRowIsTheLastAppended()
{
    QString error;
    // Values fall while the rows are appended: the last row is the last
    // appended, not the one with the highest value.
    for (int n : {30, 20, 10})
        QVERIFY2(m_store->append(m_file, "Log", {{"n", n}}, &error), qPrintable(error));
    QVariantMap row;
    bool found = false;
    QVERIFY(m_store->readLast(m_file, "Log", "ordem", {"n", "t"}, &row, &found, &error));
    QVERIFY(found);
    QCOMPARE(row.value("n").toInt(), 10);
    QVERIFY(row.value("t").isNull()); // not given when appended
}

void TstRecordStore::emptyLogIsNotAFailure()
{
    QVariantMap row{{"stale", 1}};
    bool found = true;
    QString error;
    QVERIFY2(m_store->readLast(m_file, "Log", "ordem", {"n"}, &row, &found, &error),
             qPrintable(error));
    QVERIFY(!found);
    QVERIFY(row.isEmpty());
}

void TstRecordStore::lockedFileFailsAndKeepsItsValues()
{
    QString error;
    std::unique_ptr<QSqlDatabase> holder;
    const QString lockName = QStringLiteral("tst-lock");
    if (isSqlite()) {
        // Another program in the middle of a write holds the file.
        holder = std::make_unique<QSqlDatabase>(QSqlDatabase::addDatabase("QSQLITE", lockName));
        holder->setDatabaseName(m_file);
        QVERIFY(holder->open());
        QSqlQuery q(*holder);
        QVERIFY(q.exec("BEGIN EXCLUSIVE"));
    } else {
        static_cast<MemoryRecordStore *>(m_store.get())->setLocked(m_file, true);
    }

    QVERIFY(!m_store->updateFirst(m_file, "Single", {{"nome", "EN"}}, &error));
    QVERIFY(!m_store->append(m_file, "Log", {{"n", 1}}, &error));
    QVERIFY(!error.isEmpty());

    if (holder) {
        QSqlQuery(*holder).exec("ROLLBACK");
        holder->close();
        holder.reset();
        QSqlDatabase::removeDatabase(lockName);
    } else {
        static_cast<MemoryRecordStore *>(m_store.get())->setLocked(m_file, false);
    }
    QCOMPARE(first({"nome"}).value("nome").toString(), QStringLiteral("PT"));
    QVariantMap row;
    bool found = true;
    QVERIFY(m_store->readLast(m_file, "Log", "ordem", {"n"}, &row, &found, &error));
    QVERIFY(!found);
}

void TstRecordStore::foreignFileIsNeverWritten()
{
    SqliteRecordStore store;
    const QString path = m_dir.filePath(QStringLiteral("foreign.db"));
    static const char jet[] = "Standard Jet DB\0\0 not SQLite at all\n";
    const QByteArray content = QByteArray(jet, sizeof jet - 1).repeated(200);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QString error;
    QVariantMap row;
    bool found = false;
    QVERIFY(!store.readFirst(path, "TbValoresPre1", {"idioma"}, &row, &error));
    QVERIFY2(error.contains(QStringLiteral("foreign.db")), qPrintable(error));
    QVERIFY(!store.readLast(path, "TbRegisto", "ordem", {"NMec"}, &row, &found, &error));
    QVERIFY(!store.updateFirst(path, "TbValoresPre1", {{"idioma", "EN"}}, &error));
    QVERIFY(!store.append(path, "TbRegisto", {{"NMec", 1}}, &error));
    QVERIFY(!store.create(path, schema(), &error));

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), content);
    QVERIFY(!QFile::exists(path + "-journal"));
}

void TstRecordStore::failedCreateLeavesNothingBehind()
{
    SqliteRecordStore store;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("novo.db"));
    RecordStore::Table bad{QStringLiteral("T"), {{QStringLiteral("a"), Kind::Integer}}, {}, {}};
    bad.rows << RecordStore::Values{{QStringLiteral("a"), QStringLiteral("não é número")}};
    QString error;
    QVERIFY(!store.create(path, schema() << bad, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
}

void TstRecordStore::noConnectionOutlivesACall()
{
    SqliteRecordStore store;
    const QStringList before = QSqlDatabase::connectionNames();
    QVariantMap row;
    QString error;
    QVERIFY(store.readFirst(m_file, "Single", {"nome"}, &row, &error));
    QVERIFY(store.updateFirst(m_file, "Single", {{"nome", "EN"}}, &error));
    QVERIFY(!store.readFirst(m_file, "Nope", {"nome"}, &row, &error));
    QCOMPARE(QSqlDatabase::connectionNames(), before);
    // Nothing holds the file: it can be removed and created anew at once.
    QVERIFY(QFile::remove(m_file));
    QVERIFY2(store.create(m_file, schema(), &error), qPrintable(error));
}

VX_TEST_CLASS(TstRecordStore, Widgets)
#include "tst_recordstore.moc"
