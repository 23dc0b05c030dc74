#pragma once

#include "recordstore.h"

#include <QDate>
#include <QDir>
#include <QString>
#include <QTime>

namespace vx {

// One row of the new-unit log TbRegisto.
struct LinhaRegisto
{
    int NMec = 0; // running count of all units ever logged
    QString NFab; // manufacturing number as shown: year-week code + running number
    int NAct = 0; // running number within the week, 0..255
    int SAct = 0; // week of the year the row was written in, 0..53
    QDate Data;   // PC date when written
    QTime hora;   // PC time when written
};

// What the new-unit flow needs of the last log row. With an empty log,
// existe is false and the counts are zero.
struct UltimoRegisto
{
    bool existe = false;
    int NMec = 0;
    int NAct = 0;
    int SAct = 0;
    QDate Data; // invalid when the row has none
};

// The two local database files, ValoresPre1.db and Registo.db, in one
// folder (the working directory unless told otherwise), and the access
// patterns the rest of the tool uses. Each call is one whole unit of work on
// one table; none keeps a file open. Every call returns false with a
// sentence in *erro that names the file when it could not do its work.
class Bases
{
public:
    explicit Bases(RecordStore &store, const QString &pasta = QDir::currentPath());

    RecordStore &store() { return m_store; }
    QString pasta() const { return m_pasta; }
    QString ficheiroValores() const;
    QString ficheiroRegisto() const;
    QString ficheiroModelo() const; // the report template

    // Start-up: every missing file is created (the settings and report rows
    // with their first values, an empty log, the report template) and named
    // in *criados. A file that exists is never rewritten, whatever it holds.
    bool provisionar(QStringList *criados, QString *erro);

    // Reading the settings row of TbValoresPre1, by field name.
    bool lerDefinicoes(const QStringList &campos, QVariantMap *valores, QString *erro);
    // The stored language text, exactly as stored ("PT", "EN" or anything).
    bool lerIdioma(QString *idioma, QString *erro);
    bool lerComm(int *comm, QString *erro);

    // Editing the single row of TbValoresPre1: all the values or none.
    bool gravarDefinicoes(const RecordStore::Values &valores, QString *erro);
    // 0 stores "PT", 1 stores "EN".
    bool gravarIdioma(int idioma, QString *erro);
    bool gravarComm(int comm, QString *erro);

    // The single row of TbReport: written whole or not at all, and read back.
    bool gravarRelatorio(const RecordStore::Values &linha, QString *erro);
    bool lerRelatorio(QVariantMap *linha, QString *erro);

    // The log.
    bool acrescentarRegisto(const LinhaRegisto &linha, QString *erro);
    bool lerUltimoRegisto(UltimoRegisto *ultimo, QString *erro);

private:
    RecordStore &m_store;
    QString m_pasta;
};

} // namespace vx
