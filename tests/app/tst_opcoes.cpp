// Guards the command line of vx308-maint: every option is taken with its
// value, and a wrong line is refused with a message instead of starting the
// tool on a port or folder nobody asked for.

#include "opcoes.h"

#include <QTest>

using namespace vx;

class TstOpcoes : public QObject
{
    Q_OBJECT

private slots:
    void boas()
    {
        QString erro;
        const auto o = Opcoes::analisar({"vx308-maint", "--factory", "--com", "1=/dev/ttyUSB0",
                                         "--com", "3=/tmp/pty", "--data", "/tmp/dados",
                                         "--autotest-read", "--screenshot", "docs/s", "--screen",
                                         "1280x1024", "--timescale", "0.5"},
                                        &erro);
        QVERIFY2(o.has_value(), qPrintable(erro));
        QVERIFY(o->fabrica);
        QVERIFY(!o->demo);
        QVERIFY(o->autotestLer);
        QCOMPARE(o->com, (QStringList{"1=/dev/ttyUSB0", "3=/tmp/pty"}));
        QCOMPARE(o->dados, QStringLiteral("/tmp/dados"));
        QCOMPARE(o->captura, QStringLiteral("docs/s"));
        QCOMPARE(o->ecra, QSize(1280, 1024));
        QCOMPARE(o->escalaTempo, 0.5);
    }

    void nenhuma()
    {
        const auto o = Opcoes::analisar({"vx308-maint"}, nullptr);
        QVERIFY(o.has_value());
        QVERIFY(!o->fabrica && !o->demo && !o->autotestLer);
        QVERIFY(o->dados.isEmpty());
        QVERIFY(!o->ecra.isValid());
        QCOMPARE(o->escalaTempo, 1.0);
    }

    void mas_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("com sem valor") << QStringList{"--com"} << "--com needs N=PATH";
        QTest::newRow("com sem igual") << QStringList{"--com", "/dev/ttyS0"} << "--com needs";
        QTest::newRow("com zero") << QStringList{"--com", "0=/dev/ttyS0"} << "--com needs";
        QTest::newRow("data vazia") << QStringList{"--data", ""} << "--data needs a folder";
        QTest::newRow("ecrã") << QStringList{"--screen", "1024*768"} << "--screen needs WxH";
        QTest::newRow("ecrã com fim de linha")
            << QStringList{"--screen", "1024x768\n"} << "--screen needs WxH";
        QTest::newRow("escala zero") << QStringList{"--timescale", "0"} << "--timescale";
        QTest::newRow("escala texto") << QStringList{"--timescale", "fast"} << "--timescale";
        QTest::newRow("captura sem leitura")
            << QStringList{"--screenshot", "x"} << "--screenshot works with --autotest-read only";
        QTest::newRow("demo e com")
            << QStringList{"--demo", "--com", "2=/dev/ttyS1"} << "cannot be used together";
        QTest::newRow("desconhecida") << QStringList{"-x"} << "unknown option -x";
    }
    void mas()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, mensagem);
        args.prepend(QStringLiteral("vx308-maint"));
        QString erro;
        QVERIFY(!Opcoes::analisar(args, &erro).has_value());
        QVERIFY2(erro.contains(mensagem), qPrintable(erro));
    }
};

QTEST_MAIN(TstOpcoes)
#include "tst_opcoes.moc"
