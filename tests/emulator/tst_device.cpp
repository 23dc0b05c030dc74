// The emulated VX308 must answer every command the way the maintenance tool
// decodes it: a wrong byte order, a reversed serial the wrong way round or a
// header that is not echoed would make the tool look broken when it is not.
// It must also stay silent on a damaged request and never act on one (a
// damaged write must not change memory).

#include "device.h"
#include "frame.h"
#include "testsuite.h"

#include <QTest>

using vx::emu::Device;

namespace {

QByteArray request(vx::Command cmd, uint8_t index, uint8_t value, const QByteArray &data = {})
{
    vx::TxData d{};
    d.fill('0');
    for (int i = 0; i < data.size() && i < 12; ++i)
        d[i] = data.at(i);
    return vx::buildRequest(cmd, index, value, d);
}

QByteArray dataField(const QByteArray &reply)
{
    return reply.mid(vx::kDataOffset, 12);
}

// A clock the test moves by hand.
struct FakeTime
{
    qint64 ms = 0;
    Device::TimeSource source()
    {
        return [this] { return ms; };
    }
};

} // namespace

class TstDevice : public QObject
{
    Q_OBJECT
private slots:
    void workedExample();
    void headerIsEchoed();
    void replies_data();
    void replies();
    void readMemory_data();
    void readMemory();
    void writeMemoryWraps();
    void invalidRequestIsIgnored_data();
    void invalidRequestIsIgnored();
    void impulsesAccumulate();
    void display();
    void clockRunsFromSetting();
    void clockWrapsYear();
    void clockKeepsSentWeekday();
    void impossibleClockStandsStill();
    void defaultMemoryIsPlausible();
    void settersRefuseBadText();
    void historyCountsAndCaps();
};

void TstDevice::workedExample()
{
    Device d;
    d.setByte(31, 100);
    QCOMPARE(d.respond(QByteArray("#AF0000010F110000000000000B2%")),
             QByteArray("!AF0000010F11046000000000053%"));
}

void TstDevice::headerIsEchoed()
{
    Device d;
    for (const QByteArray &req :
         {request(vx::Command::ReadMemory, 200, 3), request(vx::Command::ReadBattery, 0, 0),
          request(vx::Command::Display, 9, 13), request(vx::Command::WriteMemory, 17, 2, "12AB"),
          request(vx::Command::End, 0, 0)}) {
        const QByteArray reply = d.respond(req);
        QVERIFY(vx::isValidReply(reply));
        QCOMPARE(reply.mid(1, 13), req.mid(1, 13));
    }
}

void TstDevice::replies_data()
{
    QTest::addColumn<vx::Command>("command");
    QTest::addColumn<QString>("inputs");
    QTest::addColumn<int>("battery");
    QTest::addColumn<QString>("ibutton");
    QTest::addColumn<QByteArray>("data");

    const QString rest = QStringLiteral("1111111");
    const QString none = QStringLiteral("FFFFFFFFFFFF");
    QTest::newRow("end of connection")
        << vx::Command::End << rest << 120 << none << QByteArray("000000000000");
    QTest::newRow("inputs at rest")
        << vx::Command::ReadInputs << rest << 120 << none << QByteArray("111111100000");
    QTest::newRow("inputs mixed") << vx::Command::ReadInputs << QStringLiteral("0102345") << 120
                                  << none << QByteArray("010234500000");
    QTest::newRow("battery 120") << vx::Command::ReadBattery << rest << 120 << none
                                 << QByteArray("870000000000");
    QTest::newRow("battery 89") << vx::Command::ReadBattery << rest << 89 << none
                                << QByteArray("950000000000");
    QTest::newRow("no key") << vx::Command::ReadIButton << rest << 120 << none
                            << QByteArray("FFFFFFFFFFFF");
    QTest::newRow("key") << vx::Command::ReadIButton << rest << 120
                         << QStringLiteral("0123456789AB") << QByteArray("BA9876543210");
    QTest::newRow("unknown command")
        << static_cast<vx::Command>(5) << rest << 120 << none << QByteArray("000000000000");
}

void TstDevice::replies()
{
    QFETCH(vx::Command, command);
    QFETCH(QString, inputs);
    QFETCH(int, battery);
    QFETCH(QString, ibutton);
    QFETCH(QByteArray, data);

    Device d;
    QVERIFY(d.setInputs(inputs));
    d.setBattery(static_cast<uint8_t>(battery));
    QVERIFY(d.setIbutton(ibutton));
    const QByteArray reply = d.respond(request(command, 0, 0));
    QVERIFY(vx::isValidReply(reply));
    QCOMPARE(dataField(reply), data);
    if (command == vx::Command::ReadIButton) QCOMPARE(vx::reversedData(reply), ibutton);
    if (command == vx::Command::ReadBattery) QCOMPARE(int(vx::dataByte(reply, 0)), battery);
}

void TstDevice::readMemory_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("one byte") << 10 << 1 << QByteArray("BA0000000000");
    QTest::newRow("two bytes little-endian") << 10 << 2 << QByteArray("BADC00000000");
    QTest::newRow("six bytes") << 10 << 6 << QByteArray("BADCFE103254");
    QTest::newRow("wraps at 256") << 254 << 4 << QByteArray("0807BADC0000");
    QTest::newRow("count above six gives six") << 10 << 9 << QByteArray("BADCFE103254");
    QTest::newRow("count zero") << 10 << 0 << QByteArray("000000000000");
}

void TstDevice::readMemory()
{
    QFETCH(int, address);
    QFETCH(int, count);
    QFETCH(QByteArray, data);

    Device d;
    const uint8_t bytes[] = {0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45};
    for (int k = 0; k < 6; ++k)
        d.setByte(10 + k, bytes[k]);
    d.setByte(254, 0x80);
    d.setByte(255, 0x70);
    d.setByte(0, 0xAB);
    d.setByte(1, 0xCD);
    const QByteArray reply = d.respond(request(
        vx::Command::ReadMemory, static_cast<uint8_t>(address), static_cast<uint8_t>(count)));
    QVERIFY(vx::isValidReply(reply));
    QCOMPARE(dataField(reply), data);
}

void TstDevice::writeMemoryWraps()
{
    Device d;
    d.setByte(2, 0x77);
    // Three bytes at 255: 255, 0, 1; the fourth data byte is not the device's to take.
    const QByteArray reply = d.respond(request(vx::Command::WriteMemory, 255, 3, "1032547698BA"));
    QVERIFY(vx::isValidReply(reply));
    QCOMPARE(int(d.byte(255)), 0x01);
    QCOMPARE(int(d.byte(0)), 0x23);
    QCOMPARE(int(d.byte(1)), 0x45);
    QCOMPARE(int(d.byte(2)), 0x77);
    QCOMPARE(d.number(255, 3), 0x452301u);
}

void TstDevice::invalidRequestIsIgnored_data()
{
    QTest::addColumn<QByteArray>("request");
    const QByteArray good = request(vx::Command::WriteMemory, 4, 2, "6900");
    auto with = [&good](int pos, char c) {
        QByteArray r = good;
        r[pos] = c;
        return r;
    };
    QTest::newRow("checksum low digit") << with(26, good.at(26) == '0' ? '1' : '0');
    QTest::newRow("checksum high digit") << with(27, good.at(27) == '0' ? '1' : '0');
    QTest::newRow("lower-case digit") << QByteArray(good).replace("AF", "aF");
    QTest::newRow("no percent") << with(28, '&');
    QTest::newRow("no hash") << with(0, '$');
    QTest::newRow("data damaged") << with(14, '7');
    QTest::newRow("short") << good.left(28);
    QTest::newRow("empty") << QByteArray();
}

void TstDevice::invalidRequestIsIgnored()
{
    QFETCH(QByteArray, request);
    Device d;
    const auto before = d.memory();
    QVERIFY(d.respond(request).isEmpty());
    QCOMPARE(d.rejected(), 1);
    QCOMPARE(d.answered(), 0);
    QVERIFY(d.memory() == before);
    QVERIFY(d.history().empty());
}

void TstDevice::impulsesAccumulate()
{
    Device d;
    d.respond(request(vx::Command::Impulses, 0, 5));
    d.respond(request(vx::Command::Impulses, 0, 255));
    QCOMPARE(d.impulses(), qint64(260));
}

void TstDevice::display()
{
    Device d;
    QCOMPARE(d.displayText(), QStringLiteral("          "));
    d.respond(request(vx::Command::Display, 4, 'E'));
    d.respond(request(vx::Command::Display, 3, 'S'));
    d.respond(request(vx::Command::Display, 0, 7));
    d.respond(request(vx::Command::Display, 9, Device::kCursorMark));
    d.respond(request(vx::Command::Display, 10, 'X')); // no such position
    QCOMPARE(d.displayText(), QStringLiteral("7  SE    _"));
    QCOMPARE(int(d.displayCodes()[4]), int('E'));
    d.respond(request(vx::Command::Display, 4, Device::kBlank));
    QCOMPARE(d.displayText(), QStringLiteral("7  S     _"));
}

void TstDevice::clockRunsFromSetting()
{
    FakeTime t;
    Device d(t.source());
    // 1 December 2026 (a Tuesday) 14:05:30; weekday sent as the PC would: 3.
    QVERIFY(vx::isValidReply(d.respond(request(vx::Command::SetClock, 30, 0, "50E03010C0A1"))));
    QByteArray reply = d.respond(request(vx::Command::ReadClock, 0, 6));
    QCOMPARE(dataField(reply), QByteArray("50E03010C0A1"));
    QCOMPARE(int(vx::dataByte(reply, 2)), 3);

    t.ms += 30 * 1000; // 14:06:00
    reply = d.respond(request(vx::Command::ReadClock, 0, 6));
    QCOMPARE(int(vx::dataByte(reply, 0)), 6);
    QCOMPARE(int(vx::dataByte(reply, 1)), 14);

    t.ms += 24 * 3600 * 1000; // next day, Wednesday
    reply = d.respond(request(vx::Command::ReadClock, 0, 6));
    QCOMPARE(int(vx::dataByte(reply, 2)), 4);
    QCOMPARE(int(vx::dataByte(reply, 3)), 2);
    QCOMPARE(int(vx::dataByte(reply, 4)), 12);
    QCOMPARE(int(vx::dataByte(reply, 5)), 26);
}

void TstDevice::clockWrapsYear()
{
    FakeTime t;
    Device d(t.source());
    d.setClock(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
    t.ms += 1000;
    const auto c = d.clockBytes();
    QCOMPARE(int(c[0]), 0);
    QCOMPARE(int(c[1]), 0);
    QCOMPARE(int(c[3]), 1);
    QCOMPARE(int(c[4]), 1);
    QCOMPARE(int(c[5]), 27);
    QCOMPARE(int(c[2]), 6); // 1 January 2027 is a Friday: 6 counting from Sunday
}

void TstDevice::clockKeepsSentWeekday()
{
    FakeTime t;
    Device d(t.source());
    // Tuesday 1-12-2026 sent with weekday 5: the device counts on from 5.
    d.respond(request(vx::Command::SetClock, 0, 0, "50E05010C0A1"));
    QCOMPARE(int(d.clockBytes()[2]), 5);
    t.ms += 2 * 24 * 3600 * 1000;
    QCOMPARE(int(d.clockBytes()[2]), 7);
    t.ms += 24 * 3600 * 1000;
    QCOMPARE(int(d.clockBytes()[2]), 1);
}

void TstDevice::impossibleClockStandsStill()
{
    FakeTime t;
    Device d(t.source());
    // Day 0 of month 13: kept as sent, not running.
    d.respond(request(vx::Command::SetClock, 0, 0, "50E03000D0A1"));
    QVERIFY(!d.clock().isValid());
    t.ms += 3600 * 1000;
    const auto c = d.clockBytes();
    QCOMPARE(int(c[0]), 5);
    QCOMPARE(int(c[3]), 0);
    QCOMPARE(int(c[4]), 13);
}

void TstDevice::defaultMemoryIsPlausible()
{
    Device d;
    auto read = [&d](int address, int count) {
        return d.respond(request(vx::Command::ReadMemory, static_cast<uint8_t>(address),
                                 static_cast<uint8_t>(count)));
    };
    QCOMPARE(int(vx::dataByte(read(198, 1), 0)), 4);
    // Manufacturing: number 03, week 15, year 24, letter A.
    const QByteArray factoryMenu = read(43, 4);
    QCOMPARE(int(vx::dataByte(factoryMenu, 0)), 3);
    QCOMPARE(int(vx::dataByte(factoryMenu, 1)), 15);
    QCOMPARE(int(vx::dataByte(factoryMenu, 2)), 24);
    QCOMPARE(int(vx::dataByte(factoryMenu, 3)), int('A'));
    // Every tariff a sensible price, every date a real date.
    for (int a = 4; a <= 22; a += 2) {
        const uint32_t cents = vx::dataNumber(read(a, 2), 2);
        QVERIFY2(cents >= 50 && cents <= 2000, qPrintable(QString::number(a)));
    }
    for (int a : {26, 91}) {
        const QByteArray r = read(a, 5);
        QVERIFY(QDate(2000 + vx::dataByte(r, 2), vx::dataByte(r, 1), vx::dataByte(r, 0)).isValid());
        QVERIFY(QTime(vx::dataByte(r, 3), vx::dataByte(r, 4)).isValid());
    }
    QVERIFY(vx::dataNumber(read(96, 3), 3) > 0);
    QVERIFY(vx::dataNumber(read(0, 2), 2) < 10000);
    QVERIFY(vx::dataNumber(read(70, 2), 2) >= 1);
    const QString key = vx::reversedData(read(47, 6));
    QVERIFY(key != QStringLiteral("000000000000") && key != QStringLiteral("FFFFFFFFFFFF"));
}

void TstDevice::settersRefuseBadText()
{
    Device d;
    QVERIFY(!d.setInputs(QStringLiteral("111111")));
    QVERIFY(!d.setInputs(QStringLiteral("11111G1")));
    QCOMPARE(d.inputs(), QStringLiteral("1111111"));
    QVERIFY(!d.setIbutton(QStringLiteral("0123456789A")));
    QVERIFY(!d.setIbutton(QStringLiteral("0123456789AZ")));
    QCOMPARE(d.ibutton(), QStringLiteral("FFFFFFFFFFFF"));
    QVERIFY(d.setIbutton(QStringLiteral("0123456789ab")));
    QCOMPARE(d.ibutton(), QStringLiteral("0123456789AB"));
}

void TstDevice::historyCountsAndCaps()
{
    Device d;
    for (int i = 0; i < Device::kHistorySize + 10; ++i)
        d.respond(request(vx::Command::ReadBattery, 0, 0));
    d.respond(request(vx::Command::ReadMemory, 31, 1));
    QCOMPARE(int(d.history().size()), Device::kHistorySize);
    QCOMPARE(d.count(vx::Command::ReadBattery), Device::kHistorySize + 10);
    QCOMPARE(d.count(vx::Command::ReadMemory), 1);
    QCOMPARE(d.history().back().command, vx::Command::ReadMemory);
    QCOMPARE(int(d.history().back().index), 31);
    QCOMPARE(d.history().back().frame, request(vx::Command::ReadMemory, 31, 1));
    d.clearHistory();
    QCOMPARE(d.answered(), 0);
    QVERIFY(d.history().empty());
}

VX_TEST_CLASS(TstDevice, Core)
#include "tst_device.moc"
