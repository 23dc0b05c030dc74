// The two database files and their access patterns. Guards against: a start
// that overwrites or "repairs" an existing file (settings, log or a file that
// is not ours), a one-row table that gains rows, an edit that changes what it
// must not (idioma, Comm, Pagar), a log whose "last row" is not the newest,
// a log row that cannot be read back into the week counters, and a missing
// file that is quietly created by a read.
#include "datafolder.h"
#include "tables.h"
#include "testsuite.h"

#include <QFile>
#include <QTest>

using namespace vx;

namespace {

QByteArray contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TableRows::Values defaults(const QString &prefix)
{
    TableRows::Values v;
    int i = 0;
    for (const auto &c : kDefaults)
        v << qMakePair(toQString(c.field), QVariant(prefix + QString::number(++i)));
    return v;
}

} // namespace

class TstDatabases : public QObject
{
    Q_OBJECT

private slots:
    void provisionCreatesTheFiles();
    void provisionRewritesNothing();
    void foreignFileStaysIntact();
    void provisionNamesTheFileItCouldNotMake_data();
    void provisionNamesTheFileItCouldNotMake();
    void idioma_data();
    void idioma();
    void comm();
    void settingsWrittenTwice();
    void settingsAllOrNothing();
    void logTwoOnTheSameDay();
    void logOutOfRange_data();
    void logOutOfRange();
    void logWithoutDate();
    void reportSingleRow();
    void reportAllOrNothing();
    void missingFilesAreNotCreated();
};

void TstDatabases::provisionCreatesTheFiles()
{
    DataFolder a(false);
    QStringList created;
    QString error;
    QVERIFY2(a.databases.provision(&created, &error), qPrintable(error));
    QCOMPARE(created, QStringList({a.databases.settingsFile(), a.databases.templateFile()}));
    QVERIFY(a.databases.settingsFile().endsWith("/ValoresPre1.db"));
    QVERIFY(a.databases.logFile().endsWith("/Registo.db"));
    // The log is the records': made when they are first prepared.
    bool createdLog = false;
    QVERIFY2(a.records.prepare(&error, &createdLog), qPrintable(error));
    QVERIFY(createdLog);
    QVERIFY(a.records.prepare(&error, &createdLog));
    QVERIFY(!createdLog);

    QCOMPARE(DataFolder::count(a.databases.settingsFile(), "TbValoresPre1"), 1);
    QCOMPARE(DataFolder::count(a.databases.settingsFile(), "TbReport"), 1);
    QCOMPARE(DataFolder::count(a.databases.logFile(), "TbRegisto"), 0);

    QString idioma;
    int comm = 0;
    QVERIFY(a.databases.readLanguage(&idioma, &error));
    QVERIFY(a.databases.readComm(&comm, &error));
    QCOMPARE(idioma, QStringLiteral("PT"));
    QCOMPARE(comm, 1);
    QStringList fields{"Pagar"};
    for (const auto &c : kDefaults)
        fields << toQString(c.field);
    QVariantMap v;
    QVERIFY(a.databases.readSettings(fields, &v, &error));
    QCOMPARE(v.value("Pagar").toString(), QStringLiteral("0,00"));
    for (const auto &c : kDefaults)
        QCOMPARE(v.value(toQString(c.field)).toString(), toQString(c.initial));

    LastLogRow u;
    u.NMec = 99;
    QVERIFY(a.records.readLastLogRow(&u, &error));
    QVERIFY(!u.exists);
    QCOMPARE(u.NMec, 0);
    QCOMPARE(u.NAct, 0);
    QCOMPARE(u.SAct, 0);

    // The shipped template, byte for byte, and the technician may edit it.
    const QString shipped = QFINDTESTDATA("../../share/manutencao.html");
    QVERIFY(!shipped.isEmpty());
    QCOMPARE(contents(a.databases.templateFile()), contents(shipped));
    QVERIFY(QFileInfo(a.databases.templateFile()).isWritable());
}

void TstDatabases::provisionRewritesNothing()
{
    DataFolder a;
    QVERIFY2(a.provisioned, qPrintable(a.error));
    QString error;
    QVERIFY(a.databases.writeLanguage(1, &error));
    QVERIFY(a.appendLogRow({1, "A07051", 1, 5, QDate(2007, 2, 1), QTime(10, 0)}, &error));
    {
        QFile f(a.databases.templateFile());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("<p>{{ns}} o nosso modelo</p>");
    }
    const QByteArray values = contents(a.databases.settingsFile());
    const QByteArray log = contents(a.databases.logFile());

    QStringList created;
    QVERIFY(a.databases.provision(&created, &error));
    QVERIFY(created.isEmpty());
    QCOMPARE(contents(a.databases.settingsFile()), values);
    QCOMPARE(contents(a.databases.logFile()), log);
    QCOMPARE(contents(a.databases.templateFile()), QByteArray("<p>{{ns}} o nosso modelo</p>"));
}

void TstDatabases::foreignFileStaysIntact()
{
    DataFolder a(false);
    const QByteArray foreign("not a database, perhaps an old Jet file\n");
    {
        QFile f(a.databases.settingsFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(foreign);
    }
    QStringList created;
    QString error;
    QVERIFY(a.databases.provision(&created, &error));
    QCOMPARE(created, QStringList({a.databases.templateFile()}));

    QString idioma;
    QVERIFY(!a.databases.readLanguage(&idioma, &error));
    QVERIFY2(error.contains("ValoresPre1.db"), qPrintable(error));
    QVERIFY(!a.databases.writeLanguage(1, &error));
    QVERIFY(!a.databases.writeSettings(defaults("x"), &error));
    QCOMPARE(contents(a.databases.settingsFile()), foreign);
}

// The start-up message names the file that failed, not always the settings.
void TstDatabases::provisionNamesTheFileItCouldNotMake_data()
{
    QTest::addColumn<QString>("failing");
    QTest::newRow("settings") << QStringLiteral("ValoresPre1.db");
    QTest::newRow("report template") << QStringLiteral("manutencao.html");
}
void TstDatabases::provisionNamesTheFileItCouldNotMake()
{
    QFETCH(QString, failing);
    QTemporaryDir dir;
    // A folder that is not there refuses the settings file; a template that
    // is a link into such a folder refuses only the template.
    const bool settings = failing == QLatin1String("ValoresPre1.db");
    Databases databases(settings ? dir.filePath(QStringLiteral("absent")) : dir.path());
    const QString file = QDir(databases.folder()).filePath(failing);
    if (!settings) QVERIFY(QFile::link(dir.filePath(QStringLiteral("absent/") + failing), file));
    QString error;
    QString failedFile;
    QVERIFY(!databases.provision(nullptr, &error, &failedFile));
    QCOMPARE(failedFile, file);
    QVERIFY2(error.contains(failing), qPrintable(error));
}

void TstDatabases::idioma_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("PT") << "PT";
    QTest::newRow("EN") << "EN";
    // Read back as stored: telling "PT" from anything else is the caller's.
    QTest::newRow("lower-case") << "pt";
    QTest::newRow("empty") << "";
}

void TstDatabases::idioma()
{
    QFETCH(QString, stored);
    DataFolder a;
    bool ok = false;
    DataFolder::sql(a.databases.settingsFile(),
                    {QStringLiteral("UPDATE TbValoresPre1 SET idioma = '%1'").arg(stored)}, &ok);
    QVERIFY(ok);
    QString idioma;
    QString error;
    QVERIFY(a.databases.readLanguage(&idioma, &error));
    QCOMPARE(idioma, stored);

    QVERIFY(a.databases.writeLanguage(1, &error));
    QVERIFY(a.databases.readLanguage(&idioma, &error));
    QCOMPARE(idioma, QStringLiteral("EN"));
    QVERIFY(a.databases.writeLanguage(0, &error));
    QVERIFY(a.databases.readLanguage(&idioma, &error));
    QCOMPARE(idioma, QStringLiteral("PT"));
    QVERIFY(!a.databases.writeLanguage(2, &error));
    QVERIFY(a.databases.readLanguage(&idioma, &error));
    QCOMPARE(idioma, QStringLiteral("PT"));
}

void TstDatabases::comm()
{
    DataFolder a;
    QString error;
    int comm = 0;
    QVERIFY(a.databases.writeComm(3, &error));
    QVERIFY(a.databases.readComm(&comm, &error));
    QCOMPARE(comm, 3);
    QVERIFY(a.databases.writeComm(7, &error)); // out of 1..4 is the start-up's to judge
    QVERIFY(a.databases.readComm(&comm, &error));
    QCOMPARE(comm, 7);
    // A hand-edited file with no number in Comm.
    DataFolder::sql(a.databases.settingsFile(), {"UPDATE TbValoresPre1 SET Comm = 'COM2'"});
    comm = 5;
    QVERIFY(!a.databases.readComm(&comm, &error));
    QVERIFY(error.contains("ValoresPre1.db"));
    QCOMPARE(comm, 5);
}

void TstDatabases::settingsWrittenTwice()
{
    DataFolder a;
    QString error;
    QVERIFY(a.databases.writeLanguage(1, &error));
    QVERIFY(a.databases.writeComm(2, &error));
    DataFolder::sql(a.databases.settingsFile(), {"UPDATE TbValoresPre1 SET Pagar = '12,34'"});

    QVERIFY(a.databases.writeSettings(defaults("a"), &error));
    QVERIFY(a.databases.writeSettings(defaults("b"), &error));

    QCOMPARE(DataFolder::count(a.databases.settingsFile(), "TbValoresPre1"), 1);
    QStringList fields{"idioma", "Comm", "Pagar"};
    for (const auto &c : kDefaults)
        fields << toQString(c.field);
    QVariantMap v;
    QVERIFY(a.databases.readSettings(fields, &v, &error));
    int i = 0;
    for (const auto &c : kDefaults)
        QCOMPARE(v.value(toQString(c.field)).toString(), QStringLiteral("b%1").arg(++i));
    QCOMPARE(v.value("idioma").toString(), QStringLiteral("EN"));
    QCOMPARE(v.value("Comm").toInt(), 2);
    QCOMPARE(v.value("Pagar").toString(), QStringLiteral("12,34"));
}

void TstDatabases::settingsAllOrNothing()
{
    DataFolder a;
    QString error;
    // A file from an older tool without one of the 25 fields.
    DataFolder::sql(a.databases.settingsFile(), {"ALTER TABLE TbValoresPre1 DROP COLUMN prog"});
    QVERIFY(!a.databases.writeSettings(defaults("a"), &error));
    QVERIFY2(error.contains("prog"), qPrintable(error));
    QVariantMap v;
    QVERIFY(a.databases.readSettings({"TarS00", "FRACAO"}, &v, &error));
    QCOMPARE(v.value("TarS00").toString(), QStringLiteral("0,00"));
    QCOMPARE(v.value("FRACAO").toString(), QStringLiteral("0"));
}

void TstDatabases::logTwoOnTheSameDay()
{
    DataFolder a;
    QString error;
    QVERIFY(a.appendLogRow({1, "A07051", 1, 5, QDate(2007, 2, 1), QTime(9, 5, 3)}, &error));
    QVERIFY(a.appendLogRow({2, "A07052", 2, 5, QDate(2007, 2, 1), QTime(9, 5, 3)}, &error));
    QCOMPARE(DataFolder::count(a.databases.logFile(), "TbRegisto"), 2);
    LastLogRow u;
    QVERIFY(a.records.readLastLogRow(&u, &error));
    QVERIFY(u.exists);
    QCOMPARE(u.NMec, 2);
    QCOMPARE(u.NAct, 2);
    QCOMPARE(u.SAct, 5);
    QCOMPARE(u.Data, QDate(2007, 2, 1));
    const auto rows =
        DataFolder::sql(a.databases.logFile(), {"SELECT NFab, hora FROM TbRegisto ORDER BY ordem"});
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[1][0].toString(), QStringLiteral("A07052"));
    QCOMPARE(rows[1][1].toString(), QStringLiteral("09:05:03"));
}

void TstDatabases::logOutOfRange_data()
{
    QTest::addColumn<int>("nact");
    QTest::addColumn<int>("sact");
    QTest::newRow("nact-256") << 256 << 5;
    QTest::newRow("nact-negative") << -1 << 5;
    QTest::newRow("sact-54") << 3 << 54;
}

void TstDatabases::logOutOfRange()
{
    QFETCH(int, nact);
    QFETCH(int, sact);
    DataFolder a;
    QString error;
    QVERIFY(!a.appendLogRow({1, "A0705256", nact, sact, QDate(2007, 2, 1), QTime(9, 0)}, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(DataFolder::count(a.databases.logFile(), "TbRegisto"), 0);
    // The edges themselves are kept.
    QVERIFY(a.appendLogRow({1, "A07050", 0, 0, QDate(2011, 1, 1), QTime(9, 0)}, &error));
    QVERIFY(a.appendLogRow({2, "A1253255", 255, 53, QDate(2012, 12, 31), QTime(9, 0)}, &error));
    LastLogRow u;
    QVERIFY(a.records.readLastLogRow(&u, &error));
    QCOMPARE(u.NAct, 255);
    QCOMPARE(u.SAct, 53);
}

void TstDatabases::logWithoutDate()
{
    DataFolder a;
    // A row written by hand without a date.
    DataFolder::sql(a.databases.logFile(),
                    {"INSERT INTO TbRegisto (NMec, NFab, NAct, SAct) VALUES (7, 'A07053', 3, 5)"});
    LastLogRow u;
    QString error;
    QVERIFY(a.records.readLastLogRow(&u, &error));
    QVERIFY(u.exists);
    QCOMPARE(u.NMec, 7);
    QVERIFY(!u.Data.isValid());
}

void TstDatabases::reportSingleRow()
{
    DataFolder a;
    QString error;
    TableRows::Values row;
    for (const auto &c : kReportFields)
        row << qMakePair(toQString(c.field), QVariant(toQString(c.field) + "-1"));
    QVERIFY(a.databases.writeReport(row, &error));
    for (auto &[field, valor] : row)
        valor = field + "-2";
    QVERIFY(a.databases.writeReport(row, &error));
    QCOMPARE(DataFolder::count(a.databases.settingsFile(), "TbReport"), 1);
    QVariantMap readBack;
    QVERIFY(a.databases.readReport(&readBack, &error));
    QCOMPARE(readBack.size(), 32);
    for (const auto &c : kReportFields)
        QCOMPARE(readBack.value(toQString(c.field)).toString(), toQString(c.field) + "-2");
}

void TstDatabases::reportAllOrNothing()
{
    DataFolder a;
    QString error;
    DataFolder::sql(a.databases.settingsFile(), {"ALTER TABLE TbReport DROP COLUMN Data_Sys"});
    TableRows::Values row;
    for (const auto &c : kReportFields)
        row << qMakePair(toQString(c.field), QVariant(QStringLiteral("novo")));
    QVERIFY(!a.databases.writeReport(row, &error));
    const auto l =
        DataFolder::sql(a.databases.settingsFile(), {"SELECT TarS00, FRACAO FROM TbReport"});
    QCOMPARE(l.size(), 1);
    QCOMPARE(l[0][0].toString(), QStringLiteral("-"));
    QCOMPARE(l[0][1].toString(), QStringLiteral("-"));
}

void TstDatabases::missingFilesAreNotCreated()
{
    DataFolder a(false);
    QString error;
    QString idioma;
    int comm = 0;
    QVariantMap v;
    LastLogRow u;
    QVERIFY(!a.databases.readLanguage(&idioma, &error));
    QVERIFY(error.contains("ValoresPre1.db"));
    QVERIFY(!a.databases.readComm(&comm, &error));
    QVERIFY(!a.databases.writeSettings(defaults("a"), &error));
    QVERIFY(!a.databases.readReport(&v, &error));
    QVERIFY(!a.records.readLastLogRow(&u, &error));
    QVERIFY(error.contains("Registo.db"));
    QVERIFY(!a.appendLogRow({1, "A07051", 1, 5, QDate(2007, 2, 1), QTime(9, 0)}, &error));
    QVERIFY(!QFile::exists(a.databases.settingsFile()));
    QVERIFY(!QFile::exists(a.databases.templateFile()));
}

VX_TEST_CLASS(TstDatabases, Widgets)
#include "tst_databases.moc"
