// Guards what the status line says of the actions started from the window:
// what is under way, then what was done or what failed, for the impulses,
// the display test, the printed report, a saved configuration and an
// accepted new unit; and that "Enviar", disabled while it holds the focus,
// does not hand the focus to a value. An action that ends with nothing on
// the screen, or a stray key that overwrites a tariff, is the fault.

#include "actionresults.h"
#include "appbench.h"
#include "configurationmenu.h"
#include "fixedfiledialogs.h"
#include "statusline.h"
#include "testsuite.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using namespace vx;

namespace {

QString shown(AppBench &o)
{
    return o.window().statusLine()->connectionText();
}

} // namespace

class TstActionResults : public QObject
{
    Q_OBJECT

private slots:
    void impulsesAndDisplayTest()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        o.edit().setText(QStringLiteral("Text_impulsos"), QStringLiteral("3"));
        o.click("Command_enviar");
        QCOMPARE(shown(o), QStringLiteral("A enviar 3 impulsos ao temporizador…"));
        QVERIFY(waitFor(
            [&] { return shown(o) == QStringLiteral("3 impulsos enviados ao temporizador."); }));
        QVERIFY(o.window().statusLine()->activity().isEmpty());

        o.window().aplicar_idioma(1);
        o.click("Command_teste_disp");
        QVERIFY2(shown(o).startsWith(QStringLiteral("Display test under way (about 20 s)")),
                 qPrintable(shown(o)));
        QVERIFY(waitFor([&] { return shown(o) == QStringLiteral("Display test finished."); }));
        o.engine().stop();
    }

    void printSaysWhatBecameOfTheReport_data()
    {
        QTest::addColumn<bool>("fail");
        QTest::addColumn<QString>("result");
        QTest::newRow("impresso") << false << "Relatório enviado para a impressora.";
        QTest::newRow("impressora falhou")
            << true
            << "O relatório não foi impresso. Verifique a impressora e carregue de novo em "
               "Imprimir.";
    }
    void printSaysWhatBecameOfTheReport()
    {
        QFETCH(bool, fail);
        QFETCH(QString, result);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        o.printer.failPrint = fail;
        o.click("Command_imprimir");
        QCOMPARE(shown(o), result);
        o.engine().stop();
    }

    void saveConfigurationSaysWhere_data()
    {
        QTest::addColumn<QString>("folder"); // under the data folder
        QTest::addColumn<QString>("result");
        QTest::newRow("guardada") << ""
                                  << "Configuração guardada em %1.";
        QTest::newRow("pasta inexistente")
            << "nenhuma/"
            << "A configuração não foi guardada em %1. Escolha uma pasta onde possa escrever.";
    }
    void saveConfigurationSaysWhere()
    {
        QFETCH(QString, folder);
        QFETCH(QString, result);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        auto *menu = o.window().findChild<ConfigurationMenu *>();
        QVERIFY(menu);
        const QString file = a.dir.filePath(folder + QStringLiteral("unit.json"));
        vx::FixedFileDialogs dialogs(file);
        o.window().setFileDialogs(&dialogs);
        menu->saveConfiguration();
        QCOMPARE(shown(o), result.arg(QDir::toNativeSeparators(file)));
        o.engine().stop();
    }

    void acceptedUnitIsNamed()
    {
        PersistentData a;
        Application::Setup setup;
        setup.factoryMenu = true;
        AppBench o(a, setup);
        QVERIFY(o.startUp());
        QAction *newButton = o.window().action(QStringLiteral("mnu_novo"));
        newButton->trigger();
        QCOMPARE(o.edit().session.modo, uint8_t(1));
        newButton->trigger();
        QCOMPARE(shown(o), QStringLiteral("A escrever a nova unidade no temporizador…"));
        // The unit's code and the log's number, once the timer holds it.
        const QRegularExpression logged(
            QStringLiteral("^Unidade [A-Z][0-9]{4}[0-9]+ escrita no temporizador e registada com o "
                           "número [0-9]+\\.$"));
        QVERIFY(waitFor([&] { return logged.match(shown(o)).hasMatch(); }));
        o.engine().stop();
    }

    // "Enviar" is disabled while the impulses go out; the focus it held must
    // not move on to the first tariff, where a key would replace the value.
    void focusLeftOnNoValueAfterSend()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        o.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&o.window()));
        auto *send =
            qobject_cast<QPushButton *>(o.window().control(QStringLiteral("Command_enviar")));
        o.edit().setText(QStringLiteral("Text_impulsos"), QStringLiteral("1"));
        send->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), send);
        QTest::keyClick(send, Qt::Key_Space);
        QVERIFY(!send->isEnabled());
        QVERIFY2(!qobject_cast<QLineEdit *>(QApplication::focusWidget()),
                 qPrintable(QApplication::focusWidget()->objectName()));
        QVERIFY(waitFor([&] { return send->isEnabled(); }));
        o.engine().stop();
    }
};

VX_TEST_CLASS(TstActionResults, Widgets)
#include "tst_actionresults.moc"
