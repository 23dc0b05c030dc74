// Guards the window against a records server that does not answer: every
// read keeps a visit, so each would stand still for the whole connect
// time-out. After one attempt ran into the time-out, the next calls must
// fail at once, saying the same, until the quiet time has passed; a server
// that refuses at once (stopped, or a test's restarted one) is asked again
// every time.
#include "qtrecordsdatabase.h"
#include "recordslocation.h"
#include "testsuite.h"

#include <QElapsedTimer>
#include <QTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace vx;

namespace {

// A TCP port on this machine that takes connections (the kernel completes
// them) and never answers; or, closed, refuses them.
class LocalPort
{
public:
    LocalPort()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 ||
            ::listen(m_fd, 8) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &len) != 0)
            return;
        m_port = ntohs(a.sin_port);
    }
    ~LocalPort() { close(); }
    LocalPort(const LocalPort &) = delete;
    LocalPort &operator=(const LocalPort &) = delete;

    quint16 port() const { return m_port; }
    void close()
    {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
    quint16 m_port = 0;
};

} // namespace

class TstRecordsReach : public QObject
{
    Q_OBJECT
private slots:
    void silentServerIsLeftAloneAWhile()
    {
        // Takes the connection and never says a word.
        LocalPort silent;
        QVERIFY(silent.port() != 0);
        RecordsLocation where;
        QVERIFY(RecordsLocation::parse(
            QStringLiteral("postgresql://vx@127.0.0.1:%1/vx308?connect_timeout=2")
                .arg(silent.port()),
            &where, nullptr));
        QtRecordsDatabase db(where, QtRecordsDatabase::Mode::CreateIfMissing);
        QElapsedTimer t;
        t.start();
        QString first;
        QVERIFY(!db.run(QStringLiteral("SELECT 1"), {}, nullptr, &first));
        QVERIFY2(t.elapsed() >= 1500, qPrintable(first));
        QVERIFY2(first.contains(where.display()), qPrintable(first));

        t.restart();
        QString second;
        QVERIFY(!db.run(QStringLiteral("SELECT 1"), {}, nullptr, &second));
        QVERIFY(!db.connect(&second));
        QVERIFY2(t.elapsed() < 500, qPrintable(QString::number(t.elapsed())));
        QVERIFY2(second.startsWith(first.left(40)), qPrintable(second));
    }

    void refusingServerIsAskedEachTime()
    {
        LocalPort closed;
        const quint16 port = closed.port();
        QVERIFY(port != 0);
        closed.close(); // nothing listens there now: refused at once
        RecordsLocation where;
        QVERIFY(RecordsLocation::parse(
            QStringLiteral("postgresql://vx@127.0.0.1:%1/vx308").arg(port), &where, nullptr));
        QtRecordsDatabase db(where, QtRecordsDatabase::Mode::CreateIfMissing);
        QString error;
        for (int i = 0; i < 2; ++i) {
            QVERIFY(!db.connect(&error));
            QVERIFY2(!error.contains(QStringLiteral("Tentado outra vez")), qPrintable(error));
        }
    }
};

VX_TEST_CLASS(TstRecordsReach, Core)
#include "tst_recordsreach.moc"
