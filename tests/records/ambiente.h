#pragma once

// A data folder of its own for one test: the real SQLite store on files in a
// temporary directory, provisioned like a first start, plus direct SQL for
// setting up states the tool cannot make itself and for looking at rows.

#include "bases.h"
#include "sqliterecordstore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

struct Ambiente
{
    explicit Ambiente(bool provisionar = true)
    {
        store.setBusyTimeoutMs(50);
        if (provisionar) provisionado = bases.provisionar(nullptr, &erro);
    }

    QTemporaryDir dir;
    vx::SqliteRecordStore store;
    vx::Bases bases{store, dir.path()};
    bool provisionado = false;
    QString erro;

    // Runs statements on a file; the rows of the last one come back.
    static QList<QVariantList> sql(const QString &ficheiro, const QStringList &instrucoes,
                                   bool *ok = nullptr)
    {
        static int serie = 0;
        const QString nome = QStringLiteral("tst-sql-%1").arg(++serie);
        QList<QVariantList> linhas;
        bool tudo = true;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
            db.setDatabaseName(ficheiro);
            tudo = db.open();
            for (const QString &i : instrucoes) {
                if (!tudo) break;
                QSqlQuery q(db);
                tudo = q.exec(i);
                if (!tudo) qWarning() << i << q.lastError().text();
                linhas.clear();
                while (q.next()) {
                    QVariantList l;
                    for (int c = 0; c < q.record().count(); ++c)
                        l << q.value(c);
                    linhas << l;
                }
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(nome);
        if (ok) *ok = tudo;
        return linhas;
    }

    static int contar(const QString &ficheiro, const QString &tabela)
    {
        const auto l = sql(ficheiro, {QStringLiteral("SELECT count(*) FROM %1").arg(tabela)});
        return l.isEmpty() ? -1 : l.first().value(0).toInt();
    }

    // Holds a write lock on a file, as another program in the middle of a
    // change would, until destroyed.
    class Bloqueio
    {
    public:
        explicit Bloqueio(const QString &ficheiro)
            : m_nome(QStringLiteral("tst-lock-%1").arg(reinterpret_cast<quintptr>(this)))
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
            db.setDatabaseName(ficheiro);
            activo = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
        }
        ~Bloqueio()
        {
            {
                QSqlDatabase db = QSqlDatabase::database(m_nome, false);
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
                db.close();
            }
            QSqlDatabase::removeDatabase(m_nome);
        }
        Bloqueio(const Bloqueio &) = delete;
        Bloqueio &operator=(const Bloqueio &) = delete;
        bool activo = false;

    private:
        QString m_nome;
    };
};
