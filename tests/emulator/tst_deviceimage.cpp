// A saved training unit must come back byte for byte, and a file with any
// mistake must be refused whole with a message that names the mistake,
// rather than half-loading a unit or loading zeros where the typo was.

#include "device.h"
#include "deviceimage.h"
#include "testsuite.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vx::emu;

class TstDeviceImage : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip();
    void missingKeysLeaveTheRest();
    void refused_data();
    void refused();
    void saveFailureIsReported();
};

void TstDeviceImage::roundTrip()
{
    Device a;
    for (int i = 0; i < 256; ++i)
        a.setByte(i, static_cast<uint8_t>(255 - i));
    a.setInputs(QStringLiteral("0101010"));
    a.setBattery(89);
    a.setIbutton(QStringLiteral("0123456789AB"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("unit.json"));
    QString error;
    QVERIFY2(DeviceImage::of(a).save(path, &error), qPrintable(error));
    const auto image = DeviceImage::load(path, &error);
    QVERIFY2(image, qPrintable(error));
    Device b;
    image->applyTo(b);
    QVERIFY(b.memory() == a.memory());
    QCOMPARE(b.inputs(), a.inputs());
    QCOMPARE(b.battery(), a.battery());
    QCOMPARE(b.ibutton(), a.ibutton());
}

void TstDeviceImage::missingKeysLeaveTheRest()
{
    QString error;
    const auto image = DeviceImage::fromJson(R"({"ibutton": "00001a2b3c01"})", &error);
    QVERIFY2(image, qPrintable(error));
    Device d;
    const auto before = d.memory();
    image->applyTo(d);
    QCOMPARE(d.ibutton(), QStringLiteral("00001A2B3C01"));
    QVERIFY(d.memory() == before);
    QCOMPARE(int(d.battery()), 120);
    QVERIFY(DeviceImage::fromJson("{}", &error));
}

void TstDeviceImage::refused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");

    QByteArray mem255 = "{\"memory\": [";
    for (int i = 0; i < 255; ++i)
        mem255 += i ? ",0" : "0";
    const QByteArray mem256bad = mem255 + ",256]}";
    const QByteArray memFraction = mem255 + ",1.5]}";
    mem255 += "]}";

    QTest::newRow("cut short") << QByteArray(R"({"battery": 1)") << "not valid JSON";
    QTest::newRow("a list") << QByteArray("[1, 2]") << "one JSON object";
    QTest::newRow("unknown key") << QByteArray(R"({"batery": 100})") << "batery";
    QTest::newRow("255 bytes") << mem255 << "256";
    QTest::newRow("byte 256") << mem256bad << "[255]";
    QTest::newRow("fractional byte") << memFraction << "[255]";
    QTest::newRow("memory a string") << QByteArray(R"({"memory": "00"})") << "256";
    QTest::newRow("inputs six") << QByteArray(R"({"inputs": "111111"})") << "inputs";
    QTest::newRow("inputs a number") << QByteArray(R"({"inputs": 1111111})") << "inputs";
    QTest::newRow("battery negative") << QByteArray(R"({"battery": -1})") << "battery";
    QTest::newRow("battery text") << QByteArray(R"({"battery": "120"})") << "battery";
    QTest::newRow("ibutton short") << QByteArray(R"({"ibutton": "FFFF"})") << "ibutton";
    QTest::newRow("one bad key among good")
        << QByteArray(R"({"battery": 100, "ibutton": "XYZ"})") << "ibutton";
}

void TstDeviceImage::refused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    QString error;
    QVERIFY(!DeviceImage::fromJson(json, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
}

void TstDeviceImage::saveFailureIsReported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no/such/dir/unit.json"));
    QString error;
    QVERIFY(!DeviceImage::of(Device()).save(path, &error));
    QVERIFY(error.contains(path));
}

VX_TEST_CLASS(TstDeviceImage, Core)
#include "tst_deviceimage.moc"
