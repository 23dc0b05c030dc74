// The defaults window's "Aceitar" and its layout rule. Guards against a save
// that touches idioma, Comm or Pagar, that stores half of the values when the
// file cannot take them all, that reports success on a missing or locked
// file, that validates or converts what the window shows ("-" must come back
// as "-" in the next "Novo"), and against scaling by the wrong axis.
#include "ambiente.h"
#include "clock.h"
#include "editset.h"
#include "messages.h"
#include "novaunidade.h"
#include "predefinicao.h"
#include "tabelas.h"

#include <QTest>

using namespace vx;

namespace {

struct Janela
{
    Ambiente a;
    RecordingMessages msgs;
    EditSet edit{msgs};
    Predefinicao pre{edit, a.bases, msgs};

    void mostrar(const QString &prefixo)
    {
        int i = 0;
        for (const auto &c : kPredefinidos)
            edit.setText(nome(c.janela), prefixo + QString::number(++i));
    }
    QVariantMap linha()
    {
        QStringList campos{"idioma", "Comm", "Pagar"};
        for (const auto &c : kPredefinidos)
            campos << nome(c.campo);
        QVariantMap v;
        QString erro;
        if (!a.bases.lerDefinicoes(campos, &v, &erro)) qWarning() << erro;
        return v;
    }
};

} // namespace

class TstPredefinicao : public QObject
{
    Q_OBJECT

private slots:
    void guardaOs25CamposDaJanela();
    void guardarDuasVezes();
    void tracinhoVoltaNoNovo();
    void falha_data();
    void falha();
    void escala_data();
    void escala();
};

void TstPredefinicao::guardaOs25CamposDaJanela()
{
    Janela j;
    QString erro;
    QVERIFY(j.a.bases.gravarIdioma(1, &erro));
    QVERIFY(j.a.bases.gravarComm(4, &erro));
    Ambiente::sql(j.a.bases.ficheiroValores(), {"UPDATE TbValoresPre1 SET Pagar = '99,99'"});
    j.mostrar("v");
    j.edit.setText("Text_parcial", "");     // stored as shown, unchecked
    j.edit.setText("Text_a_pagar", "1,00"); // never stored

    QVERIFY(j.pre.aceitar());

    QVERIFY(j.msgs.messages.empty());
    const QVariantMap v = j.linha();
    int i = 0;
    for (const auto &c : kPredefinidos) {
        ++i;
        const QString esperado = c.campo == "Parcial" ? QString("") : "v" + QString::number(i);
        QCOMPARE(v.value(nome(c.campo)).toString(), esperado);
        QVERIFY(!v.value(nome(c.campo)).isNull());
    }
    QCOMPARE(v.value("idioma").toString(), QStringLiteral("EN"));
    QCOMPARE(v.value("Comm").toInt(), 4);
    QCOMPARE(v.value("Pagar").toString(), QStringLiteral("99,99"));

    const auto valores = Predefinicao::valores(j.edit);
    QCOMPARE(valores.size(), 25);
    QCOMPARE(valores.first().first, QStringLiteral("TarS00"));
    QCOMPARE(valores.last().first, QStringLiteral("prog"));
}

void TstPredefinicao::guardarDuasVezes()
{
    Janela j;
    j.mostrar("a");
    QVERIFY(j.pre.aceitar());
    j.mostrar("b");
    QVERIFY(j.pre.aceitar());
    QCOMPARE(Ambiente::contar(j.a.bases.ficheiroValores(), "TbValoresPre1"), 1);
    QCOMPARE(j.linha().value("TarS00").toString(), QStringLiteral("b1"));
    QCOMPARE(j.linha().value("prog").toString(), QStringLiteral("b25"));
}

void TstPredefinicao::tracinhoVoltaNoNovo()
{
    Janela j;
    j.mostrar("1");
    j.edit.setText("Text_S08", "-");
    j.edit.setText("Text_contador", "-");
    QVERIFY(j.pre.aceitar());

    FixedClock relogio;
    NovaUnidade nova(j.edit, j.a.bases, j.msgs, relogio);
    j.edit.setText("Text_S08", "2,00");
    j.edit.setText("Text_contador", "5");
    QVERIFY(nova.preparar());
    QCOMPARE(j.edit.text("Text_S08"), QStringLiteral("-"));
    QCOMPARE(j.edit.text("Text_contador"), QStringLiteral("-"));
    QCOMPARE(j.edit.text("Text_S00"), QStringLiteral("11"));
}

void TstPredefinicao::falha_data()
{
    QTest::addColumn<bool>("apagar");
    QTest::newRow("missing") << true;
    QTest::newRow("locked") << false;
}

void TstPredefinicao::falha()
{
    QFETCH(bool, apagar);
    Janela j;
    const QString ficheiro = j.a.bases.ficheiroValores();
    std::unique_ptr<Ambiente::Bloqueio> bloqueio;
    if (apagar)
        QVERIFY(QFile::remove(ficheiro));
    else
        bloqueio = std::make_unique<Ambiente::Bloqueio>(ficheiro);
    j.mostrar("x");

    QVERIFY(!j.pre.aceitar());

    QCOMPARE(j.msgs.messages.size(), size_t(1));
    QCOMPARE(j.msgs.messages[0].title, QStringLiteral("Mensagem de Erro!"));
    QCOMPARE(j.msgs.messages[0].icon, MessageSink::Icon::Critical);
    QVERIFY2(j.msgs.messages[0].text.contains("ValoresPre1.db"),
             qPrintable(j.msgs.messages[0].text));
    bloqueio.reset();
    if (apagar) {
        QVERIFY(!QFile::exists(ficheiro));
    } else {
        const QVariantMap v = j.linha();
        for (const auto &c : kPredefinidos)
            QCOMPARE(v.value(nome(c.campo)).toString(), nome(c.inicial));
    }
}

void TstPredefinicao::escala_data()
{
    QTest::addColumn<QSize>("ecra");
    QTest::addColumn<QSize>("janela");
    QTest::addColumn<QRect>("controlo");
    const QSize j(400, 200);
    const QRect c(40, 60, 100, 30); // left, top, width, height
    QTest::newRow("800x600") << QSize(800, 600) << j << c;
    QTest::newRow("1600x900") << QSize(1600, 900) << QSize(800, 300) << QRect(80, 90, 200, 45);
    QTest::newRow("1024x768") << QSize(1024, 768) << QSize(512, 256) << QRect(51, 77, 128, 38);
    QTest::newRow("640x480") << QSize(640, 480) << QSize(320, 160) << QRect(32, 48, 80, 24);
    QTest::newRow("tall-narrow") << QSize(400, 1200) << QSize(200, 400) << QRect(20, 120, 50, 60);
}

void TstPredefinicao::escala()
{
    QFETCH(QSize, ecra);
    QFETCH(QSize, janela);
    QFETCH(QRect, controlo);
    QCOMPARE(Predefinicao::escalarJanela(QSize(400, 200), ecra), janela);
    QCOMPARE(Predefinicao::escalarControlo(QRect(40, 60, 100, 30), ecra), controlo);
}

QTEST_MAIN(TstPredefinicao)
#include "tst_predefinicao.moc"
