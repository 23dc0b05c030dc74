// The pseudo-terminal server is what the real tool talks to in training and
// in the link bench. It must answer through a plain terminal device, survive
// the tool closing and reopening the port (the moment the kernel hangs the
// line up), sit idle without eating the processor, and handle its link path
// without ever destroying a file that is not its own link.

#include "clock.h"
#include "frame.h"
#include "ptyserver.h"
#include "testsuite.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

using namespace vx::emu;

namespace {

const QByteArray kBattery("#AF0000070000000000000000002%");

// The tool's end of the line, with nothing but POSIX calls.
class Client
{
public:
    ~Client() { close(); }
    bool open(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0) return false;
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
        return true;
    }
    void close()
    {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }
    bool send(const QByteArray &bytes)
    {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    // Whatever arrives until `want` bytes are in or the time is up.
    QByteArray receive(int want, int timeoutMs)
    {
        QByteArray got;
        QEventLoop loop;
        QSocketNotifier n(m_fd, QSocketNotifier::Read);
        QObject::connect(&n, &QSocketNotifier::activated, &loop, [&] {
            char buf[256];
            ssize_t r;
            while ((r = ::read(m_fd, buf, sizeof buf)) > 0)
                got.append(buf, r);
            if (got.size() >= want) loop.quit();
        });
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
        return got;
    }
    QByteArray exchange(const QByteArray &request, int want = vx::kFrameLength,
                        int timeoutMs = 2000)
    {
        send("$");
        send(request);
        return receive(want, timeoutMs);
    }

private:
    int m_fd = -1;
};

double cpuMs()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

} // namespace

class TstPtyServer : public QObject
{
    Q_OBJECT
    // The device's own pace: the wire times below are measured as they are.
    const vx::SystemClock m_clock;

private slots:
    void exchangeOverTheTerminal();
    void servesAfterCloseAndReopen();
    void idleDoesNotSpin();
    void pacedReplyTakesTheWireTime();
    void faultsReachTheTerminal();
    void linkReplacesAnOldLink();
    void linkNeverReplacesAFile();
    void goneTakesTheLinkAway();
    void goneAtTheNthWrite();
};

void TstPtyServer::exchangeOverTheTerminal()
{
    PtyServer server(m_clock);
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    QVERIFY(server.slavePath().startsWith(QLatin1String("/dev/")));
    server.device().setBattery(99);
    QList<QByteArray> seen;
    connect(&server, &PtyServer::requestReceived, this,
            [&seen](const QByteArray &f, unsigned) { seen << f; });
    Client c;
    QVERIFY(c.open(server.slavePath()));
    const QByteArray reply = c.exchange(kBattery);
    QVERIFY2(vx::isValidReply(reply), reply.constData());
    QCOMPARE(reply.mid(1, 13), kBattery.mid(1, 13));
    QCOMPARE(int(vx::dataByte(reply, 0)), 99);
    QCOMPARE(seen, QList<QByteArray>{kBattery});
}

void TstPtyServer::servesAfterCloseAndReopen()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("vx308"));
    PtyServer server(m_clock);
    QVERIFY2(server.start(link), qPrintable(server.errorText()));
    for (int round = 0; round < 3; ++round) {
        Client c;
        QVERIFY(c.open(link));
        QVERIFY(vx::isValidReply(c.exchange(kBattery)));
        c.close();
        QTest::qWait(20); // the server sees the hang-up in between
    }
    QCOMPARE(server.device().count(vx::Command::ReadBattery), 3);
}

void TstPtyServer::idleDoesNotSpin()
{
    PtyServer server(m_clock);
    QVERIFY(server.start());
    {
        Client c;
        QVERIFY(c.open(server.slavePath()));
        QVERIFY(vx::isValidReply(c.exchange(kBattery)));
    }
    const double before = cpuMs();
    QTest::qWait(400);
    const double used = cpuMs() - before;
    QVERIFY2(used < 100, qPrintable(QStringLiteral("%1 ms of CPU in 400 ms idle").arg(used)));
    Client again;
    QVERIFY(again.open(server.slavePath()));
    QVERIFY(vx::isValidReply(again.exchange(kBattery)));
}

void TstPtyServer::pacedReplyTakesTheWireTime()
{
    PtyServer server(m_clock);
    server.faults().pace = true;
    QVERIFY(server.start());
    Client c;
    QVERIFY(c.open(server.slavePath()));
    QElapsedTimer t;
    t.start();
    QVERIFY(vx::isValidReply(c.exchange(kBattery)));
    QVERIFY2(t.elapsed() >= 30, qPrintable(QString::number(t.elapsed())));
}

void TstPtyServer::faultsReachTheTerminal()
{
    PtyServer server(m_clock);
    QVERIFY(server.start());
    Client c;
    QVERIFY(c.open(server.slavePath()));

    server.faults().failNext(1, Fault::ExtraBytes);
    QByteArray r = c.exchange(kBattery, 31);
    QCOMPARE(r.size(), 31);
    QVERIFY(r.endsWith("%XY"));

    server.faults().failNext(1, Fault::Split);
    QVERIFY(vx::isValidReply(c.exchange(kBattery)));

    server.faults().failNext(1, Fault::BadChecksum);
    r = c.exchange(kBattery);
    QCOMPARE(r.size(), vx::kFrameLength);
    QVERIFY(!vx::isValidReply(r));

    server.faults().failNext(1, Fault::NoReply);
    QVERIFY(c.exchange(kBattery, vx::kFrameLength, 100).isEmpty());
    QCOMPARE(server.responder().ignored(), 1);
}

void TstPtyServer::linkReplacesAnOldLink()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("vx308"));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone-long-ago")), link));
    {
        PtyServer server(m_clock);
        QVERIFY2(server.start(link), qPrintable(server.errorText()));
        QCOMPARE(QFileInfo(link).symLinkTarget(), server.slavePath());
        Client c;
        QVERIFY(c.open(link));
        QVERIFY(vx::isValidReply(c.exchange(kBattery)));
    }
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(!QFileInfo::exists(link));
}

void TstPtyServer::linkNeverReplacesAFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notes.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    PtyServer server(m_clock);
    QVERIFY(!server.start(path));
    QVERIFY(server.errorText().contains(path));
    QVERIFY(!server.isRunning());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("keep me"));
}

void TstPtyServer::goneTakesTheLinkAway()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("vx308"));
    PtyServer server(m_clock);
    QVERIFY(server.start(link));
    Client c;
    QVERIFY(c.open(link));
    server.setGone(-1);
    QVERIFY(!QFileInfo(link).isSymLink());
    Client refused;
    QVERIFY(!refused.open(link));
    QVERIFY(c.exchange(kBattery, vx::kFrameLength, 100).isEmpty());
    QCOMPARE(server.device().answered(), 0);

    server.setGone(0);
    QCOMPARE(QFileInfo(link).symLinkTarget(), server.slavePath());
    QVERIFY(vx::isValidReply(c.exchange(kBattery)));

    // Timed: back by itself.
    server.setGone(50);
    QVERIFY(server.isGone());
    QTRY_VERIFY_WITH_TIMEOUT(!server.isGone(), 2000);
    QVERIFY(QFileInfo(link).isSymLink());
}

// The cut falls on a given write, not at a time: reads and the writes before
// it are answered; that write is taken but not answered, and the adapter
// comes back by itself.
void TstPtyServer::goneAtTheNthWrite()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("vx308"));
    PtyServer server(m_clock);
    server.faults().pace = false;
    QVERIFY(server.start(link));
    server.setGoneAtWrite(2, 400);
    Client c;
    QVERIFY(c.open(link));
    const auto write = [](uint8_t address) {
        vx::TxData data;
        data.fill('0');
        vx::putByte(data, 0, 7);
        return vx::buildRequest(vx::Command::WriteMemory, address, 1, data);
    };
    QVERIFY(vx::isValidReply(c.exchange(write(60))));
    QVERIFY(vx::isValidReply(c.exchange(kBattery)));
    QVERIFY(c.exchange(write(61), vx::kFrameLength, 100).isEmpty());
    QVERIFY(server.isGone());
    QVERIFY(!QFileInfo(link).isSymLink());
    QTRY_VERIFY_WITH_TIMEOUT(!server.isGone(), 2000);
    QVERIFY(vx::isValidReply(c.exchange(write(62))));
    QCOMPARE(int(server.device().byte(60)), 7);
    QCOMPARE(int(server.device().byte(61)), 7);
    QCOMPARE(int(server.device().byte(62)), 7);
}

VX_TEST_CLASS(TstPtyServer, Core)
#include "tst_ptyserver.moc"
