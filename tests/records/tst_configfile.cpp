// Guards the configuration file below the programs: a damaged or foreign file
// is refused with what is wrong and never half read; a value the timer cannot
// hold is named by its field; two texts the timer stores alike are no
// difference.
#include "configfile.h"
#include "testsuite.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace vx;

namespace {

// What the emulated unit holds, as a read shows it.
ConfigFile goodFile()
{
    const QList<QPair<const char *, const char *>> values{
        {"Text_pwdtarifas", "1234"},   {"Text_pwdrelogio", "4321"},
        {"Text_S00", "2,00"},          {"Text_S08", "2,50"},
        {"Text_S12", "3,00"},          {"Text_S15", "3,50"},
        {"Text_S20", "4,00"},          {"Text_F00", "2,50"},
        {"Text_F08", "3,00"},          {"Text_F12", "3,50"},
        {"Text_F15", "4,00"},          {"Text_F20", "4,50"},
        {"Check_ibut", "1"},           {"Check_contador", "1"},
        {"Text_fracao", "15"},         {"Text_acumulado", "15881,25"},
        {"Text_a_pagar", "450,00"},    {"Text_parcial", "234,56"},
        {"Text_numfab_num", "03"},     {"text_numfab_ano", "A2415"},
        {"Text_ibut", "00001A2B3C01"}, {"Text_contador", "4821"},
        {"Text_total00", "1523,00"},   {"Text_total08", "3102,50"},
        {"Text_total12", "2800,00"},   {"Text_total15", "4555,00"},
        {"Text_total20", "3900,75"},   {"Text_power", "5"},
        {"Text_aberturas", "14"},      {"Text_prog", "3"},
        {"Text_sn_apl", "104233"}};
    ConfigFile file;
    file.saved = QDateTime::fromString(QStringLiteral("2026-12-09T17:30:00Z"), Qt::ISODate);
    file.toolVersion = QStringLiteral("3.5");
    file.manufacturingNumber = QStringLiteral("A241503");
    file.applicationSerial = QStringLiteral("104233");
    file.firmwareVersion = QStringLiteral("5");
    for (const auto &[name, text] : values)
        file.setValue(QLatin1String(name), QLatin1String(text));
    return file;
}

} // namespace

class TstConfigFile : public QObject
{
    Q_OBJECT
private slots:
    // Every field the file carries is one the write table knows, and has a
    // caption for the comparison.
    void everyKeptFieldIsWrittenBack()
    {
        const QStringList all = ConfigFile::fieldNames(ConfigFile::Scope::All);
        const QStringList settings = ConfigFile::fieldNames(ConfigFile::Scope::Settings);
        QCOMPARE(all.size(), 31);
        QCOMPARE(settings.size(), 16);
        for (const QString &name : all)
            QVERIFY2(ConfigFile::caption(name) != name, qPrintable(name));
        for (const QString &name : settings)
            QVERIFY2(all.contains(name), qPrintable(name));
        for (const char *counted : {"Text_power", "Text_contador", "Text_total00", "Text_sn_apl"})
            QVERIFY2(!settings.contains(QLatin1String(counted)), counted);
    }

    void unusableFileIsRefused_data()
    {
        QTest::addColumn<QString>("key"); // empty: the whole text is `text`
        QTest::addColumn<QJsonValue>("replacement");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("says");
        const QJsonValue removed(QJsonValue::Undefined);
        QTest::newRow("cut short")
            << QString() << removed << QByteArray("{\"format\": ") << "not valid JSON";
        QTest::newRow("a list") << QString() << removed << QByteArray("[]") << "no JSON object";
        QTest::newRow("read output")
            << "format" << removed << QByteArray() << "not a VX308 configuration file";
        QTest::newRow("newer version")
            << "version" << QJsonValue(2) << QByteArray() << "format version 2 is newer";
        QTest::newRow("version as text")
            << "version" << QJsonValue("1") << QByteArray() << "\"version\" must be a whole number";
        QTest::newRow("tariff missing")
            << "Text_S00" << removed << QByteArray() << "\"Text_S00\" is missing";
        QTest::newRow("tariff as number") << "Text_S00" << QJsonValue(2) << QByteArray()
                                          << "\"Text_S00\" must be a text, not a number";
        QTest::newRow("tick box as text") << "Check_ibut" << QJsonValue("1") << QByteArray()
                                          << "\"Check_ibut\" must be the number 0 or 1";
        QTest::newRow("tick box fraction") << "Check_ibut" << QJsonValue(0.5) << QByteArray()
                                           << "\"Check_ibut\" must be the number 0 or 1";
        QTest::newRow("no unit") << "unit" << removed << QByteArray()
                                 << "\"unit\" must be an object";
        QTest::newRow("bad date") << "saved" << QJsonValue("yesterday") << QByteArray()
                                  << "\"saved\" must be a date";
        // The bytes of a value no text says: as many numbers 0..255 as the
        // field has, for a field of the file.
        QTest::newRow("bytes not an object")
            << "bytes" << QJsonValue(3) << QByteArray() << "\"bytes\" must give";
        QTest::newRow("bytes too few")
            << "bytes" << QJsonValue(QJsonObject{{"text_numfab_ano", QJsonArray{0, 0}}})
            << QByteArray() << "\"text_numfab_ano\" does not";
        QTest::newRow("byte 256") << "bytes"
                                  << QJsonValue(QJsonObject{{"Check_ibut", QJsonArray{256}}})
                                  << QByteArray() << "\"Check_ibut\" does not";
        QTest::newRow("bytes of no field")
            << "bytes" << QJsonValue(QJsonObject{{"Text_rtc_data", QJsonArray{1, 1, 1}}})
            << QByteArray() << "\"Text_rtc_data\" does not";
        // What Qt's parser lets through: the last of a key given twice,
        // control characters inside a text.
        const QByteArray good = goodFile().toJson();
        QTest::newRow("key twice")
            << QString() << removed
            << QByteArray(good).replace("{\n", "{\n\"Text_S00\": \"9,99\",\n")
            << "\"Text_S00\" is given twice";
        QTest::newRow("key twice in unit")
            << QString() << removed
            << QByteArray(good).replace("\"firmware_version\"",
                                        "\"application_serial\": \"1\", \"firmware_version\"")
            << "\"application_serial\" is given twice";
        QTest::newRow("raw NUL") << QString() << removed
                                 << QByteArray(good).replace("\"2,00\"", QByteArray("\"2,0\0\"", 6))
                                 << "raw control character (\\x00)";
        QTest::newRow("raw escape")
            << QString() << removed << QByteArray(good).replace("\"2,00\"", "\"\x1b[2J\"")
            << "raw control character (\\x1b)";
        QTest::newRow("escaped NUL") << "Text_S00" << QJsonValue(QStringLiteral("2,0") + QChar(0))
                                     << QByteArray() << "a NUL character (\\u0000) inside a text";
    }
    void unusableFileIsRefused()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, replacement);
        QFETCH(QByteArray, text);
        QFETCH(QString, says);
        if (!key.isEmpty()) {
            QJsonObject o = QJsonDocument::fromJson(goodFile().toJson()).object();
            if (replacement.isUndefined())
                o.remove(key);
            else
                o.insert(key, replacement);
            text = QJsonDocument(o).toJson();
        }
        QString error;
        QVERIFY(!ConfigFile::fromJson(text, &error));
        QVERIFY2(error.contains(says), qPrintable(error));
    }

    // A crafted file's text reaches a message, and the terminal that shows
    // it, only escaped.
    void printableEscapesControls_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "1,50"
                               << "1,50";
        QTest::newRow("terminal escape") << "\x1b[2J\x1b]0;x\x07"
                                         << "\\x1b[2J\\x1b]0;x\\x07";
        QTest::newRow("new line") << "a\nb\r"
                                  << "a\\x0ab\\x0d";
        QTest::newRow("C1 control") << QString(QChar(0x9b)) << "\\x9b";
        QTest::newRow("right-to-left override") << QString(QChar(0x202e)) + "ab"
                                                << "\\u202eab";
        QTest::newRow("backslash") << "a\\x00"
                                   << "a\\\\x00";
        QTest::newRow("accented") << "não"
                                  << "não";
    }
    void printableEscapesControls()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(ConfigFile::printable(text), shown);
    }

    // restore --all of another unit's file would give the timer that unit's
    // identity; a number written differently but stored alike is the same.
    void otherUnitIsTold_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("other");
        QTest::newRow("same unit") << "Text_S00"
                                   << "9,99" << false;
        QTest::newRow("sequence written short") << "Text_numfab_num"
                                                << "3" << false;
        QTest::newRow("other sequence") << "Text_numfab_num"
                                        << "04" << true;
        QTest::newRow("other code") << "text_numfab_ano"
                                    << "B2415" << true;
        QTest::newRow("other application serial") << "Text_sn_apl"
                                                  << "104234" << true;
        QTest::newRow("unstorable serial, not written") << "Text_sn_apl"
                                                        << "x" << false;
    }
    void otherUnitIsTold()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, other);
        ConfigFile file = goodFile();
        file.setValue(field, text);
        QCOMPARE(file.isOtherUnit(goodFile()), other);
        QCOMPARE(goodFile().unitName(1), QStringLiteral("A24153 (application serial 104233)"));
    }

    // Only what the timer can store reaches the write pass; every other
    // value is named, and only in the scope that would write it.
    void unstorableValueIsNamed_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refusedInSettings");
        QTest::addColumn<bool>("refusedInAll");
        QTest::newRow("tariff above") << "Text_S00"
                                      << "655,36" << true << true;
        QTest::newRow("tariff at top") << "Text_F20"
                                       << "655,35" << false << false;
        QTest::newRow("tariff with point") << "Text_S08"
                                           << "1.50" << true << true;
        QTest::newRow("fraction above") << "Text_fracao"
                                        << "256" << true << true;
        QTest::newRow("tick box 2") << "Check_contador"
                                    << "2" << true << true;
        QTest::newRow("key serial short") << "Text_ibut"
                                          << "12345" << true << true;
        QTest::newRow("no key serial") << "Text_ibut"
                                       << "-" << false << false;
        QTest::newRow("password above") << "Text_pwdrelogio"
                                        << "65536" << true << true;
        QTest::newRow("power downs none") << "Text_power"
                                          << "-1" << false << false;
        QTest::newRow("power downs top") << "Text_power"
                                         << "65534" << false << false;
        QTest::newRow("power downs above") << "Text_power"
                                           << "65535" << false << true;
        QTest::newRow("program count above") << "Text_prog"
                                             << "256" << false << true;
        QTest::newRow("code digits first") << "text_numfab_ano"
                                           << "0715A" << false << true;
        QTest::newRow("takings placeholder") << "Text_total00"
                                             << "-" << false << true;
    }
    void unstorableValueIsNamed()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, refusedInSettings);
        QFETCH(bool, refusedInAll);
        ConfigFile file = goodFile();
        file.setValue(field, text);
        for (const auto &[scope, refused] :
             {std::pair{ConfigFile::Scope::Settings, refusedInSettings},
              std::pair{ConfigFile::Scope::All, refusedInAll}}) {
            const auto refusals = file.refusals(scope);
            QCOMPARE(refusals.size(), refused ? 1 : 0);
            if (refused) {
                QCOMPARE(refusals.first().field, field);
                QCOMPARE(refusals.first().text, text);
            }
        }
    }

    void sameStoredValueIsNoDifference_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("inFile");
        QTest::addColumn<QString>("inTimer");
        QTest::addColumn<bool>("differs");
        QTest::newRow("one decimal") << "Text_S00"
                                     << "2,5"
                                     << "2,50" << false;
        QTest::newRow("a cent apart") << "Text_S00"
                                      << "2,50"
                                      << "2,51" << true;
        QTest::newRow("password digits") << "Text_pwdtarifas"
                                         << "12"
                                         << "0012" << false;
        QTest::newRow("no key") << "Text_ibut"
                                << "000000000000"
                                << "-" << false;
        QTest::newRow("key serial case") << "Text_ibut"
                                         << "00001a2b3c01"
                                         << "00001A2B3C01" << false;
        QTest::newRow("tick box") << "Check_ibut"
                                  << "0"
                                  << "1" << true;
        QTest::newRow("power downs") << "Text_power"
                                     << "5"
                                     << "6" << true;
        QTest::newRow("counter") << "Text_contador"
                                 << "4821"
                                 << "4822" << true;
    }
    void sameStoredValueIsNoDifference()
    {
        QFETCH(QString, field);
        QFETCH(QString, inFile);
        QFETCH(QString, inTimer);
        QFETCH(bool, differs);
        ConfigFile file = goodFile();
        ConfigFile timer = goodFile();
        file.setValue(field, inFile);
        timer.setValue(field, inTimer);
        const auto found = file.differences(timer, ConfigFile::Scope::All);
        QCOMPARE(found.size(), differs ? 1 : 0);
        if (differs) {
            QCOMPARE(found.first().field, field);
            QCOMPARE(found.first().caption, ConfigFile::caption(field));
            QCOMPARE(found.first().inFile, inFile);
            QCOMPARE(found.first().inTimer, inTimer);
        }
    }
};

VX_TEST_CLASS(TstConfigFile, Core)
#include "tst_configfile.moc"
