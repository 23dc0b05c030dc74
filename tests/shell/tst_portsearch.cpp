// Guards choosing a port by its device path and "Procurar" over real
// pseudo-terminals with an emulated timer behind them: the port a timer
// answers on is found and chosen, silent, garbled and missing ports are
// passed over and named, a failed choice leaves the port in use as it was,
// and the choice survives a restart through the per-user settings file
// without disturbing the stored "Com N".

#include "clock.h"
#include "databases.h"
#include "editset.h"
#include "fixedportinfosource.h"
#include "messages.h"
#include "portchooser.h"
#include "portinfo.h"
#include "portmemory.h"
#include "ptyserver.h"
#include "qtserialport.h"
#include "recordingmessages.h"
#include "testsuite.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace vx;
using namespace vx::emu;

namespace {

// Nominal milliseconds each probe waits; the emulator answers in a few.
constexpr int kProbeMs = 300;
// The probes and the timers at the device's own pace.
const SystemClock kSearchClock;

// "Com N" left unmapped names a missing file in `folder`, so that a search
// never writes to the machine's own serial ports.
PortMap withMissingComs(PortMap map, const QString &folder)
{
    for (int n = 1; n <= 4; ++n)
        if (map.pathFor(n).startsWith(QLatin1String("/dev/ttyS")))
            map.set(n, QStringLiteral("%1/com%2").arg(folder).arg(n));
    return map;
}

struct Bench
{
    explicit Bench(const PortMap &map = {}) : port(withMissingComs(map, dir.path()))
    {
        ok = databases.provision(nullptr, nullptr);
        chooser.setMemory(&memory);
        chooser.setPortInfoSource(&infos);
    }
    QTemporaryDir dir;
    Databases databases{dir.path()};
    RecordingMessages messages;
    EditSet edit{messages};
    QtSerialPort port;
    FixedPortInfoSource infos;
    PortMemory memory{dir.filePath(QStringLiteral("user.ini"))};
    PortChooser chooser{edit, port, databases, messages, kSearchClock};
    bool ok = false;

    int comm()
    {
        int c = 0;
        databases.readComm(&c, nullptr);
        return c;
    }
    QString lastMessage() const
    {
        return messages.messages.empty() ? QString() : messages.messages.back().text;
    }
};

// A timer behind a pseudo-terminal, reached through a link in `dir`.
std::unique_ptr<PtyServer> timerAt(const QString &link, unsigned faults = Fault::None)
{
    auto server = std::make_unique<PtyServer>(kSearchClock);
    server->device().loadDefaultMemory();
    server->faults().faults = faults;
    if (!server->start(link)) return nullptr;
    return server;
}

} // namespace

class TstPortSearch : public QObject
{
    Q_OBJECT

private slots:
    void choosingListedPortTrialsAndRemembers()
    {
        Bench b;
        QVERIFY(b.ok);
        auto timer = timerAt(b.dir.filePath(QStringLiteral("usb0")));
        QVERIFY(timer);
        const QString path = timer->linkPath();
        QCOMPARE(b.chooser.chooseDevice(path), PortChooser::Result::Chosen);
        QVERIFY(b.messages.messages.empty());
        QCOMPARE(b.chooser.portInUse(), path);
        QCOMPARE(b.chooser.chosenDevice(), path);
        QVERIFY(!b.port.isOpen());
        // No "Com N" stays ticked while a listed port is in use.
        for (int k = 1; k <= 4; ++k)
            QVERIFY(!b.edit.checked(QStringLiteral("mnu_porta%1").arg(k)));
        QCOMPARE(b.memory.devicePath(), path);
        // Settings live in the user's file, not the data folder's database.
        QCOMPARE(b.comm(), 1);
    }

    void missingPortKeepsPortInUse()
    {
        Bench b;
        auto timer = timerAt(b.dir.filePath(QStringLiteral("usb0")));
        QVERIFY(timer);
        QCOMPARE(b.chooser.chooseDevice(timer->linkPath()), PortChooser::Result::Chosen);
        const QString missing = b.dir.filePath(QStringLiteral("ttyUSB9"));
        QCOMPARE(b.chooser.chooseDevice(missing), PortChooser::Result::PortFailed);
        QCOMPARE(b.lastMessage(),
                 QStringLiteral("A porta %1 não existe ou está a ser utilizada!").arg(missing));
        QCOMPARE(b.messages.messages.back().title, QStringLiteral("Mensagem de Erro!"));
        QCOMPARE(b.chooser.portInUse(), timer->linkPath());
        QCOMPARE(b.memory.devicePath(), timer->linkPath());
    }

    // "Com N" after a listed port: the number is stored as before, in the
    // database and the user's file, and the device path is forgotten.
    void comAfterListedPortForgetsDevice()
    {
        auto timer = timerAt(QString());
        QVERIFY(timer);
        PortMap map;
        map.set(2, timer->slavePath());
        Bench b(map);
        QCOMPARE(b.chooser.chooseDevice(timer->slavePath()), PortChooser::Result::Chosen);
        QCOMPARE(b.chooser.choose(2), PortChooser::Result::Chosen);
        QCOMPARE(b.comm(), 2);
        QVERIFY(b.edit.checked(QStringLiteral("mnu_porta2")));
        QVERIFY(b.memory.devicePath().isEmpty());
        QCOMPARE(QSettings(b.memory.file(), QSettings::IniFormat).value("port/comm").toInt(), 2);
        QVERIFY(b.chooser.chosenDevice().isEmpty());
    }

    // A settings file that cannot be written: the port is in use all the
    // same, and the message names the file.
    void unwritableMemoryNamesFile()
    {
        Bench b;
        auto timer = timerAt(b.dir.filePath(QStringLiteral("usb0")));
        QVERIFY(timer);
        QFile blocker(b.dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        PortMemory unwritable(blocker.fileName() + QStringLiteral("/vx308/user.ini"));
        b.chooser.setMemory(&unwritable);
        QCOMPARE(b.chooser.chooseDevice(timer->linkPath()), PortChooser::Result::SaveFailed);
        QVERIFY(b.lastMessage().contains(unwritable.file()));
        QCOMPARE(b.chooser.portInUse(), timer->linkPath());
    }

    void startUpUsesRememberedDevice_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("presente") << true;
        QTest::newRow("desligado") << false;
    }

    void startUpUsesRememberedDevice()
    {
        QFETCH(bool, present);
        Bench b;
        const QString link = b.dir.filePath(QStringLiteral("usb0"));
        auto timer = present ? timerAt(link) : nullptr;
        QVERIFY(!present || timer);
        QVERIFY(b.memory.rememberDevice(link));
        QCOMPARE(b.chooser.startUp(3), present);
        QCOMPARE(b.chooser.portInUse(), link);
        if (present)
            QVERIFY(b.messages.messages.empty());
        else
            QCOMPARE(b.lastMessage(),
                     QStringLiteral("A porta %1 não existe ou está a ser utilizada! Selecione "
                                    "outra porta.")
                         .arg(link));
        QVERIFY(!b.edit.checked(QStringLiteral("mnu_porta3")));
    }

    // Only a port where a VX308 answers is chosen; silence, a garbled reply
    // and a port that cannot be opened are tried and named.
    void searchFindsTheAnsweringPort_data()
    {
        QTest::addColumn<unsigned>("otherFaults");
        QTest::newRow("silencio") << Fault::NoReply;
        QTest::newRow("soma errada") << Fault::BadChecksum;
    }

    void searchFindsTheAnsweringPort()
    {
        QFETCH(unsigned, otherFaults);
        Bench b;
        auto other = timerAt(b.dir.filePath(QStringLiteral("usb0")), otherFaults);
        auto timer = timerAt(b.dir.filePath(QStringLiteral("usb1")));
        QVERIFY(other && timer);
        const QString missing = b.dir.filePath(QStringLiteral("usb2"));
        b.infos.setPorts({{other->linkPath(), QStringLiteral("FT232R"), QStringLiteral("FTDI"),
                           QStringLiteral("A1")},
                          {missing, {}, {}, {}},
                          {timer->linkPath(), QStringLiteral("CP2102"), {}, {}}});
        int requests = 0;
        connect(timer.get(), &PtyServer::requestReceived, this, [&](const QByteArray &frame) {
            ++requests;
            // Nothing that changes the timer: a clock read.
            QCOMPARE(frame.mid(8, 2), QByteArray("90"));
        });
        const auto outcome = b.chooser.search(kProbeMs);
        QCOMPARE(outcome.found, timer->linkPath());
        QCOMPARE(outcome.result, PortChooser::Result::Chosen);
        QVERIFY(outcome.tried.contains(other->linkPath()));
        QVERIFY(outcome.tried.contains(missing));
        QCOMPARE(outcome.tried.last(), timer->linkPath());
        QCOMPARE(requests, 1);
        QCOMPARE(b.chooser.portInUse(), timer->linkPath());
        QCOMPARE(b.memory.devicePath(), timer->linkPath());
        QVERIFY(!b.port.isOpen());
    }

    void searchWithoutTimerKeepsChoice()
    {
        auto silent = timerAt(QString(), Fault::NoReply);
        QVERIFY(silent);
        PortMap map;
        map.set(1, silent->slavePath());
        Bench b(map);
        QCOMPARE(b.chooser.choose(1), PortChooser::Result::Chosen);
        const auto outcome = b.chooser.search(kProbeMs);
        QVERIFY(outcome.found.isEmpty());
        QCOMPARE(outcome.result, PortChooser::Result::PortFailed);
        QCOMPARE(outcome.tried.first(), silent->slavePath());
        QCOMPARE(b.port.portNumber(), 1);
        QCOMPARE(b.chooser.portInUse(), silent->slavePath());
        QCOMPARE(b.comm(), 1);
    }
};

VX_TEST_CLASS(TstPortSearch, Widgets)
#include "tst_portsearch.moc"
