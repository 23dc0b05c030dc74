// The in-process port must behave like a serial line with a VX308 on it, and
// each of its failure modes must hit the link the way a real bad line would:
// lost requests as time-outs, bad checksums as rejected replies with a port
// reset, split or padded replies as good ones. If a mode did not bite, the
// engine's tests built on this port would pass against a line that never
// fails.

#include "clock.h"
#include "emulatedport.h"
#include "frame.h"
#include "link.h"
#include "messages.h"
#include "recordingmessages.h"
#include "testsuite.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace vx::emu;

class TstEmulatedPort : public QObject
{
    Q_OBJECT
    // The device's and the link's intervals at 2 %, unless a test needs
    // another pace.
    const vx::SystemClock m_clock{0.02};

private slots:
    void exchangeThroughLink();
    void writesAreRecordedOneByOne();
    void faults_data();
    void faults();
    void splitReplyNotifiesOnce();
    void slowReplyArrivesNoEarlier();
    void pacingTakesTheWireTime();
    void replyAfterCloseIsLost();
    void goneRefusesOpenThenComesBack();
    void linkRidesOutAPulledAdapter();
    void missingPortDoesNotOpen();
};

void TstEmulatedPort::exchangeThroughLink()
{
    EmulatedPort port(m_clock);
    port.device().setByte(31, 100);
    vx::RecordingMessages messages;
    vx::Link link(port, messages, m_clock);
    QVERIFY(link.enviar_trama(vx::Command::ReadMemory, 31, 1));
    QCOMPARE(link.trama_rx(), QByteArray("!AF0000010F11046000000000053%"));
    QCOMPARE(port.device().count(vx::Command::ReadMemory), 1);
    QCOMPARE(port.opens(), 1);
    QCOMPARE(int(link.stats.to_erros), 0);
    QCOMPARE(int(link.stats.bf_erros), 0);
}

void TstEmulatedPort::writesAreRecordedOneByOne()
{
    EmulatedPort port(m_clock);
    vx::RecordingMessages messages;
    vx::Link link(port, messages, m_clock);
    QVERIFY(link.enviar_trama(vx::Command::End, 0, 0));
    const QList<QByteArray> &w = port.writes();
    QCOMPARE(w.size(), 30);
    QCOMPARE(w.first(), QByteArray("$"));
    QByteArray rest;
    for (int i = 1; i < w.size(); ++i) {
        QCOMPARE(w.at(i).size(), 1);
        rest += w.at(i);
    }
    QCOMPARE(rest, QByteArray("#AF0000000000000000000000091%"));
}

void TstEmulatedPort::faults_data()
{
    QTest::addColumn<unsigned>("first");
    QTest::addColumn<int>("timeouts");
    QTest::addColumn<int>("rejected");
    QTest::addColumn<int>("closes");
    QTest::addColumn<int>("impulsesCounted");

    // Command::Impulses with 3 impulses; `first` spoils the first answer only.
    QTest::newRow("clean") << Fault::None << 0 << 0 << 0 << 3;
    QTest::newRow("no reply") << Fault::NoReply << 1 << 0 << 0 << 3;
    // The device counted before its answer was spoilt, then again on the resend.
    QTest::newRow("bad checksum") << Fault::BadChecksum << 0 << 1 << 1 << 6;
    QTest::newRow("split") << Fault::Split << 0 << 0 << 0 << 3;
    QTest::newRow("extra bytes") << Fault::ExtraBytes << 0 << 0 << 0 << 3;
    QTest::newRow("split with extra bytes")
        << (Fault::Split | Fault::ExtraBytes) << 0 << 0 << 0 << 3;
}

void TstEmulatedPort::faults()
{
    QFETCH(unsigned, first);
    QFETCH(int, timeouts);
    QFETCH(int, rejected);
    QFETCH(int, closes);
    QFETCH(int, impulsesCounted);

    EmulatedPort port(m_clock);
    port.faults().failNext(1, first);
    vx::RecordingMessages messages;
    vx::Link link(port, messages, m_clock);
    QVERIFY(link.enviar_trama(vx::Command::Impulses, 0, 3));
    QVERIFY(vx::isValidReply(link.trama_rx()));
    QCOMPARE(int(link.stats.to_erros), timeouts);
    QCOMPARE(int(link.stats.bf_erros), rejected);
    QCOMPARE(port.closes(), closes);
    QCOMPARE(port.device().impulses(), qint64(impulsesCounted));
    QCOMPARE(link.stats.n_tramas, double(1 + timeouts + rejected));
}

void TstEmulatedPort::splitReplyNotifiesOnce()
{
    EmulatedPort port(m_clock);
    port.faults().faults = Fault::Split;
    port.setReceiveThreshold(vx::kFrameLength);
    QSignalSpy pieces(&port, &EmulatedPort::delivered);
    QSignalSpy notes(&port, &vx::SerialPort::receiveNotification);
    QVERIFY(port.open());
    port.write("$");
    port.write("#AF0000070000000000000000002%");
    QTRY_COMPARE_WITH_TIMEOUT(pieces.count(), 3, 2000);
    QCOMPARE(notes.count(), 1);
    QCOMPARE(port.bytesWaiting(), qint64(vx::kFrameLength));
    QVERIFY(vx::isValidReply(port.readAll()));
    QCOMPARE(port.bytesWaiting(), qint64(0));
}

void TstEmulatedPort::slowReplyArrivesNoEarlier()
{
    const vx::SystemClock clock(0.1);
    EmulatedPort port(clock);
    port.faults().delayMs = 300; // 30 ms here
    QSignalSpy spy(&port, &EmulatedPort::delivered);
    QVERIFY(port.open());
    QElapsedTimer t;
    t.start();
    port.write("$#AF0000070000000000000000002%");
    QVERIFY(spy.wait(2000));
    QVERIFY2(t.elapsed() >= 29, qPrintable(QString::number(t.elapsed())));

    // Longer than the link's 500 ms time-out: counted as one, then the late
    // answer or the next one is taken.
    port.faults().delayMs = 700;
    vx::RecordingMessages messages;
    vx::Link link(port, messages, clock);
    QVERIFY(link.enviar_trama(vx::Command::ReadBattery, 0, 0));
    QVERIFY(link.stats.to_erros >= 1);
    QCOMPARE(int(vx::dataByte(link.trama_rx(), 0)), 120);
}

void TstEmulatedPort::pacingTakesTheWireTime()
{
    const vx::SystemClock clock;
    EmulatedPort port(clock);
    port.faults().pace = true;
    QSignalSpy spy(&port, &EmulatedPort::delivered);
    QVERIFY(port.open());
    QElapsedTimer t;
    t.start();
    port.write("$#AF0000070000000000000000002%");
    QVERIFY(spy.wait(2000));
    // 59 characters of 10 bits at 19200 bit/s.
    QVERIFY2(t.elapsed() >= 30, qPrintable(QString::number(t.elapsed())));
}

void TstEmulatedPort::replyAfterCloseIsLost()
{
    EmulatedPort port(m_clock);
    port.faults().delayMs = 100;
    QSignalSpy spy(&port, &EmulatedPort::delivered);
    QVERIFY(port.open());
    port.write("$#AF0000070000000000000000002%");
    port.close();
    QVERIFY(port.open());
    QTest::qWait(30); // well past the 2 ms the answer needed
    QCOMPARE(spy.count(), 0);
    QCOMPARE(port.bytesWaiting(), qint64(0));
    QCOMPARE(port.device().count(vx::Command::ReadBattery), 1);
}

void TstEmulatedPort::goneRefusesOpenThenComesBack()
{
    EmulatedPort port(m_clock);
    QVERIFY(port.open());
    port.setGone(-1);
    QVERIFY(!port.write("$#AF0000070000000000000000002%"));
    port.close();
    QVERIFY(!port.open());
    QVERIFY(!port.errorText().isEmpty());
    QCOMPARE(port.failedOpens(), 1);
    QCOMPARE(port.device().answered(), 0);

    port.setGone(0);
    QVERIFY(port.open());
    QVERIFY(port.errorText().isEmpty());
    QSignalSpy spy(&port, &EmulatedPort::delivered);
    QVERIFY(port.write("$#AF0000070000000000000000002%"));
    QVERIFY(spy.wait(1000));
}

void TstEmulatedPort::linkRidesOutAPulledAdapter()
{
    EmulatedPort port(m_clock);
    vx::RecordingMessages messages;
    vx::Link link(port, messages, m_clock);
    port.setGone(2000); // four time-outs' worth
    QVERIFY(port.isGone());
    QVERIFY(link.enviar_trama(vx::Command::ReadClock, 0, 6));
    QVERIFY(!port.isGone());
    QVERIFY(link.stats.to_erros >= 3);
    QVERIFY(port.failedOpens() >= 3);
    QCOMPARE(port.device().count(vx::Command::ReadClock), 1);
}

void TstEmulatedPort::missingPortDoesNotOpen()
{
    EmulatedPort port(m_clock);
    port.setMissing(3);
    QVERIFY(!port.setPortNumber(0));
    QVERIFY(!port.setPortNumber(256));
    QVERIFY(port.setPortNumber(3));
    QVERIFY(!port.open());
    QVERIFY(port.errorText().contains(QLatin1String("3")));
    QVERIFY(port.setPortNumber(4));
    QVERIFY(port.open());
    QCOMPARE(port.portNumber(), 4);
}

VX_TEST_CLASS(TstEmulatedPort, Core)
#include "tst_emulatedport.moc"
