// The real vx308-maint against the real vx308-emulator over a pseudo-terminal:
// "Lêr" pressed on the window fills the fields with what the unit holds, and
// leaving through "Sair da Aplicação" sends the unit exactly one
// end-of-connection frame, as its last request. Also a wrong command line
// stops the program with a clear message before anything is made. A tool
// that reads fine in process but not through a serial device is the fault.
// --demo runs the emulator program the same way and leaves none behind; with
// no emulator program to run it says where it looked and starts nothing.

#include "frame.h"

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
const QString kEmulador = QStringLiteral(VX_BINARY_DIR "/emulator/vx308-emulator");

int comandoDe(const QString &linhaLog)
{
    const qsizetype i = linhaLog.indexOf(QLatin1Char('#'));
    if (i < 0 || linhaLog.size() < i + 10) return -1;
    return vx::hex_nibble(linhaLog.at(i + 8).toLatin1()) +
           16 * vx::hex_nibble(linhaLog.at(i + 9).toLatin1());
}

} // namespace

class TstPrograma : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(kTool), "build vx308-maint first");
        QVERIFY2(QFile::exists(kEmulador), "build vx308-emulator first");
    }

    void ler_pela_janela()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("pedidos.log"));
        QProcess emulador;
        emulador.start(kEmulador, {QStringLiteral("--log"), log});
        QVERIFY(emulador.waitForStarted());
        QVERIFY(emulador.waitForReadyRead(10000));
        const QString terminal = QString::fromLocal8Bit(emulador.readLine()).trimmed();
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
        emulador.terminate();
        QVERIFY(emulador.waitForFinished(10000));

        const QByteArray saida = tool.readAllStandardOutput().trimmed();
        QJsonParseError e;
        const QJsonObject campos = QJsonDocument::fromJson(saida, &e).object();
        QVERIFY2(e.error == QJsonParseError::NoError, saida.constData());
        QVERIFY2(!campos.contains(QStringLiteral("erro")), saida.constData());

        // The emulator's default unit.
        QCOMPARE(campos.value("Text_S00").toString(), QStringLiteral("2,00"));
        QCOMPARE(campos.value("Text_F20").toString(), QStringLiteral("4,50"));
        QCOMPARE(campos.value("Text_total00").toString(), QStringLiteral("1523,00"));
        QCOMPARE(campos.value("Text_parcial").toString(), QStringLiteral("234,56"));
        QCOMPARE(campos.value("Text_pwdtarifas").toString(), QStringLiteral("1234"));
        QCOMPARE(campos.value("Text_ibut").toString(), QStringLiteral("00001A2B3C01"));
        QCOMPARE(campos.value("text_numfab_ano").toString(), QStringLiteral("A2415"));
        QVERIFY(campos.value("Check_contador").toBool());
        QCOMPARE(campos.value("Label_percentagem").toString(), QStringLiteral("75 %"));
        QVERIFY(campos.value("Form_main")
                    .toString()
                    .startsWith(QStringLiteral("Manutenção VX308 v3.5")));
        // After a read every button that needs the unit's data is enabled.
        for (const char *b : {"Command_ler", "Command_testar", "Command_imprimir", "Command_clear",
                              "Command_enviar", "Command_teste_disp"})
            QVERIFY2(campos.value(QLatin1String(b)).toBool(), b);

        QFile f(log);
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList linhas =
            QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(linhas.size() > 40);
        int fins = 0;
        for (const QString &l : linhas)
            fins += comandoDe(l) == 0 ? 1 : 0;
        QCOMPARE(fins, 1);
        QCOMPARE(comandoDe(linhas.last()), 0);
        // The settings were made on the first start.
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("ValoresPre1.db"))));
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
        const QByteArray saida = tool.readAllStandardOutput().trimmed();
        const QJsonObject campos = QJsonDocument::fromJson(saida).object();
        QCOMPARE(campos.value("Text_S00").toString(), QStringLiteral("2,00"));
        QCOMPARE(campos.value("text_numfab_ano").toString(), QStringLiteral("A2415"));

        // The device was the program built beside the tool, on a terminal.
        const auto m = QRegularExpression(QStringLiteral("demo device on (/dev/\\S+): (\\S+), "
                                                         "process (\\d+)"))
                           .match(err);
        QVERIFY2(m.hasMatch(), qPrintable(err));
        QCOMPARE(QFileInfo(m.captured(2)).canonicalFilePath(),
                 QFileInfo(kEmulador).canonicalFilePath());
        // Leaving the window stopped it.
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/") + m.captured(3)));
    }

    void demoWithoutTheEmulatorProgram()
    {
        // The tool alone in a folder, nothing on PATH: no emulator anywhere.
        QTemporaryDir root;
        const QString app = root.filePath(QStringLiteral("app"));
        QVERIFY(QDir().mkpath(app));
        const QString copia = app + QStringLiteral("/vx308-maint");
        QVERIFY(QFile::copy(kTool, copia));
        const QString dados = root.filePath(QStringLiteral("dados"));
        QVERIFY(QDir().mkpath(dados));

        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("PATH"), root.filePath(QStringLiteral("vazio")));
        tool.setProcessEnvironment(env);
        tool.start(copia, {QStringLiteral("--demo"), QStringLiteral("--data"), dados,
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
        QVERIFY(QDir(dados).isEmpty());
    }

    void linha_de_comando_errada_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("com sem caminho") << QStringList{"--com", "1"} << "--com needs N=PATH";
        QTest::newRow("desconhecida") << QStringList{"--fast"} << "unknown option --fast";
        QTest::newRow("ecrã") << QStringList{"--screen", "big"} << "--screen needs WxH";
        QTest::newRow("demo e com")
            << QStringList{"--demo", "--com", "1=/dev/null"} << "cannot be used together";
    }
    void linha_de_comando_errada()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, mensagem);
        QTemporaryDir dir;
        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        tool.setProcessEnvironment(env);
        tool.start(kTool, args);
        QVERIFY(tool.waitForFinished(20000));
        QCOMPARE(tool.exitCode(), 2);
        QVERIFY(QString::fromLocal8Bit(tool.readAllStandardError()).contains(mensagem));
        // Nothing was made.
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

QTEST_MAIN(TstPrograma)
#include "tst_programa.moc"
