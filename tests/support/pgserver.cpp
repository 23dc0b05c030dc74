#include "pgserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QVersionNumber>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The socket is FOLDER/.s.PGSQL.5432: no other server shares the folder, so
// the usual number is safe, and a socket path must stay under 108 bytes,
// which a folder under TMPDIR might not.
constexpr int kPort = 5432;
constexpr int kToolTimeoutMs = 60000;

// A throw-away cluster is gone after the test: nothing needs to reach the
// disk.
QString serverOptions(const QString &folder, PgServer::Durability durability)
{
    QString options = QStringLiteral("-c listen_addresses='' -k %1 -p %2").arg(folder).arg(kPort);
    if (durability == PgServer::Durability::ThrowAway)
        options +=
            QStringLiteral(" -c fsync=off -c synchronous_commit=off -c full_page_writes=off");
    return options;
}

QString userName(uid_t uid)
{
    const passwd *pw = ::getpwuid(uid);
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(uid);
}

bool hasTools(const QString &bin)
{
    return QFileInfo(bin + QStringLiteral("/initdb")).isExecutable() &&
           QFileInfo(bin + QStringLiteral("/pg_ctl")).isExecutable();
}

QString said(QProcess &p)
{
    return QString::fromLocal8Bit(p.readAllStandardError() + p.readAllStandardOutput()).trimmed();
}

// Waits for a started process; false with a sentence naming it otherwise.
bool finished(QProcess &p, const QString &what, QString *error)
{
    if (!p.waitForStarted(kToolTimeoutMs)) {
        *error = QStringLiteral("%1 did not start: %2").arg(what, p.errorString());
        return false;
    }
    if (!p.waitForFinished(kToolTimeoutMs)) {
        p.kill();
        p.waitForFinished();
        *error =
            QStringLiteral("%1 did not finish within %2 s").arg(what).arg(kToolTimeoutMs / 1000);
        return false;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = QStringLiteral("%1 failed (exit status %2): %3")
                     .arg(what)
                     .arg(p.exitCode())
                     .arg(said(p));
        return false;
    }
    return true;
}

// The watcher's whole work: wait until the program's end closes its end of
// the pipe, then take the server and its folder away.
constexpr char kWatcherScript[] = "cat >/dev/null\n"
                                  "\"$1/pg_ctl\" stop -D \"$2/data\" -m immediate -w -s\n"
                                  "rm -rf \"$2\"\n";

} // namespace

QString PgServer::binaries()
{
    const QDir root(QStringLiteral("/usr/lib/postgresql"));
    QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(), [](const QString &a, const QString &b) {
        return QVersionNumber::fromString(a) > QVersionNumber::fromString(b);
    });
    for (const QString &v : versions) {
        const QString bin = root.filePath(v + QStringLiteral("/bin"));
        if (hasTools(bin)) return bin;
    }
    const QString initdb = QStandardPaths::findExecutable(QStringLiteral("initdb"));
    const QString bin = initdb.isEmpty() ? QString() : QFileInfo(initdb).absolutePath();
    return !bin.isEmpty() && hasTools(bin) ? bin : QString();
}

bool PgServer::installed(QString *why)
{
    if (binaries().isEmpty()) {
        *why = QStringLiteral("PostgreSQL is not installed (no initdb and pg_ctl in "
                              "/usr/lib/postgresql/*/bin or on PATH): apt-get install postgresql");
        return false;
    }
    if (::geteuid() == 0 && !::getpwnam("postgres")) {
        *why = QStringLiteral("running as root, and there is no \"postgres\" user to run the "
                              "server as (PostgreSQL refuses root)");
        return false;
    }
    return true;
}

PgServer *PgServer::shared(QString *why)
{
    static PgServer server;
    if (!server.isRunning() && !server.start(why)) return nullptr;
    return &server;
}

PgServer::PgServer(Durability durability)
    : m_durability(durability), m_bin(binaries()), m_user(userName(::geteuid())),
      m_asRoot(::geteuid() == 0)
{
    if (const passwd *pw = m_asRoot ? ::getpwnam("postgres") : nullptr) {
        m_serverUid = pw->pw_uid;
        m_serverGid = pw->pw_gid;
    }
}

// Only system calls here: it runs at the program's exit, after Qt is gone.
PgServer::~PgServer()
{
    if (m_watcher <= 0) return;
    ::close(m_watcherPipe);
    int status = 0;
    while (::waitpid(m_watcher, &status, 0) < 0 && errno == EINTR) {
    }
}

bool PgServer::start(QString *error)
{
    if (!m_made && !makeCluster(error)) return false;
    const QString data = m_folder + QStringLiteral("/data");
    const QString log = m_folder + QStringLiteral("/server.log");
    if (!runServerTool(QStringLiteral("pg_ctl"),
                       {QStringLiteral("start"), QStringLiteral("-D"), data, QStringLiteral("-w"),
                        QStringLiteral("-t"), QString::number(kToolTimeoutMs / 1000),
                        QStringLiteral("-s"), QStringLiteral("-l"), log, QStringLiteral("-o"),
                        serverOptions(m_folder, m_durability)},
                       error)) {
        *error += QStringLiteral("\nserver log: ") + logTail();
        return false;
    }
    m_running = true;
    return true;
}

bool PgServer::stop(QString *error)
{
    if (!m_running) return true;
    const QString data = m_folder + QStringLiteral("/data");
    if (!runServerTool(QStringLiteral("pg_ctl"),
                       {QStringLiteral("stop"), QStringLiteral("-D"), data, QStringLiteral("-m"),
                        QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("-s")},
                       error))
        return false;
    m_running = false;
    return true;
}

bool PgServer::createDatabase(QString *name, QString *error)
{
    const QString database = QStringLiteral("vx_%1").arg(++m_databases);
    if (!runClient(QStringLiteral("createdb"), {database}, nullptr, error)) return false;
    *name = database;
    return true;
}

QString PgServer::uri(const QString &database) const
{
    return QStringLiteral("postgresql://%1@/%2?host=%3").arg(m_user, database, m_folder);
}

bool PgServer::psql(const QString &database, const QString &sql, QString *out, QString *error)
{
    return runClient(QStringLiteral("psql"),
                     {QStringLiteral("-d"), database, QStringLiteral("-X"), QStringLiteral("-q"),
                      QStringLiteral("-A"), QStringLiteral("-t"), QStringLiteral("-F"),
                      QStringLiteral("|"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                      QStringLiteral("-c"), sql},
                     out, error);
}

bool PgServer::makeCluster(QString *error)
{
    if (!installed(error)) return false;
    QByteArray folder = QByteArrayLiteral("/tmp/vx308-pg-XXXXXX");
    if (!::mkdtemp(folder.data())) {
        *error = QStringLiteral("cannot make a folder in /tmp for the PostgreSQL server: %1")
                     .arg(QString::fromLocal8Bit(::strerror(errno)));
        return false;
    }
    m_folder = QString::fromLocal8Bit(folder);
    if (m_asRoot && ::chown(folder.constData(), m_serverUid, m_serverGid) != 0) {
        *error = QStringLiteral("cannot give %1 to the postgres user: %2")
                     .arg(m_folder, QString::fromLocal8Bit(::strerror(errno)));
        QDir(m_folder).removeRecursively();
        return false;
    }
    if (!startWatcher()) {
        *error = QStringLiteral("cannot start the process that removes the PostgreSQL server "
                                "at the end: %1")
                     .arg(QString::fromLocal8Bit(::strerror(errno)));
        QDir(m_folder).removeRecursively();
        return false;
    }
    // -N: no fsync of the files initdb writes; the server's own checkpoint
    // makes them durable when that matters.
    m_made = runServerTool(QStringLiteral("initdb"),
                           {QStringLiteral("-D"), m_folder + QStringLiteral("/data"),
                            QStringLiteral("-U"), m_user, QStringLiteral("-A"),
                            QStringLiteral("trust"), QStringLiteral("-N"), QStringLiteral("-E"),
                            QStringLiteral("UTF8"), QStringLiteral("--locale=C")},
                           error);
    return m_made;
}

// initdb and pg_ctl, as the postgres user when the tests run as root.
bool PgServer::runServerTool(const QString &tool, const QStringList &args, QString *error)
{
    QProcess p;
    p.setWorkingDirectory(m_folder);
    if (m_asRoot) {
        const uid_t uid = m_serverUid;
        const gid_t gid = m_serverGid;
        p.setChildProcessModifier([uid, gid] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
                ::_exit(126);
        });
    }
    p.start(m_bin + QLatin1Char('/') + tool, args);
    return finished(p, tool, error);
}

bool PgServer::runClient(const QString &tool, const QStringList &args, QString *out, QString *error)
{
    QProcess p;
    p.start(m_bin + QLatin1Char('/') + tool,
            QStringList{QStringLiteral("-h"), m_folder, QStringLiteral("-p"),
                        QString::number(kPort), QStringLiteral("-U"), m_user} +
                args);
    if (!finished(p, tool, error)) return false;
    if (out) *out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    return true;
}

QString PgServer::logTail() const
{
    QFile log(m_folder + QStringLiteral("/server.log"));
    if (!log.open(QIODevice::ReadOnly)) return QStringLiteral("(none)");
    return QString::fromLocal8Bit(log.readAll().right(1500));
}

// A child in a session of its own (a kill of the test's process group does
// not reach it), as the server's user, its input the read end of a pipe whose
// write end only this program holds (close-on-exec: no child inherits it).
bool PgServer::startWatcher()
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    const QByteArray bin = QFile::encodeName(m_bin);
    const QByteArray folder = QFile::encodeName(m_folder);
    const char *argv[] = {"/bin/sh",          "-c",   kWatcherScript, "sh", bin.constData(),
                          folder.constData(), nullptr};
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();
        // The server's user may not be allowed into the test's folder.
        if (::chdir("/") != 0) ::_exit(126);
        ::dup2(fds[0], 0);
        if (devNull >= 0) {
            ::dup2(devNull, 1);
            ::dup2(devNull, 2);
        }
        // Nothing else of the test's: a pipe kept open here would keep its
        // reader waiting for the end of the program's output.
        ::close_range(3, ~0U, 0);
        if (m_asRoot && (::setgroups(0, nullptr) != 0 || ::setgid(m_serverGid) != 0 ||
                         ::setuid(m_serverUid) != 0))
            ::_exit(126);
        ::execv(argv[0], const_cast<char *const *>(argv));
        ::_exit(127);
    }
    ::close(fds[0]);
    if (devNull >= 0) ::close(devNull);
    if (pid < 0) {
        ::close(fds[1]);
        return false;
    }
    m_watcher = pid;
    m_watcherPipe = fds[1];
    return true;
}
