// vx308-emulator as a technician runs it: a wrong command line or a bad unit
// file must stop it with a clear message and status 2 before anything is
// made; a stopped emulator must save what the tool wrote, remove its link and
// leave with status 0. Losing a training unit's changes on Ctrl+C, or leaving
// a dangling link behind, is the fault guarded against.

#include "frame.h"
#include "testsuite.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QString kProgram = QStringLiteral(VX_BINARY_DIR "/emulator/vx308-emulator");

void writeFile(const QString &path, const QByteArray &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

// One request and its reply over the terminal, blocking; the emulator is
// another process, so there is no event loop to serve here.
QByteArray exchange(int fd, const QByteArray &request)
{
    const QByteArray out = "$" + request;
    if (::write(fd, out.constData(), size_t(out.size())) != out.size()) return {};
    QByteArray got;
    char buf[64];
    while (got.size() < vx::kFrameLength) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) break;
        got.append(buf, n);
    }
    return got;
}

} // namespace

class TstEmulatorProgram : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY2(QFileInfo::exists(kProgram), qPrintable(kProgram)); }
    void help();
    void refusesBadInput_data();
    void refusesBadInput();
    void savesOnSignalAndCleansUp();
    void startsBlankOrErased_data();
    void startsBlankOrErased();
};

void TstEmulatorProgram::help()
{
    QProcess p;
    p.start(kProgram, {QStringLiteral("--help")});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    for (const char *option :
         {"--link",          "--memory",   "--save",        "--log",          "--no-reply",
          "--bad-checksum",  "--split",    "--extra-bytes", "--noise-before", "--delay",
          "--delay-every",   "--busy",     "--silent-for",  "--no-pace",      "--gone-after",
          "--gone-at-write", "--gone-for", "--blank",       "--erased",       "--version"})
        QVERIFY2(out.contains(QLatin1String(option)), option);
}

void TstEmulatorProgram::refusesBadInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("status");

    const QByteArray none;
    QTest::newRow("unknown option") << QStringList{"--bogus"} << none << "bogus" << 64;
    QTest::newRow("stray argument") << QStringList{"/tmp/x"} << none << "unexpected" << 64;
    QTest::newRow("delay not a number")
        << QStringList{"--delay", "soon"} << none << "--delay" << 64;
    QTest::newRow("battery too high")
        << QStringList{"--battery", "300"} << none << "--battery" << 64;
    QTest::newRow("inputs too short") << QStringList{"--inputs", "111"} << none << "--inputs" << 64;
    QTest::newRow("ibutton not hex")
        << QStringList{"--ibutton", "0123456789AZ"} << none << "--ibutton" << 64;
    QTest::newRow("every zero") << QStringList{"--every", "0"} << none << "--every" << 64;
    QTest::newRow("gone-at-write zero")
        << QStringList{"--gone-at-write", "0"} << none << "--gone-at-write" << 64;
    QTest::newRow("gone twice") << QStringList{"--gone-at-write", "3", "--gone-after", "100"}
                                << none << "exclude each other" << 64;
    QTest::newRow("blank and erased")
        << QStringList{"--blank", "--erased"} << none << "exclude each other" << 64;
    QTest::newRow("gone-for alone")
        << QStringList{"--gone-for", "100"} << none << "--gone-after" << 64;
    QTest::newRow("memory file missing")
        << QStringList{"--memory", "@/missing.json"} << none << "missing.json" << 2;
    QTest::newRow("memory not json") << QStringList{"--memory", "@/unit.json"}
                                     << QByteArray("{\"memory\": [1, 2,") << "not valid JSON" << 2;
    QTest::newRow("memory too short") << QStringList{"--memory", "@/unit.json"}
                                      << QByteArray("{\"memory\": [1, 2, 3]}") << "256" << 2;
    QTest::newRow("battery in file") << QStringList{"--memory", "@/unit.json"}
                                     << QByteArray("{\"battery\": 1.5}") << "battery" << 2;
    QTest::newRow("save where it cannot")
        << QStringList{"--save", "@/no/such/dir/unit.json"} << none << "cannot write" << 2;
    QTest::newRow("log where it cannot")
        << QStringList{"--log", "@/no/such/dir/log.txt"} << none << "log.txt" << 2;
}

void TstEmulatorProgram::refusesBadInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(int, status);

    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("vx308"));
    for (QString &a : arguments)
        a.replace(QStringLiteral("@"), dir.path());
    if (!file.isNull()) writeFile(dir.filePath(QStringLiteral("unit.json")), file);

    QProcess p;
    p.start(kProgram, QStringList{QStringLiteral("--link"), link} + arguments);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), status);
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    QVERIFY2(err.contains(message), qPrintable(err));
    QVERIFY(p.readAllStandardOutput().isEmpty());
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TstEmulatorProgram::savesOnSignalAndCleansUp()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("vx308"));
    const QString unit = dir.filePath(QStringLiteral("unit.json"));
    const QString saved = dir.filePath(QStringLiteral("saved.json"));
    const QString log = dir.filePath(QStringLiteral("requests.log"));
    QJsonArray memory;
    for (int i = 0; i < 256; ++i)
        memory.append(i == 5 ? 77 : 0);
    writeFile(unit, QJsonDocument(QJsonObject{{"memory", memory}, {"battery", 99}}).toJson());

    QProcess p;
    p.start(kProgram, {QStringLiteral("--link"), link, QStringLiteral("--memory"), unit,
                       QStringLiteral("--save"), saved, QStringLiteral("--log"), log,
                       QStringLiteral("--no-pace")});
    QVERIFY(p.waitForReadyRead(10000));
    const QString slave = QString::fromLocal8Bit(p.readLine()).trimmed();
    QVERIFY2(slave.startsWith(QLatin1String("/dev/")), qPrintable(slave));
    QCOMPARE(QFileInfo(link).symLinkTarget(), slave);

    const int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    vx::TxData data{};
    data.fill('0');
    data[0] = 'A';
    data[1] = '5';
    const QByteArray write = vx::buildRequest(vx::Command::WriteMemory, 200, 1, data);
    QVERIFY(vx::isValidReply(exchange(fd, write)));
    const QByteArray battery = exchange(fd, vx::buildRequest(vx::Command::ReadBattery, 0, 0, data));
    QCOMPARE(int(vx::dataByte(battery, 0)), 99);
    ::close(fd);

    p.terminate();
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());

    QFile f(saved);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    QCOMPARE(o.value(QStringLiteral("memory")).toArray().at(200).toInt(), 0x5A);
    QCOMPARE(o.value(QStringLiteral("memory")).toArray().at(5).toInt(), 77);
    QCOMPARE(o.value(QStringLiteral("battery")).toInt(), 99);
    QCOMPARE(o.value(QStringLiteral("ibutton")).toString(), QStringLiteral("FFFFFFFFFFFF"));

    QFile l(log);
    QVERIFY(l.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = l.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].contains(write));
    QVERIFY(lines[0].contains("WriteMemory address 200"));
    QVERIFY(lines[1].contains("ReadBattery"));
}

// A timer never set up (or erased) must be what the tool meets: every byte
// the same, answered as such over the line, and what the file given with it
// holds besides memory still applied.
void TstEmulatorProgram::startsBlankOrErased_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("fill");
    QTest::addColumn<int>("battery");

    const QByteArray none;
    QTest::newRow("blank") << QStringList{"--blank"} << none << 0x00 << 120;
    QTest::newRow("erased") << QStringList{"--erased"} << none << 0xFF << 120;
    QTest::newRow("blank with a file of no memory")
        << QStringList{"--blank", "--memory", "@/unit.json"} << QByteArray("{\"battery\": 7}")
        << 0x00 << 7;
}

void TstEmulatorProgram::startsBlankOrErased()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, file);
    QFETCH(int, fill);
    QFETCH(int, battery);

    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("vx308"));
    const QString saved = dir.filePath(QStringLiteral("saved.json"));
    for (QString &a : arguments)
        a.replace(QStringLiteral("@"), dir.path());
    if (!file.isNull()) writeFile(dir.filePath(QStringLiteral("unit.json")), file);

    QProcess p;
    p.start(kProgram, QStringList{QStringLiteral("--link"), link, QStringLiteral("--save"), saved,
                                  QStringLiteral("--no-pace")} +
                          arguments);
    QVERIFY2(p.waitForReadyRead(10000), p.readAllStandardError().constData());
    const int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    vx::TxData data{};
    data.fill('0');
    const QByteArray reply = exchange(fd, vx::buildRequest(vx::Command::ReadMemory, 200, 2, data));
    ::close(fd);
    QVERIFY2(vx::isValidReply(reply), reply.constData());
    QCOMPARE(int(vx::dataByte(reply, 0)), fill);
    QCOMPARE(int(vx::dataByte(reply, 1)), fill);

    p.terminate();
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
    QFile f(saved);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    const QJsonArray memory = o.value(QStringLiteral("memory")).toArray();
    QCOMPARE(memory.size(), 256);
    for (int i = 0; i < memory.size(); ++i)
        QVERIFY2(memory.at(i).toInt() == fill, qPrintable(QString::number(i)));
    QCOMPARE(o.value(QStringLiteral("battery")).toInt(), battery);
}

VX_TEST_CLASS(TstEmulatorProgram, Core)
#include "tst_program.moc"
