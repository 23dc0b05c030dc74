#pragma once

#include <QString>
#include <QStringList>

namespace vx {

// Where a database is: a SQLite file on this PC, or a database on a
// PostgreSQL server. The password is never part of what is shown (display()).
struct DatabasePlace
{
    enum class Kind
    {
        SqliteFile,
        Postgres
    };

    Kind kind = Kind::SqliteFile;
    QString file; // SqliteFile: the database file
    // Postgres: host name, or a folder holding the server's local socket.
    QString host;
    int port = 0; // 0: the server's default
    QString user;
    QString password;
    QString database;
    // Further libpq settings (sslmode=require, ...).
    QStringList options;

    static DatabasePlace sqliteFile(const QString &path);

    // The file as the technician writes it, or the server's URI without its
    // password: for messages and listings.
    QString display() const;
};

} // namespace vx
