// Guards that the window's messages speak the chosen language: in English
// every message box reads English, in Portuguese each reads exactly as the
// technician has always known it. A message that stays Portuguese after
// "English" was chosen (or an English one in Portuguese) is the fault.

#include "appbench.h"
#include "messagetexts.h"
#include "portchooser.h"
#include "testsuite.h"

#include <QTest>

using namespace vx;

class TstMessageLanguage : public QObject
{
    Q_OBJECT

private slots:
    void messagesFollowLanguage_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::addColumn<QString>("invalid");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("printer");
        QTest::newRow("pt") << 0 << "O valor inserido não é válido!"
                            << "A porta 3 não existe ou está a ser utilizada!"
                            << "Estes valores não foram escritos no temporizador"
                            << "Manutenção"
                            << "Por favor verifique a ligação da impressora!";
        QTest::newRow("en") << 1 << "The value entered is not valid!"
                            << "Port 3 does not exist or is in use!"
                            << "These values were not written to the timer"
                            << "Maintenance"
                            << "Please check the printer connection!";
    }
    void messagesFollowLanguage()
    {
        QFETCH(int, idioma);
        QFETCH(QString, invalid);
        QFETCH(QString, port);
        QFETCH(QString, refused);
        QFETCH(QString, title);
        QFETCH(QString, printer);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        if (idioma == 1)
            o.window().mnu_EN_Click();
        else
            o.window().mnu_pt_Click();

        o.port.setMissing(3);
        o.messages.clear();
        o.app->ports().choose(3);
        QCOMPARE(o.messages.texts(), QStringList{port});

        QVERIFY(o.read());
        o.messages.clear();
        o.edit().setText(QStringLiteral("Text_S00"), QStringLiteral("1x"));
        QCOMPARE(o.messages.texts(), QStringList{invalid});
        QCOMPARE(o.messages.messages[0].title, title);

        // A value the timer cannot hold, confirmed and refused by the write pass.
        o.messages.clear();
        bool told = false;
        QObject::connect(&o.edit(), &EditSet::valueRefused, [&] { told = true; });
        o.edit().setText(QStringLiteral("Text_contador"), QStringLiteral("99999999"));
        o.edit().mark(QStringList{QStringLiteral("Text_contador")});
        QVERIFY(waitFor([&] { return told && !o.messages.messages.empty(); }));
        QVERIFY2(o.messages.messages[0].text.startsWith(refused),
                 qPrintable(o.messages.messages[0].text));
        QCOMPARE(o.messages.messages[0].title, title);

        o.printer.failPrint = true;
        QVERIFY(waitFor([&] { return o.edit().control("Command_imprimir").enabled; }));
        o.messages.clear();
        o.click("Command_imprimir");
        QCOMPARE(o.messages.texts(), QStringList{printer});
        o.engine().stop();
    }
};

VX_TEST_CLASS(TstMessageLanguage, Widgets)
#include "tst_messagelanguage.moc"
