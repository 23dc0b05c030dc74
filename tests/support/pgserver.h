#pragma once

// A PostgreSQL server of the test program's own: a fresh cluster in a
// temporary folder under /tmp, trust authentication, reached only through a
// Unix socket in that folder (no TCP port is opened), so that it needs no
// set-up on the machine and never meets another server. Each test takes a
// database of its own from it. Stopping it mid-test is how a test makes the
// server go away under the tool; start() brings it back with its data.
//
// Runs as the current user; as root (CI), the server runs as the "postgres"
// system user the Debian package creates, since PostgreSQL refuses to run as
// root. The clients (the tests, vx308ctl) stay root and connect as the role
// named after the current user, which initdb makes the superuser.
//
// The folder and the server go when the object does, and also when the test
// program dies without running its destructors (a sanitizer's abort, a
// time-out's kill): a watcher process waits on a pipe that only the program
// holds and cleans up when the pipe closes.

#include <QString>
#include <QStringList>

#include <sys/types.h>

class PgServer
{
public:
    // Whether this machine can run a server of the test's own: PostgreSQL's
    // programs, and as root the "postgres" user. False with what is missing.
    static bool installed(QString *why);
    // The server this test program's tests share: made and started on first
    // use, started again when a test left it stopped. nullptr, with the
    // reason in *why, when it cannot start.
    static PgServer *shared(QString *why);

    enum class Durability
    {
        ThrowAway, // no fsync: quick, for tests
        Durable    // a server's usual settings: for measuring
    };

    explicit PgServer(Durability durability = Durability::ThrowAway);
    ~PgServer();
    PgServer(const PgServer &) = delete;
    PgServer &operator=(const PgServer &) = delete;

    // The first call makes the cluster (initdb); every call starts the
    // server and waits until it takes connections. False with a sentence in
    // *error (with the end of the server's log) when it cannot.
    bool start(QString *error);
    // A fast shutdown: every open connection is cut, as when the server goes
    // away. The data stays for the next start().
    bool stop(QString *error);
    bool isRunning() const { return m_running; }

    // A new, empty database; its name in *name.
    bool createDatabase(QString *name, QString *error);
    // postgresql://USER@/DATABASE?host=SOCKET_FOLDER
    QString uri(const QString &database) const;
    QString socketFolder() const { return m_folder; }
    QString user() const { return m_user; }

    // Runs SQL with psql in a database, for states the tool cannot make
    // itself and for looking at rows: the output unaligned, fields
    // separated by "|", one row a line. False with psql's message.
    bool psql(const QString &database, const QString &sql, QString *out, QString *error);

    // The newest installed PostgreSQL's programs (/usr/lib/postgresql/N/bin),
    // else the folder of an initdb on PATH; empty when there is none.
    static QString binaries();

private:
    bool makeCluster(QString *error);
    bool runServerTool(const QString &tool, const QStringList &args, QString *error);
    bool runClient(const QString &tool, const QStringList &args, QString *out, QString *error);
    QString logTail() const;
    bool startWatcher();

    Durability m_durability;
    QString m_bin;
    QString m_folder; // socket, data/ and server.log
    QString m_user;
    bool m_asRoot = false;
    uid_t m_serverUid = 0;
    gid_t m_serverGid = 0;
    bool m_made = false;
    bool m_running = false;
    int m_databases = 0;
    int m_watcherPipe = -1; // write end; closing it tells the watcher to clean up
    pid_t m_watcher = -1;
};

// In a test function: `server` is the shared server. Without PostgreSQL the
// test (the data row) is skipped with the reason; a server that is installed
// but does not start fails it.
#define VX_PG_SERVER_OR_SKIP(server)                                                               \
    QString server##Why;                                                                           \
    if (!PgServer::installed(&server##Why)) QSKIP(qPrintable(server##Why));                        \
    PgServer *const server = PgServer::shared(&server##Why);                                       \
    if (!server) QFAIL(qPrintable(server##Why))
