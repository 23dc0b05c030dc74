// The device's side of the line: request frames must be found in whatever
// the PC sends (the "$", noise, a request cut short), and every fault and
// timing asked for must show in the answers exactly as asked; a fault mode
// that silently does nothing would let the tool's recovery go untested.

#include "clock.h"
#include "device.h"
#include "frame.h"
#include "requestassembler.h"
#include "responder.h"
#include "testsuite.h"

#include <QTest>

using namespace vx::emu;

namespace {

QByteArray plainRequest(vx::Command cmd, uint8_t index, uint8_t value)
{
    vx::TxData d{};
    d.fill('0');
    return vx::buildRequest(cmd, index, value, d);
}

const QByteArray kRead = plainRequest(vx::Command::ReadMemory, 31, 1);
const QByteArray kReadBattery = plainRequest(vx::Command::ReadBattery, 0, 0);

QByteArray joined(const std::vector<Delivery> &ds)
{
    QByteArray all;
    for (const Delivery &d : ds)
        all += d.bytes;
    return all;
}

} // namespace

class TstResponder : public QObject
{
    Q_OBJECT
    // The device's own pace: the times below are the nominal ones.
    const vx::SystemClock m_clock;

private slots:
    void assembler_data();
    void assembler();
    void plainReplyIsImmediate();
    void timing_data();
    void timing();
    void pacingCountsFromTheFirstByte();
    void splitPiecesMakeTheReply();
    void extraBytesFollowTheReply();
    void garbageComesBeforeTheReply();
    void badChecksumIsRejectedByTheTool();
    void noReplyLeavesDeviceUntouched();
    void nextOverridesThenNormal();
    void everyNth();
};

void TstResponder::assembler_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("frames");

    using L = QList<QByteArray>;
    QTest::newRow("dollar then frame") << L{"$", kRead} << L{kRead};
    QTest::newRow("one character at a time") << [] {
        L chunks{"$"};
        for (char c : kRead)
            chunks << QByteArray(1, c);
        return chunks;
    }() << L{kRead};
    QTest::newRow("noise before") << L{"\x00\xFFxx$" + kRead} << L{kRead};
    QTest::newRow("two in one write")
        << L{"$" + kRead + "$" + kReadBattery} << L{kRead, kReadBattery};
    QTest::newRow("request cut short, then sent again")
        << L{"$" + kRead.left(7), "$" + kRead} << L{kRead};
    QTest::newRow("false hash inside noise") << L{"#12#", "$" + kReadBattery} << L{kReadBattery};
    QTest::newRow("damaged then good")
        << L{QByteArray(kRead).replace(26, 1, "0"), "$" + kReadBattery} << L{kReadBattery};
    QTest::newRow("incomplete") << L{"$" + kRead.left(28)} << L{};
}

void TstResponder::assembler()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, frames);
    RequestAssembler a;
    QList<QByteArray> got;
    for (const QByteArray &c : chunks)
        got += a.feed(c);
    QCOMPARE(got, frames);
}

void TstResponder::plainReplyIsImmediate()
{
    Device device;
    Faults faults;
    Responder r(device, faults, m_clock);
    const auto ds = r.receive("$" + kRead);
    QCOMPARE(int(ds.size()), 1);
    QCOMPARE(ds[0].atUs, qint64(0));
    QVERIFY(vx::isValidReply(ds[0].bytes));
    QCOMPARE(ds[0].bytes.mid(1, 13), kRead.mid(1, 13));
}

void TstResponder::timing_data()
{
    QTest::addColumn<bool>("pace");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<qint64>("atUs");

    // 59 characters of 10 bits at 19200 bit/s: 30729.2 us.
    QTest::newRow("paced") << true << 0 << qint64(30729);
    QTest::newRow("delayed") << false << 700 << qint64(700000);
    QTest::newRow("paced and delayed") << true << 100 << qint64(130729);
}

void TstResponder::timing()
{
    QFETCH(bool, pace);
    QFETCH(int, delayMs);
    QFETCH(qint64, atUs);
    Device device;
    Faults faults;
    faults.pace = pace;
    faults.delayMs = delayMs;
    Responder r(device, faults, m_clock);
    const auto ds = r.receive("$" + kRead);
    QCOMPARE(int(ds.size()), 1);
    QCOMPARE(ds[0].atUs, atUs);
}

void TstResponder::pacingCountsFromTheFirstByte()
{
    Device device;
    Faults faults;
    faults.pace = true;
    Responder r(device, faults, m_clock);
    // "$" at 0 and the frame 10 ms later: the line has already carried 10 ms.
    QVERIFY(r.receive("$", 1000000).empty());
    auto ds = r.receive(kRead, 1010000);
    QCOMPARE(int(ds.size()), 1);
    QCOMPARE(ds[0].atUs, qint64(20729));

    // Leftovers of an abandoned request long ago do not make an answer
    // early: it still takes its own 29 characters after the request.
    QVERIFY(r.receive("$#AF00", 2000000).empty());
    ds = r.receive("$" + kRead, 5000000);
    QCOMPARE(int(ds.size()), 1);
    QCOMPARE(ds[0].atUs, qint64(15104));

    // The next request starts afresh.
    QVERIFY(r.receive("$", 6000000).empty());
    ds = r.receive(kRead, 6000000);
    QCOMPARE(ds[0].atUs, qint64(30729));
}

void TstResponder::splitPiecesMakeTheReply()
{
    Device device;
    Faults faults;
    faults.faults = Fault::Split;
    faults.splitPieces = 3;
    faults.splitGapMs = 4;
    Responder r(device, faults, m_clock);
    const auto ds = r.receive(kRead);
    QCOMPARE(int(ds.size()), 3);
    QVERIFY(vx::isValidReply(joined(ds)));
    QCOMPARE(joined(ds).size(), vx::kFrameLength);
    for (const Delivery &d : ds)
        QVERIFY(!d.bytes.isEmpty() && d.bytes.size() < vx::kFrameLength);
    QCOMPARE(ds[0].atUs, qint64(0));
    QCOMPARE(ds[1].atUs, qint64(4000));
    QCOMPARE(ds[2].atUs, qint64(8000));

    // Paced, each piece leaves when its last character would have arrived.
    faults.pace = true;
    const auto paced = r.receive(kRead);
    QCOMPARE(int(paced.size()), 3);
    QVERIFY(paced[0].atUs > 30 * 520 && paced[0].atUs < paced[1].atUs);
    QCOMPARE(paced[2].atUs, qint64(30729 + 8000));
}

void TstResponder::extraBytesFollowTheReply()
{
    Device device;
    Faults faults;
    faults.faults = Fault::ExtraBytes;
    Responder r(device, faults, m_clock);
    const auto ds = r.receive(kRead);
    QCOMPARE(int(ds.size()), 1);
    QCOMPARE(ds[0].bytes.size(), 31);
    QVERIFY(ds[0].bytes.endsWith("%XY"));
    QVERIFY(vx::isValidReply(ds[0].bytes.left(29)));
}

// Noise must lead the reply, never trail it or replace part of it: the reply
// behind it is intact, so a tool that rejects the write does so for the noise
// alone. Split, the noise still arrives first, with the first piece.
void TstResponder::garbageComesBeforeTheReply()
{
    const QByteArray noise("\0\xFF", 2);
    Device device;
    Faults faults;
    faults.failNext(1, Fault::GarbagePrefix);
    faults.failNext(1, Fault::GarbagePrefix | Fault::Split);
    Responder r(device, faults, m_clock);

    const auto whole = r.receive(kRead);
    QCOMPARE(int(whole.size()), 1);
    QCOMPARE(whole[0].bytes.size(), noise.size() + vx::kFrameLength);
    QVERIFY(whole[0].bytes.startsWith(noise));
    QVERIFY(vx::isValidReply(whole[0].bytes.mid(noise.size())));
    QVERIFY(!vx::isValidReply(whole[0].bytes.left(vx::kFrameLength)));

    const auto split = r.receive(kRead);
    QVERIFY(split.size() > 1);
    QVERIFY(split[0].bytes.startsWith(noise));
    QCOMPARE(joined(split), whole[0].bytes);
}

void TstResponder::badChecksumIsRejectedByTheTool()
{
    Device device;
    Faults faults;
    faults.faults = Fault::BadChecksum;
    Responder r(device, faults, m_clock);
    const auto ds = r.receive(plainRequest(vx::Command::Impulses, 0, 3));
    QCOMPARE(int(ds.size()), 1);
    QVERIFY(!vx::isValidReply(ds[0].bytes));
    QVERIFY(ds[0].bytes.startsWith('!') && ds[0].bytes.endsWith('%'));
    // The device acted; only the answer was spoilt.
    QCOMPARE(device.impulses(), qint64(3));
}

void TstResponder::noReplyLeavesDeviceUntouched()
{
    Device device;
    Faults faults;
    faults.faults = Fault::NoReply;
    Responder r(device, faults, m_clock);
    QByteArray seen;
    unsigned seenFaults = 0;
    r.onRequest = [&](const QByteArray &f, unsigned how) {
        seen = f;
        seenFaults = how;
    };
    QVERIFY(r.receive(plainRequest(vx::Command::Impulses, 0, 3)).empty());
    QCOMPARE(device.impulses(), qint64(0));
    QCOMPARE(r.ignored(), 1);
    QCOMPARE(seen, plainRequest(vx::Command::Impulses, 0, 3));
    QCOMPARE(seenFaults, Fault::NoReply);
}

void TstResponder::nextOverridesThenNormal()
{
    Device device;
    Faults faults;
    faults.failNext(2, Fault::NoReply);
    faults.failNext(1, Fault::BadChecksum);
    Responder r(device, faults, m_clock);
    QVERIFY(r.receive(kRead).empty());
    QVERIFY(r.receive(kRead).empty());
    QVERIFY(!vx::isValidReply(joined(r.receive(kRead))));
    QVERIFY(vx::isValidReply(joined(r.receive(kRead))));
    QVERIFY(faults.next.empty());
    // Damaged requests do not use up an override.
    faults.failNext(1, Fault::NoReply);
    QVERIFY(r.receive(QByteArray(kRead).replace(27, 1, "F")).empty());
    QCOMPARE(int(faults.next.size()), 1);
}

void TstResponder::everyNth()
{
    Device device;
    Faults faults;
    faults.faults = Fault::NoReply;
    faults.every = 3;
    Responder r(device, faults, m_clock);
    QList<bool> answered;
    for (int i = 0; i < 6; ++i)
        answered << !r.receive(kReadBattery).empty();
    QCOMPARE(answered, (QList<bool>{true, true, false, true, true, false}));
}

VX_TEST_CLASS(TstResponder, Core)
#include "tst_responder.moc"
