// Guards the window's language beyond its own captions: Qt's own dialogs
// (the buttons of a message box, the file dialog) and the traffic log window
// must speak the language chosen, from the start and at once when the
// language menu changes it, while a saved traffic log keeps the log's one
// wording. An English "Look in:" or "Yes" in the Portuguese window, or a log
// window that stays in the language it was opened in, is the fault.
#include "appbench.h"
#include "qttranslations.h"
#include "testsuite.h"
#include "trafficlogwindow.h"
#include "trafficlogwording.h"
#include "traffictrace.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace vx;

namespace {

void storeLanguage(PersistentData &a, const QString &idioma)
{
    AppBench o(a);
    QVERIFY(o.app->databases().provision(nullptr, nullptr));
    QVERIFY(o.app->databases().writeSettings({{QStringLiteral("idioma"), idioma}}, nullptr));
}

// What Qt's dialogs say now: the Yes, No and Close buttons, and the file
// dialog's "Look in:".
QStringList qtDialogTexts()
{
    QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Close);
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    const auto *lookIn = files.findChild<QLabel *>(QStringLiteral("lookInLabel"));
    return {box.button(QDialogButtonBox::Yes)->text(), box.button(QDialogButtonBox::No)->text(),
            box.button(QDialogButtonBox::Close)->text(), lookIn ? lookIn->text() : QString()};
}

const QStringList kPortugueseDialogs{"&Sim", "&Não", "Fechar", "Procurar em:"};
const QStringList kEnglishDialogs{"&Yes", "&No", "Close", "Look in:"};

} // namespace

class TstLanguage : public QObject
{
    Q_OBJECT

private slots:
    // From the stored language at start, then as the menu changes it.
    void qtDialogsFollowLanguage_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("atStart");
        QTest::newRow("PT") << "PT" << kPortugueseDialogs;
        QTest::newRow("EN") << "EN" << kEnglishDialogs;
        QTest::newRow("desconhecido") << "xx" << kPortugueseDialogs;
    }
    void qtDialogsFollowLanguage()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, atStart);
        PersistentData a;
        storeLanguage(a, stored);
        AppBench o(a);
        QVERIFY2(!QtTranslations().folder().isEmpty() &&
                     QFileInfo::exists(QtTranslations().folder() + "/qtbase_pt_BR.qm"),
                 "Qt's translations are missing: install qt6-translations-l10n "
                 "(scripts/install-deps)");
        QVERIFY(o.startUp());
        QCOMPARE(qtDialogTexts(), atStart);
        o.window().mnu_EN_Click();
        QCOMPARE(qtDialogTexts(), kEnglishDialogs);
        QVERIFY(o.app->qtTranslations().catalogues().isEmpty());
        o.window().mnu_pt_Click();
        QCOMPARE(qtDialogTexts(), kPortugueseDialogs);
        // European Portuguese asked first, where Qt has it.
        QVERIFY(o.app->qtTranslations().catalogues().first().contains(QLatin1String("pt_PT")));
    }

    // The traffic log's lines in Portuguese, word for word; names, values and
    // frame characters stay; English and lines of another form unchanged.
    void linesInPortuguese_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("portuguese");
        QTest::newRow("pedido")
            << "18:05:42.983 sent     #AF0000010A02000000000000062%  ReadMemory address 10 "
               "(Text_S15), 2 bytes"
            << "18:05:42.983 enviado     #AF0000010A02000000000000062%  ReadMemory endereço 10 "
               "(Text_S15), 2 bytes";
        QTest::newRow("resposta")
            << "18:05:44.056 received !AF0000010A020E51000000000A3%  ReadMemory address 10 "
               "(Text_S15), 2 bytes: Text_S15 = 3,50"
            << "18:05:44.056 recebido    !AF0000010A020E51000000000A3%  ReadMemory endereço 10 "
               "(Text_S15), 2 bytes: Text_S15 = 3,50";
        QTest::newRow("soma errada")
            << "18:05:43.017 rejected !AF0000010A020E51000000000B3%  bad checksum: the frame "
               "says 59, its digits sum to 58"
            << "18:05:43.017 rejeitado   !AF0000010A020E51000000000B3%  soma de controlo errada: "
               "a trama diz 59, os seus dígitos somam 58";
        QTest::newRow("sem resposta")
            << "18:06:01.593 time-out  no reply within 665 ms to ReadMemory address 6 (Text_S08), "
               "2 bytes"
            << "18:06:01.593 time-out     sem resposta em 665 ms a ReadMemory endereço 6 "
               "(Text_S08), 2 bytes";
        QTest::newRow("atrasada")
            << "18:06:01.658 rejected !AF00000106020AF0000000000B3%  late reply to an earlier "
               "request: ReadMemory address 6 (Text_S08), 2 bytes: Text_S08 = 2,50"
            << "18:06:01.658 rejeitado   !AF00000106020AF0000000000B3%  resposta atrasada a um "
               "pedido anterior: ReadMemory endereço 6 (Text_S08), 2 bytes: Text_S08 = 2,50";
        QTest::newRow("não hexadecimal")
            << "10:00:00.000 rejected !AG00000106020AF0000000000B3%  character 3 is G, not an "
               "upper-case hex digit"
            << "10:00:00.000 rejeitado   !AG00000106020AF0000000000B3%  o carácter 3 é G, não um "
               "dígito hexadecimal maiúsculo";
        QTest::newRow("porta fechada")
            << "10:00:00.000 unsent   #AF0000010900600000000000000%  port refused the request "
               "(not open): ReadClock"
            << "10:00:00.000 não enviado #AF0000010900600000000000000%  a porta recusou o pedido "
               "(não está aberta): ReadClock";
        QTest::newRow("comando desconhecido")
            << "10:00:00.000 received !AF0000050000000000000000005%  Command 5"
            << "10:00:00.000 recebido    !AF0000050000000000000000005%  Comando 5";
        QTest::newRow("palavra-passe")
            << "10:00:00.000 received !AF0000010103****1E00000000052%  ReadMemory address 1 "
               "(Text_pwdtarifas+1), 3 bytes: Text_pwdrelogio = masked, password bytes masked"
            << "10:00:00.000 recebido    !AF0000010103****1E00000000052%  ReadMemory endereço 1 "
               "(Text_pwdtarifas+1), 3 bytes: Text_pwdrelogio = mascarada, bytes de palavra-passe "
               "mascarados";
        QTest::newRow("outra forma") << "VX308 trace"
                                     << "VX308 trace";
    }
    void linesInPortuguese()
    {
        QFETCH(QString, line);
        QFETCH(QString, portuguese);
        QCOMPARE(TrafficLogWording::inLanguage(line, 0), portuguese);
        QCOMPARE(TrafficLogWording::inLanguage(line, 1), line);
    }

    // The window opened in Portuguese shows the lines of a read in
    // Portuguese, switches with the language menu, filters on what it shows,
    // and saves the log's own wording.
    void trafficLogFollowsLanguage()
    {
        PersistentData a;
        storeLanguage(a, QStringLiteral("PT"));
        AppBench o(a);
        QVERIFY(o.startUp());
        o.app->openTrafficLog();
        QVERIFY(o.read());
        TrafficLogWindow &log = o.app->trafficLog();
        QCOMPARE(log.windowTitle(), QStringLiteral("Registo de comunicação"));
        auto *header = log.findChild<QLabel *>(QStringLiteral("Label_cabecalho"));
        QVERIFY2(header->text().contains(QLatin1String("palavras-passe")) &&
                     header->text().contains(QLatin1String("mascaradas")),
                 qPrintable(header->text()));
        QVERIFY(log.displayedLines().size() > 10);
        QVERIFY(log.displayedLines().first().contains(QLatin1String(" enviado ")));
        QVERIFY(log.shownLines().first().contains(QLatin1String(" sent ")));

        auto *filter = log.findChild<QLineEdit *>(QStringLiteral("Text_filtro"));
        filter->setText(QStringLiteral("recebido"));
        QVERIFY(!log.displayedLines().isEmpty());
        for (const QString &line : log.displayedLines())
            QVERIFY2(line.contains(QLatin1String("recebido")), qPrintable(line));
        for (const QString &line : log.shownLines())
            QVERIFY2(line.contains(QLatin1String(" received ")), qPrintable(line));

        o.window().mnu_EN_Click();
        QCOMPARE(log.windowTitle(), QStringLiteral("Traffic log"));
        QCOMPARE(header->text(), TrafficTrace::headerLine());
        QCOMPARE(log.findChild<QPushButton *>(QStringLiteral("Command_guardar"))->text(),
                 QStringLiteral("Save…"));
        // "recebido" is Portuguese only: nothing left to show in English.
        QVERIFY(log.displayedLines().isEmpty());
        filter->setText(QStringLiteral("received"));
        QCOMPARE(log.displayedLines(), log.shownLines());
        o.window().mnu_pt_Click();
        QCOMPARE(log.windowTitle(), QStringLiteral("Registo de comunicação"));
        QVERIFY(log.displayedLines().first().contains(QLatin1String(" recebido ")));
    }
};

VX_TEST_CLASS(TstLanguage, Widgets)
#include "tst_language.moc"
