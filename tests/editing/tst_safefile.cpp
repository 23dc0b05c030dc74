// Guards "write this file safely", under every file the tools write: a write
// that fails (a full disk, a file size limit) is reported with the file's
// name and leaves the older file whole; something that is not a regular file
// (a device node, a FIFO, a folder) is never replaced by one; a read never
// waits on a FIFO nor reads a device without end.
#include "safefile.h"
#include "testsuite.h"

#include <QTest>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using vx::SafeFile;

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() &&
           f.flush();
}

bool isRegular(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// A socket file at `path`, as a program listening there leaves it.
bool makeSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

} // namespace

class TstSafeFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_mounted;

    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    // A folder whose disk is full, or empty when no tmpfs can be mounted
    // here (not root, or in a container that forbids it).
    QString fullDisk()
    {
        const QString folder = path("full");
        QDir().mkpath(folder);
        if (QProcess::execute(QStringLiteral("mount"),
                              {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}) != 0)
            return {};
        m_mounted = folder;
        // The older file first, then everything left taken by another.
        putFile(folder + "/keep.txt", "older contents\n");
        QFile filler(folder + "/filler");
        if (!filler.open(QIODevice::WriteOnly)) return {};
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        return folder;
    }

private slots:
    void cleanup()
    {
        if (!m_mounted.isEmpty()) QProcess::execute(QStringLiteral("umount"), {m_mounted});
        m_mounted.clear();
    }

    // The old file stays as it was, with no temporary file left beside it,
    // and the message names the file and the cause.
    void failedWriteKeepsOlderFile_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::newRow("file size limit") << false;
        QTest::newRow("full tmpfs") << true;
    }
    void failedWriteKeepsOlderFile()
    {
        QFETCH(bool, fullDisk);
        QString folder = m_dir.path();
        const QByteArray large(256 * 1024, 'n');
        QString error;
        bool written = true;
        if (fullDisk) {
            folder = this->fullDisk();
            if (folder.isEmpty()) QSKIP("no tmpfs can be mounted here (needs root)");
            written = SafeFile::write(folder + "/keep.txt", large, 1, &error);
        } else {
            QVERIFY(putFile(folder + "/keep.txt", "older contents\n"));
            // A write past the limit fails with EFBIG, as one on a full disk
            // fails with ENOSPC; ignored, the signal would end the test.
            rlimit old{};
            QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
            rlimit small = old;
            small.rlim_cur = 64 * 1024;
            const auto previous = std::signal(SIGXFSZ, SIG_IGN);
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
            written = SafeFile::write(folder + "/keep.txt", large, 1, &error);
            ::setrlimit(RLIMIT_FSIZE, &old);
            std::signal(SIGXFSZ, previous);
        }
        QVERIFY(!written);
        QVERIFY2(error.contains(folder + "/keep.txt") && error.contains("cannot write"),
                 qPrintable(error));
        QCOMPARE(contentsOf(folder + "/keep.txt"), QByteArray("older contents\n"));
        const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(left.size() == (fullDisk ? 2 : 1), qPrintable(left.join(' ')));
    }

    // Nothing but a regular file is replaced; each is left what it was.
    void refusesWhatIsNotARegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("device") << "device"
                                << "is a device, not a regular file";
        QTest::newRow("link to a device") << "link"
                                          << "is a device, not a regular file";
        QTest::newRow("FIFO") << "fifo"
                              << "is a FIFO, not a regular file";
        QTest::newRow("socket") << "socket"
                                << "is a socket, not a regular file";
        QTest::newRow("folder") << "folder"
                                << "is a folder, not a regular file";
    }
    void refusesWhatIsNotARegularFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, says);
        // /dev/full itself is only looked at, never removed or made.
        const QString target =
            kind == "device" ? QStringLiteral("/dev/full") : m_dir.filePath(kind);
        QVERIFY(kind == "device" || !QFileInfo::exists(target));
        if (kind == "link") QVERIFY(QFile::link(QStringLiteral("/dev/full"), target));
        if (kind == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        if (kind == "socket") QVERIFY(makeSocket(target));
        if (kind == "folder") QVERIFY(QDir().mkpath(target));
        struct stat before
        {
        };
        QCOMPARE(::lstat(QFile::encodeName(target).constData(), &before), 0);

        QString error;
        QVERIFY(!SafeFile::write(target, "contents\n", 1, &error));
        QVERIFY2(error.contains(target) && error.contains(says), qPrintable(error));
        struct stat after
        {
        };
        QCOMPARE(::lstat(QFile::encodeName(target).constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
        QVERIFY(SafeFile::read(target, 1024, 1, nullptr, &error) == false);
        QVERIFY2(error.contains(says), qPrintable(error));
    }

    // A link to a file: the file takes the new contents, the link stays.
    void linkedFileIsWrittenThroughTheLink()
    {
        const QString file = path("real.json");
        const QString link = path("link.json");
        QVERIFY(putFile(file, "old\n"));
        QVERIFY(QFile::link(file, link));
        QString error;
        QVERIFY2(SafeFile::write(link, "new\n", 1, &error), qPrintable(error));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contentsOf(file), QByteArray("new\n"));
    }

    // Two programs making the same shipped copy: the first one stays.
    void keepLeavesFileThere()
    {
        const QString file = path("layout.html");
        QVERIFY(putFile(file, "edited by the technician\n"));
        QString error;
        QVERIFY(SafeFile::write(file, "shipped\n", 1, &error, SafeFile::Existing::Keep));
        QCOMPARE(contentsOf(file), QByteArray("edited by the technician\n"));
        QFile::remove(file);
        QVERIFY(SafeFile::write(file, "shipped\n", 1, &error, SafeFile::Existing::Keep));
        QCOMPARE(contentsOf(file), QByteArray("shipped\n"));
        QVERIFY(isRegular(file));
    }

    // A file larger than the limit is refused, however it grew.
    void readRefusesTooLargeFile()
    {
        const QString file = path("large.json");
        QVERIFY(putFile(file, QByteArray(2048, ' ')));
        QByteArray contents;
        QString error;
        QVERIFY(!SafeFile::read(file, 1024, 1, &contents, &error));
        QVERIFY2(error.contains(file) && error.contains("larger than 1 kB"), qPrintable(error));
        QVERIFY(SafeFile::read(file, 2048, 1, &contents, &error));
        QCOMPARE(contents.size(), 2048);
    }
};

VX_TEST_CLASS(TstSafeFile, Core)
#include "tst_safefile.moc"
