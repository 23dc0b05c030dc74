// Guards the command line of vx308-maint: every option is taken with its
// value, and a wrong line is refused with a message instead of starting the
// tool on a port or folder nobody asked for.

#include "options.h"
#include "testsuite.h"

#include <QTest>

using namespace vx;

class TstOptions : public QObject
{
    Q_OBJECT

private slots:
    void good()
    {
        QString error;
        const auto o = Options::parse(
            {"vx308-maint", "--factory", "--com", "1=/dev/ttyUSB0", "--com", "3=/tmp/pty", "--data",
             "/tmp/dados", "--autotest-read", "--screenshot", "docs/s", "--screen", "1280x1024",
             "--timescale", "0.5", "--records", "postgresql://tecnico@servidor/vx308"},
            &error);
        QVERIFY2(o.has_value(), qPrintable(error));
        QVERIFY(o->factory);
        QVERIFY(!o->demo);
        QVERIFY(o->autotestRead);
        QCOMPARE(o->portPaths, (QStringList{"1=/dev/ttyUSB0", "3=/tmp/pty"}));
        QCOMPARE(o->dataFolder, QStringLiteral("/tmp/dados"));
        QCOMPARE(o->screenshot, QStringLiteral("docs/s"));
        QCOMPARE(o->screenSize, QSize(1280, 1024));
        QCOMPARE(o->timeScale, 0.5);
        QCOMPARE(o->records, QStringLiteral("postgresql://tecnico@servidor/vx308"));
    }

    void none()
    {
        const auto o = Options::parse({"vx308-maint"}, nullptr);
        QVERIFY(o.has_value());
        QVERIFY(!o->factory && !o->demo && !o->autotestRead);
        QVERIFY(o->dataFolder.isEmpty());
        QVERIFY(!o->screenSize.isValid());
        QCOMPARE(o->timeScale, 1.0);
        QVERIFY(!o->sharedFolder);
        QVERIFY(!o->userData);
    }

    void sharedFolderAsksForNothingElse()
    {
        const auto o = Options::parse({"vx308-maint", "--shared-folder"}, nullptr);
        QVERIFY(o.has_value());
        QVERIFY(o->sharedFolder);
        QVERIFY(!o->demo && !o->autotestRead && !o->help);
    }

    void bad_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
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
        QTest::newRow("data and user-data")
            << QStringList{"--data", "/tmp/x", "--user-data"} << "cannot be used together";
        QTest::newRow("demo e com")
            << QStringList{"--demo", "--com", "2=/dev/ttyS1"} << "cannot be used together";
        QTest::newRow("desconhecida") << QStringList{"-x"} << "unknown option -x";
        QTest::newRow("registos sem valor") << QStringList{"--records"} << "--records needs";
        QTest::newRow("registos noutro esquema")
            << QStringList{"--records", "mysql://server/vx308"} << "not a postgresql:// URI";
    }
    void bad()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        args.prepend(QStringLiteral("vx308-maint"));
        QString error;
        QVERIFY(!Options::parse(args, &error).has_value());
        QVERIFY2(error.contains(message), qPrintable(error));
    }
};

VX_TEST_CLASS(TstOptions, Widgets)
#include "tst_options.moc"
