// The two database files and their access patterns. Guards against: a start
// that overwrites or "repairs" an existing file (settings, log or a file that
// is not ours), a one-row table that gains rows, an edit that changes what it
// must not (idioma, Comm, Pagar), a log whose "last row" is not the newest,
// a log row that cannot be read back into the week counters, and a missing
// file that is quietly created by a read.
#include "ambiente.h"
#include "tabelas.h"

#include <QFile>
#include <QTest>

using namespace vx;

namespace {

QByteArray conteudo(const QString &ficheiro)
{
    QFile f(ficheiro);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

RecordStore::Values predefinidos(const QString &prefixo)
{
    RecordStore::Values v;
    int i = 0;
    for (const auto &c : kPredefinidos)
        v << qMakePair(nome(c.campo), QVariant(prefixo + QString::number(++i)));
    return v;
}

} // namespace

class TstBases : public QObject
{
    Q_OBJECT

private slots:
    void provisionarCriaOsFicheiros();
    void provisionarNaoReescreveNada();
    void ficheiroAlheioFicaIntacto();
    void idioma_data();
    void idioma();
    void comm();
    void definicoesGravadasDuasVezes();
    void definicoesTudoOuNada();
    void registoDoisNoMesmoDia();
    void registoForaDoIntervalo_data();
    void registoForaDoIntervalo();
    void registoSemData();
    void relatorioUmaLinha();
    void relatorioTudoOuNada();
    void ficheirosEmFaltaNaoSaoCriados();
};

void TstBases::provisionarCriaOsFicheiros()
{
    Ambiente a(false);
    QStringList criados;
    QString erro;
    QVERIFY2(a.bases.provisionar(&criados, &erro), qPrintable(erro));
    QCOMPARE(criados, QStringList({a.bases.ficheiroValores(), a.bases.ficheiroRegisto(),
                                   a.bases.ficheiroModelo()}));
    QVERIFY(a.bases.ficheiroValores().endsWith("/ValoresPre1.db"));
    QVERIFY(a.bases.ficheiroRegisto().endsWith("/Registo.db"));

    QCOMPARE(Ambiente::contar(a.bases.ficheiroValores(), "TbValoresPre1"), 1);
    QCOMPARE(Ambiente::contar(a.bases.ficheiroValores(), "TbReport"), 1);
    QCOMPARE(Ambiente::contar(a.bases.ficheiroRegisto(), "TbRegisto"), 0);

    QString idioma;
    int comm = 0;
    QVERIFY(a.bases.lerIdioma(&idioma, &erro));
    QVERIFY(a.bases.lerComm(&comm, &erro));
    QCOMPARE(idioma, QStringLiteral("PT"));
    QCOMPARE(comm, 1);
    QStringList campos{"Pagar"};
    for (const auto &c : kPredefinidos)
        campos << nome(c.campo);
    QVariantMap v;
    QVERIFY(a.bases.lerDefinicoes(campos, &v, &erro));
    QCOMPARE(v.value("Pagar").toString(), QStringLiteral("0,00"));
    for (const auto &c : kPredefinidos)
        QCOMPARE(v.value(nome(c.campo)).toString(), nome(c.inicial));

    UltimoRegisto u;
    u.NMec = 99;
    QVERIFY(a.bases.lerUltimoRegisto(&u, &erro));
    QVERIFY(!u.existe);
    QCOMPARE(u.NMec, 0);
    QCOMPARE(u.NAct, 0);
    QCOMPARE(u.SAct, 0);

    // The shipped template, byte for byte, and the technician may edit it.
    const QString enviado = QFINDTESTDATA("../../share/manutencao.html");
    QVERIFY(!enviado.isEmpty());
    QCOMPARE(conteudo(a.bases.ficheiroModelo()), conteudo(enviado));
    QVERIFY(QFileInfo(a.bases.ficheiroModelo()).isWritable());
}

void TstBases::provisionarNaoReescreveNada()
{
    Ambiente a;
    QVERIFY2(a.provisionado, qPrintable(a.erro));
    QString erro;
    QVERIFY(a.bases.gravarIdioma(1, &erro));
    QVERIFY(
        a.bases.acrescentarRegisto({1, "A07051", 1, 5, QDate(2007, 2, 1), QTime(10, 0)}, &erro));
    {
        QFile f(a.bases.ficheiroModelo());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("<p>{{ns}} o nosso modelo</p>");
    }
    const QByteArray valores = conteudo(a.bases.ficheiroValores());
    const QByteArray registo = conteudo(a.bases.ficheiroRegisto());

    QStringList criados;
    QVERIFY(a.bases.provisionar(&criados, &erro));
    QVERIFY(criados.isEmpty());
    QCOMPARE(conteudo(a.bases.ficheiroValores()), valores);
    QCOMPARE(conteudo(a.bases.ficheiroRegisto()), registo);
    QCOMPARE(conteudo(a.bases.ficheiroModelo()), QByteArray("<p>{{ns}} o nosso modelo</p>"));
}

void TstBases::ficheiroAlheioFicaIntacto()
{
    Ambiente a(false);
    const QByteArray alheio("not a database, perhaps an old Jet file\n");
    {
        QFile f(a.bases.ficheiroValores());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(alheio);
    }
    QStringList criados;
    QString erro;
    QVERIFY(a.bases.provisionar(&criados, &erro));
    QCOMPARE(criados, QStringList({a.bases.ficheiroRegisto(), a.bases.ficheiroModelo()}));

    QString idioma;
    QVERIFY(!a.bases.lerIdioma(&idioma, &erro));
    QVERIFY2(erro.contains("ValoresPre1.db"), qPrintable(erro));
    QVERIFY(!a.bases.gravarIdioma(1, &erro));
    QVERIFY(!a.bases.gravarDefinicoes(predefinidos("x"), &erro));
    QCOMPARE(conteudo(a.bases.ficheiroValores()), alheio);
}

void TstBases::idioma_data()
{
    QTest::addColumn<QString>("guardado");
    QTest::newRow("PT") << "PT";
    QTest::newRow("EN") << "EN";
    // Read back as stored: telling "PT" from anything else is the caller's.
    QTest::newRow("lower-case") << "pt";
    QTest::newRow("empty") << "";
}

void TstBases::idioma()
{
    QFETCH(QString, guardado);
    Ambiente a;
    bool ok = false;
    Ambiente::sql(a.bases.ficheiroValores(),
                  {QStringLiteral("UPDATE TbValoresPre1 SET idioma = '%1'").arg(guardado)}, &ok);
    QVERIFY(ok);
    QString idioma;
    QString erro;
    QVERIFY(a.bases.lerIdioma(&idioma, &erro));
    QCOMPARE(idioma, guardado);

    QVERIFY(a.bases.gravarIdioma(1, &erro));
    QVERIFY(a.bases.lerIdioma(&idioma, &erro));
    QCOMPARE(idioma, QStringLiteral("EN"));
    QVERIFY(a.bases.gravarIdioma(0, &erro));
    QVERIFY(a.bases.lerIdioma(&idioma, &erro));
    QCOMPARE(idioma, QStringLiteral("PT"));
    QVERIFY(!a.bases.gravarIdioma(2, &erro));
    QVERIFY(a.bases.lerIdioma(&idioma, &erro));
    QCOMPARE(idioma, QStringLiteral("PT"));
}

void TstBases::comm()
{
    Ambiente a;
    QString erro;
    int comm = 0;
    QVERIFY(a.bases.gravarComm(3, &erro));
    QVERIFY(a.bases.lerComm(&comm, &erro));
    QCOMPARE(comm, 3);
    QVERIFY(a.bases.gravarComm(7, &erro)); // out of 1..4 is the start-up's to judge
    QVERIFY(a.bases.lerComm(&comm, &erro));
    QCOMPARE(comm, 7);
    // A hand-edited file with no number in Comm.
    Ambiente::sql(a.bases.ficheiroValores(), {"UPDATE TbValoresPre1 SET Comm = 'COM2'"});
    comm = 5;
    QVERIFY(!a.bases.lerComm(&comm, &erro));
    QVERIFY(erro.contains("ValoresPre1.db"));
    QCOMPARE(comm, 5);
}

void TstBases::definicoesGravadasDuasVezes()
{
    Ambiente a;
    QString erro;
    QVERIFY(a.bases.gravarIdioma(1, &erro));
    QVERIFY(a.bases.gravarComm(2, &erro));
    Ambiente::sql(a.bases.ficheiroValores(), {"UPDATE TbValoresPre1 SET Pagar = '12,34'"});

    QVERIFY(a.bases.gravarDefinicoes(predefinidos("a"), &erro));
    QVERIFY(a.bases.gravarDefinicoes(predefinidos("b"), &erro));

    QCOMPARE(Ambiente::contar(a.bases.ficheiroValores(), "TbValoresPre1"), 1);
    QStringList campos{"idioma", "Comm", "Pagar"};
    for (const auto &c : kPredefinidos)
        campos << nome(c.campo);
    QVariantMap v;
    QVERIFY(a.bases.lerDefinicoes(campos, &v, &erro));
    int i = 0;
    for (const auto &c : kPredefinidos)
        QCOMPARE(v.value(nome(c.campo)).toString(), QStringLiteral("b%1").arg(++i));
    QCOMPARE(v.value("idioma").toString(), QStringLiteral("EN"));
    QCOMPARE(v.value("Comm").toInt(), 2);
    QCOMPARE(v.value("Pagar").toString(), QStringLiteral("12,34"));
}

void TstBases::definicoesTudoOuNada()
{
    Ambiente a;
    QString erro;
    // A file from an older tool without one of the 25 fields.
    Ambiente::sql(a.bases.ficheiroValores(), {"ALTER TABLE TbValoresPre1 DROP COLUMN prog"});
    QVERIFY(!a.bases.gravarDefinicoes(predefinidos("a"), &erro));
    QVERIFY2(erro.contains("prog"), qPrintable(erro));
    QVariantMap v;
    QVERIFY(a.bases.lerDefinicoes({"TarS00", "FRACAO"}, &v, &erro));
    QCOMPARE(v.value("TarS00").toString(), QStringLiteral("0,00"));
    QCOMPARE(v.value("FRACAO").toString(), QStringLiteral("0"));
}

void TstBases::registoDoisNoMesmoDia()
{
    Ambiente a;
    QString erro;
    QVERIFY(
        a.bases.acrescentarRegisto({1, "A07051", 1, 5, QDate(2007, 2, 1), QTime(9, 5, 3)}, &erro));
    QVERIFY(
        a.bases.acrescentarRegisto({2, "A07052", 2, 5, QDate(2007, 2, 1), QTime(9, 5, 3)}, &erro));
    QCOMPARE(Ambiente::contar(a.bases.ficheiroRegisto(), "TbRegisto"), 2);
    UltimoRegisto u;
    QVERIFY(a.bases.lerUltimoRegisto(&u, &erro));
    QVERIFY(u.existe);
    QCOMPARE(u.NMec, 2);
    QCOMPARE(u.NAct, 2);
    QCOMPARE(u.SAct, 5);
    QCOMPARE(u.Data, QDate(2007, 2, 1));
    const auto linhas = Ambiente::sql(a.bases.ficheiroRegisto(),
                                      {"SELECT NFab, hora FROM TbRegisto ORDER BY ordem"});
    QCOMPARE(linhas.size(), 2);
    QCOMPARE(linhas[1][0].toString(), QStringLiteral("A07052"));
    QCOMPARE(linhas[1][1].toString(), QStringLiteral("09:05:03"));
}

void TstBases::registoForaDoIntervalo_data()
{
    QTest::addColumn<int>("nact");
    QTest::addColumn<int>("sact");
    QTest::newRow("nact-256") << 256 << 5;
    QTest::newRow("nact-negative") << -1 << 5;
    QTest::newRow("sact-54") << 3 << 54;
}

void TstBases::registoForaDoIntervalo()
{
    QFETCH(int, nact);
    QFETCH(int, sact);
    Ambiente a;
    QString erro;
    QVERIFY(!a.bases.acrescentarRegisto({1, "A0705256", nact, sact, QDate(2007, 2, 1), QTime(9, 0)},
                                        &erro));
    QVERIFY(!erro.isEmpty());
    QCOMPARE(Ambiente::contar(a.bases.ficheiroRegisto(), "TbRegisto"), 0);
    // The edges themselves are kept.
    QVERIFY(a.bases.acrescentarRegisto({1, "A07050", 0, 0, QDate(2011, 1, 1), QTime(9, 0)}, &erro));
    QVERIFY(a.bases.acrescentarRegisto({2, "A1253255", 255, 53, QDate(2012, 12, 31), QTime(9, 0)},
                                       &erro));
    UltimoRegisto u;
    QVERIFY(a.bases.lerUltimoRegisto(&u, &erro));
    QCOMPARE(u.NAct, 255);
    QCOMPARE(u.SAct, 53);
}

void TstBases::registoSemData()
{
    Ambiente a;
    // A row written by hand without a date.
    Ambiente::sql(a.bases.ficheiroRegisto(),
                  {"INSERT INTO TbRegisto (NMec, NFab, NAct, SAct) VALUES (7, 'A07053', 3, 5)"});
    UltimoRegisto u;
    QString erro;
    QVERIFY(a.bases.lerUltimoRegisto(&u, &erro));
    QVERIFY(u.existe);
    QCOMPARE(u.NMec, 7);
    QVERIFY(!u.Data.isValid());
}

void TstBases::relatorioUmaLinha()
{
    Ambiente a;
    QString erro;
    RecordStore::Values linha;
    for (const auto &c : kCamposRelatorio)
        linha << qMakePair(nome(c.campo), QVariant(nome(c.campo) + "-1"));
    QVERIFY(a.bases.gravarRelatorio(linha, &erro));
    for (auto &[campo, valor] : linha)
        valor = campo + "-2";
    QVERIFY(a.bases.gravarRelatorio(linha, &erro));
    QCOMPARE(Ambiente::contar(a.bases.ficheiroValores(), "TbReport"), 1);
    QVariantMap lida;
    QVERIFY(a.bases.lerRelatorio(&lida, &erro));
    QCOMPARE(lida.size(), 32);
    for (const auto &c : kCamposRelatorio)
        QCOMPARE(lida.value(nome(c.campo)).toString(), nome(c.campo) + "-2");
}

void TstBases::relatorioTudoOuNada()
{
    Ambiente a;
    QString erro;
    Ambiente::sql(a.bases.ficheiroValores(), {"ALTER TABLE TbReport DROP COLUMN Data_Sys"});
    RecordStore::Values linha;
    for (const auto &c : kCamposRelatorio)
        linha << qMakePair(nome(c.campo), QVariant(QStringLiteral("novo")));
    QVERIFY(!a.bases.gravarRelatorio(linha, &erro));
    const auto l =
        Ambiente::sql(a.bases.ficheiroValores(), {"SELECT TarS00, FRACAO FROM TbReport"});
    QCOMPARE(l.size(), 1);
    QCOMPARE(l[0][0].toString(), QStringLiteral("-"));
    QCOMPARE(l[0][1].toString(), QStringLiteral("-"));
}

void TstBases::ficheirosEmFaltaNaoSaoCriados()
{
    Ambiente a(false);
    QString erro;
    QString idioma;
    int comm = 0;
    QVariantMap v;
    UltimoRegisto u;
    QVERIFY(!a.bases.lerIdioma(&idioma, &erro));
    QVERIFY(erro.contains("ValoresPre1.db"));
    QVERIFY(!a.bases.lerComm(&comm, &erro));
    QVERIFY(!a.bases.gravarDefinicoes(predefinidos("a"), &erro));
    QVERIFY(!a.bases.lerRelatorio(&v, &erro));
    QVERIFY(!a.bases.lerUltimoRegisto(&u, &erro));
    QVERIFY(erro.contains("Registo.db"));
    QVERIFY(
        !a.bases.acrescentarRegisto({1, "A07051", 1, 5, QDate(2007, 2, 1), QTime(9, 0)}, &erro));
    QVERIFY(QDir(a.dir.path()).isEmpty());
}

QTEST_MAIN(TstBases)
#include "tst_bases.moc"
