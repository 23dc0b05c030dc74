// The real vx308-maint against the real vx308-emulator over a pseudo-terminal:
// "Lêr" pressed on the window fills the fields with what the unit holds, and
// leaving through "Sair da Aplicação" sends the unit exactly one
// end-of-connection frame, as its last request. Also a wrong command line
// stops the program with a clear message before anything is made. A tool
// that reads fine in process but not through a serial device is the fault.
// --demo runs the emulator program the same way and leaves none behind; with
// no emulator program to run it says where it looked and starts nothing.

#include "frame.h"
#include "testsuite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kTool = QStringLiteral(VX_BINARY_DIR "/app/vx308-maint");
const QString kEmulator = QStringLiteral(VX_BINARY_DIR "/emulator/vx308-emulator");

int commandOf(const QString &logLine)
{
    const qsizetype i = logLine.indexOf(QLatin1Char('#'));
    if (i < 0 || logLine.size() < i + 10) return -1;
    return vx::hex_nibble(logLine.at(i + 8).toLatin1()) +
           16 * vx::hex_nibble(logLine.at(i + 9).toLatin1());
}

} // namespace

class TstProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(kTool), "build vx308-maint first");
        QVERIFY2(QFile::exists(kEmulator), "build vx308-emulator first");
    }

    void readThroughWindow()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("pedidos.log"));
        QProcess emulator;
        emulator.start(kEmulator, {QStringLiteral("--log"), log});
        QVERIFY(emulator.waitForStarted());
        QVERIFY(emulator.waitForReadyRead(10000));
        const QString terminal = QString::fromLocal8Bit(emulator.readLine()).trimmed();
        QVERIFY2(terminal.startsWith(QStringLiteral("/dev/")), qPrintable(terminal));

        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        tool.setProcessEnvironment(env);
        tool.start(kTool, {QStringLiteral("--com"), QStringLiteral("1=") + terminal,
                           QStringLiteral("--data"), dir.path(), QStringLiteral("--autotest-read"),
                           QStringLiteral("--timescale"), QStringLiteral("0.1")});
        QVERIFY(tool.waitForFinished(60000));
        const QByteArray err = tool.readAllStandardError();
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QVERIFY2(tool.exitCode() == 0, err.constData());
        emulator.terminate();
        QVERIFY(emulator.waitForFinished(10000));

        const QByteArray output = tool.readAllStandardOutput().trimmed();
        QJsonParseError e;
        const QJsonObject fields = QJsonDocument::fromJson(output, &e).object();
        QVERIFY2(e.error == QJsonParseError::NoError, output.constData());
        QVERIFY2(!fields.contains(QStringLiteral("erro")), output.constData());

        // The emulator's default unit.
        QCOMPARE(fields.value("Text_S00").toString(), QStringLiteral("2,00"));
        QCOMPARE(fields.value("Text_F20").toString(), QStringLiteral("4,50"));
        QCOMPARE(fields.value("Text_total00").toString(), QStringLiteral("1523,00"));
        QCOMPARE(fields.value("Text_parcial").toString(), QStringLiteral("234,56"));
        QCOMPARE(fields.value("Text_pwdtarifas").toString(), QStringLiteral("1234"));
        QCOMPARE(fields.value("Text_ibut").toString(), QStringLiteral("00001A2B3C01"));
        QCOMPARE(fields.value("text_numfab_ano").toString(), QStringLiteral("A2415"));
        QVERIFY(fields.value("Check_contador").toBool());
        QCOMPARE(fields.value("Label_percentagem").toString(), QStringLiteral("75 %"));
        QVERIFY(fields.value("Form_main")
                    .toString()
                    .startsWith(QStringLiteral("Manutenção VX308 v3.5")));
        // After a read every button that needs the unit's data is enabled.
        for (const char *b : {"Command_ler", "Command_testar", "Command_imprimir", "Command_clear",
                              "Command_enviar", "Command_teste_disp"})
            QVERIFY2(fields.value(QLatin1String(b)).toBool(), b);

        QFile f(log);
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList rows =
            QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(rows.size() > 40);
        int ends = 0;
        for (const QString &l : rows)
            ends += commandOf(l) == 0 ? 1 : 0;
        QCOMPARE(ends, 1);
        QCOMPARE(commandOf(rows.last()), 0);
        // The settings were made on the first start.
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("ValoresPre1.db"))));
    }

    // Started from the desktop menu the current folder is the home folder:
    // --user-data keeps the databases in the user's data folder instead.
    void userDataKeepsTheDatabasesInTheUsersDataFolder()
    {
        QTemporaryDir home;
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        tool.setProcessEnvironment(env);
        tool.setWorkingDirectory(home.path());
        tool.start(kTool, {QStringLiteral("--demo"), QStringLiteral("--user-data"),
                           QStringLiteral("--autotest-read"), QStringLiteral("--timescale"),
                           QStringLiteral("0.1")});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
        const QDir data(home.filePath(QStringLiteral("vx308-maint")));
        for (const char *file : {"ValoresPre1.db", "Registo.db", "manutencao.html"})
            QVERIFY2(data.exists(QLatin1String(file)), file);
        QVERIFY(!QFile::exists(home.filePath(QStringLiteral("ValoresPre1.db"))));
    }

    void demoReadsThroughTheEmulatorProgram()
    {
        QTemporaryDir dir;
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        tool.setProcessEnvironment(env);
        tool.start(kTool, {QStringLiteral("--demo"), QStringLiteral("--data"), dir.path(),
                           QStringLiteral("--autotest-read"), QStringLiteral("--timescale"),
                           QStringLiteral("0.1")});
        QVERIFY(tool.waitForFinished(60000));
        const QString err = QString::fromLocal8Bit(tool.readAllStandardError());
        QVERIFY2(tool.exitCode() == 0, qPrintable(err));
        const QByteArray output = tool.readAllStandardOutput().trimmed();
        const QJsonObject fields = QJsonDocument::fromJson(output).object();
        QCOMPARE(fields.value("Text_S00").toString(), QStringLiteral("2,00"));
        QCOMPARE(fields.value("text_numfab_ano").toString(), QStringLiteral("A2415"));

        // The device was the program built beside the tool, on a terminal.
        const auto m = QRegularExpression(QStringLiteral("demo device on (/dev/\\S+): (\\S+), "
                                                         "process (\\d+)"))
                           .match(err);
        QVERIFY2(m.hasMatch(), qPrintable(err));
        QCOMPARE(QFileInfo(m.captured(2)).canonicalFilePath(),
                 QFileInfo(kEmulator).canonicalFilePath());
        // Leaving the window stopped it.
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/") + m.captured(3)));
    }

    void demoWithoutTheEmulatorProgram()
    {
        // The tool alone in a folder, nothing on PATH: no emulator anywhere.
        QTemporaryDir root;
        const QString app = root.filePath(QStringLiteral("app"));
        QVERIFY(QDir().mkpath(app));
        const QString toolCopy = app + QStringLiteral("/vx308-maint");
        QVERIFY(QFile::copy(kTool, toolCopy));
        const QString dataFolder = root.filePath(QStringLiteral("dados"));
        QVERIFY(QDir().mkpath(dataFolder));

        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("PATH"), root.filePath(QStringLiteral("vazio")));
        tool.setProcessEnvironment(env);
        tool.start(toolCopy, {QStringLiteral("--demo"), QStringLiteral("--data"), dataFolder,
                              QStringLiteral("--autotest-read")});
        QVERIFY(tool.waitForFinished(20000));
        const QString err = QString::fromLocal8Bit(tool.readAllStandardError());
        QCOMPARE(tool.exitCode(), 1);
        for (const QString &m :
             {app + QStringLiteral("/vx308-emulator"),
              root.filePath(QStringLiteral("emulator/vx308-emulator")),
              root.filePath(QStringLiteral("vazio")), QStringLiteral("--target vx308-emulator")})
            QVERIFY2(err.contains(m), qPrintable(err));
        QVERIFY(tool.readAllStandardOutput().isEmpty());
        QVERIFY(QDir(dataFolder).isEmpty());
    }

    // Usage and version are asked for on machines with no display at all (a
    // bench PC, a package build): they must not need one.
    void helpAndVersionWithoutDisplay()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *v : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QLatin1String(v));
        QProcess tool;
        tool.setProcessEnvironment(env);
        tool.start(kTool, {QStringLiteral("--help")});
        QVERIFY(tool.waitForFinished(20000));
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY(tool.readAllStandardOutput().startsWith("Usage: vx308-maint"));
        tool.start(kTool, {QStringLiteral("--version")});
        QVERIFY(tool.waitForFinished(20000));
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(tool.readAllStandardOutput(), QByteArray("vx308-maint " VX_VERSION "\n"));
    }

    void wrongCommandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("com sem caminho") << QStringList{"--com", "1"} << "--com needs N=PATH";
        QTest::newRow("desconhecida") << QStringList{"--fast"} << "unknown option --fast";
        QTest::newRow("ecrã") << QStringList{"--screen", "big"} << "--screen needs WxH";
        QTest::newRow("demo e com")
            << QStringList{"--demo", "--com", "1=/dev/null"} << "cannot be used together";
    }
    void wrongCommandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        tool.setProcessEnvironment(env);
        tool.start(kTool, args);
        QVERIFY(tool.waitForFinished(20000));
        QCOMPARE(tool.exitCode(), 64);
        QVERIFY(QString::fromLocal8Bit(tool.readAllStandardError()).contains(message));
        // Nothing was made.
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

VX_TEST_CLASS(TstProgram, Widgets)
#include "tst_program.moc"
