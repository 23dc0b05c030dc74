// One port contract, two implementations: the in-process EmulatedPort and the
// real serial adapter (QtSerialPort) on the emulator's pseudo-terminal must
// give the link the same experience, fault for fault. A double that is
// kinder or harsher than the real line would make engine tests prove
// nothing about the product.

#include "clock.h"
#include "emulatedport.h"
#include "frame.h"
#include "link.h"
#include "messages.h"
#include "ptyserver.h"
#include "qtserialport.h"
#include "recordingmessages.h"
#include "testsuite.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace vx::emu;

namespace {

// The port under test plus the device behind it.
struct Rig
{
    std::unique_ptr<vx::SerialPort> port;
    std::unique_ptr<PtyServer> server;
    Device *device = nullptr;
    Faults *faults = nullptr;
};

Rig makeRig(const QString &kind, const QString &linkPath, const vx::Clock &clock)
{
    Rig rig;
    if (kind == QLatin1String("emulated")) {
        auto port = std::make_unique<EmulatedPort>(clock);
        rig.device = &port->device();
        rig.faults = &port->faults();
        rig.port = std::move(port);
    } else {
        rig.server = std::make_unique<PtyServer>(clock);
        if (!rig.server->start(linkPath)) return rig;
        rig.device = &rig.server->device();
        rig.faults = &rig.server->faults();
        vx::PortMap map;
        map.set(1, linkPath);
        rig.port = std::make_unique<vx::QtSerialPort>(map);
        rig.port->setPortNumber(1);
    }
    return rig;
}

} // namespace

class TstPortContract : public QObject
{
    Q_OBJECT
    // The device's and the link's intervals at 10 %, for both ports alike.
    const vx::SystemClock m_clock{0.1};

private slots:
    void transaction_data();
    void transaction();
    void thresholdHoldsBackPartialReply_data();
    void thresholdHoldsBackPartialReply();
};

void TstPortContract::transaction_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<unsigned>("first");
    QTest::addColumn<int>("timeouts");
    QTest::addColumn<int>("rejected");

    const struct
    {
        const char *name;
        unsigned fault;
        int timeouts;
        int rejected;
    } rows[] = {
        {"clean", Fault::None, 0, 0},
        {"no reply", Fault::NoReply, 1, 0},
        {"bad checksum", Fault::BadChecksum, 0, 1},
        {"split", Fault::Split, 0, 0},
        {"extra bytes", Fault::ExtraBytes, 0, 0},
    };
    for (const char *kind : {"emulated", "pty"})
        for (const auto &r : rows)
            QTest::addRow("%s, %s", kind, r.name)
                << QString::fromLatin1(kind) << r.fault << r.timeouts << r.rejected;
}

void TstPortContract::transaction()
{
    QFETCH(QString, kind);
    QFETCH(unsigned, first);
    QFETCH(int, timeouts);
    QFETCH(int, rejected);

    QTemporaryDir dir;
    Rig rig = makeRig(kind, dir.filePath(QStringLiteral("vx308")), m_clock);
    QVERIFY(rig.port);
    rig.device->setNumber(4, 2, 150);
    rig.faults->failNext(1, first);

    vx::RecordingMessages messages;
    vx::Link link(*rig.port, messages, m_clock);
    QVERIFY(link.enviar_trama(vx::Command::ReadMemory, 4, 2));
    QCOMPARE(vx::dataNumber(link.trama_rx(), 2), 150u);
    QCOMPARE(int(link.stats.to_erros), timeouts);
    QCOMPARE(int(link.stats.bf_erros), rejected);

    // The line is clean for the next transaction: no leftovers of this one.
    link.dados_tx = {'6', '9', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0'};
    QVERIFY(link.enviar_trama(vx::Command::WriteMemory, 4, 2));
    QCOMPARE(rig.device->number(4, 2), 150u);
    QCOMPARE(int(link.stats.to_erros), timeouts);
    QCOMPARE(int(link.stats.bf_erros), rejected);
}

void TstPortContract::thresholdHoldsBackPartialReply_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("emulated") << QStringLiteral("emulated");
    QTest::newRow("pty") << QStringLiteral("pty");
}

void TstPortContract::thresholdHoldsBackPartialReply()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    Rig rig = makeRig(kind, dir.filePath(QStringLiteral("vx308")), m_clock);
    QVERIFY(rig.port);
    rig.faults->faults = Fault::Split;
    rig.faults->splitGapMs = 200; // 20 ms at this scale
    rig.port->setReceiveThreshold(vx::kFrameLength);
    int notes = 0;
    qint64 waitingAtNote = 0;
    connect(rig.port.get(), &vx::SerialPort::receiveNotification, this, [&] {
        if (notes++ == 0) waitingAtNote = rig.port->bytesWaiting();
    });
    QVERIFY(rig.port->open());
    rig.port->write("$");
    rig.port->write("#AF0000070000000000000000002%");
    QTRY_VERIFY_WITH_TIMEOUT(notes > 0, 3000);
    QCOMPARE(waitingAtNote, qint64(vx::kFrameLength));
    QVERIFY(vx::isValidReply(rig.port->readAll()));
}

VX_TEST_CLASS(TstPortContract, Core)
#include "tst_portcontract.moc"
