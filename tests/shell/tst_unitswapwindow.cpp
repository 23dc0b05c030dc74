// Guards what the window shows and offers when the cable is moved to another
// timer without "Sair": a notice naming both units as soon as the new one
// answers, every value marked as not the unit's, and nothing that would use
// them on the new unit (Clear, the report, the PDF, "Pic -> PC", a saved
// configuration) until it is read. Nothing that sends anything but a read
// (impulses, the display test, Clear, a value confirmed, a tick box, "PC ->
// Pic", a configuration restored, a new unit) reaches the unit nobody read,
// and each refusal, and each request the swap cut off, is said where the
// technician is looking. With VX_SCREENSHOT_DIR set, the notices, the status
// line and Clear's question are saved as PNGs.
#include "appbench.h"
#include "captions.h"
#include "configurationmenu.h"
#include "enginebench.h"
#include "fixedfiledialogs.h"
#include "linknotice.h"
#include "messagetexts.h"
#include "statusline.h"
#include "testsuite.h"
#include "unitswapnotice.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace vx;

class TstUnitSwapWindow : public QObject
{
    Q_OBJECT
private slots:
    void swapIsShownAndHoldsTheUnitsValues_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::newRow("pt") << 0;
        QTest::newRow("en") << 1;
    }
    void swapIsShownAndHoldsTheUnitsValues()
    {
        QFETCH(int, idioma);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        if (idioma == 1) o.window().mnu_EN_Click();
        o.port.device().setNumber(96, 3, 123456);
        QVERIFY(o.read());
        UnitSwapNotice *notice = o.window().unitNotice();
        QVERIFY(notice->isHidden());

        // The cable is out, then on another unit; the window keeps polling.
        std::array<uint8_t, 256> other = o.port.device().memory();
        other[96] = 0x4D; // 153677 = 0x02584D
        other[97] = 0x58;
        other[98] = 0x02;
        other[4] = 0x13;
        o.port.setGone(-1);
        o.port.device().setMemory(other);
        bool back = false;
        QObject::connect(&o.app->link(), &Link::statsChanged, [&] {
            if (back || o.app->link().stats.timeoutsSinceAccepted == 0) return;
            back = true;
            QTimer::singleShot(0, [&] { o.port.setGone(0); });
        });
        QElapsedTimer sinceBack;
        QVERIFY(waitFor([&] {
            if (back && !sinceBack.isValid()) sinceBack.start();
            return notice->isVisible();
        }));
        // Noticed within a few seconds of the new unit answering.
        QVERIFY2(sinceBack.elapsed() < 3000, qPrintable(QString::number(sinceBack.elapsed())));

        const QString text = notice->text();
        QVERIFY2(text.contains(QStringLiteral("123456")) && text.contains(QStringLiteral("153677")),
                 qPrintable(text));
        QCOMPARE(text, UnitSwapNotice::textFor(o.edit(), idioma));
        QVERIFY(box(o, "Text_S00")->font().strikeOut());
        QVERIFY(!box(o, "Text_S00")->toolTip().isEmpty());
        for (const char *n : {"Command_clear", "Command_imprimir"})
            QVERIFY2(!o.window().control(QLatin1String(n))->isEnabled(), n);
        QVERIFY(!o.window().action(QStringLiteral("mnu_exportar"))->isEnabled());
        o.window().resize(1024, 768);
        saveScreenshot(&o.window(),
                       idioma == 1 ? "unit-swap-notice-en.png" : "unit-swap-notice-pt.png");

        // Saving a configuration is refused, naming the unit on the line.
        o.messages.clear();
        o.window().action(QStringLiteral("mnu_guardar_configuracao"))->trigger();
        QCOMPARE(o.messages.messages.size(), size_t(1));
        QVERIFY(o.messages.messages[0].text.contains(QStringLiteral("153677")));

        // "Lêr" reads the unit on the line: the notice goes, the marks too.
        QVERIFY(o.read());
        QVERIFY(notice->isHidden());
        QVERIFY(!box(o, "Text_S00")->font().strikeOut());
        QVERIFY(o.window().control(QStringLiteral("Command_clear"))->isEnabled());
        QCOMPARE(o.edit().text(QStringLiteral("Text_sn_apl")), QStringLiteral("153677"));
        o.engine().stop();
    }

    // Asked for unit A while the cable was being moved: impulses or the
    // display test, a value confirmed with Enter, another typed and not
    // confirmed. B gets none of it; the status line says what was not done,
    // the notice names all of it, and the boxes show A's values again.
    void requestsCutOffBySwapAreSaid_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("said");
        QTest::newRow("pt enviar") << 0 << "Command_enviar"
                                   << "impulsesOtherUnit";
        QTest::newRow("en enviar") << 1 << "Command_enviar"
                                   << "impulsesOtherUnit";
        QTest::newRow("pt testar") << 0 << "Command_teste_disp"
                                   << "displayTestOtherUnit";
        QTest::newRow("en testar") << 1 << "Command_teste_disp"
                                   << "displayTestOtherUnit";
    }
    void requestsCutOffBySwapAreSaid()
    {
        QFETCH(int, idioma);
        QFETCH(QString, command);
        QFETCH(QString, said);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        if (idioma == 1) o.window().mnu_EN_Click();
        QVERIFY(o.read());
        const QString s08 = o.edit().text(QStringLiteral("Text_S08"));
        const QString s12 = o.edit().text(QStringLiteral("Text_S12"));
        type(o, "Text_S08", QStringLiteral("4,44"), false);
        type(o, "Text_impulsos", QStringLiteral("5"), false);

        QVERIFY(moveCable(o, otherUnit(o), [&] {
            type(o, "Text_S12", QStringLiteral("3,33"), true);
            o.click(command.toLatin1().constData());
        }));
        QVERIFY(someTicks(o, 5));

        const QString more = sentMoreThanReads(o.port.device());
        QVERIFY2(more.isEmpty(), qPrintable(more));
        QCOMPARE(status(o), caption(said.toLatin1().constData(), idioma));
        const QString notice = o.window().unitNotice()->text();
        for (const QString &named :
             {QStringLiteral("4,44"), QStringLiteral("3,33"),
              textOf(kUnitSwapTexts, command.toLatin1().constData(), idioma)})
            QVERIFY2(notice.contains(named), qPrintable(notice));
        QCOMPARE(o.edit().text(QStringLiteral("Text_S08")), s08);
        QCOMPARE(o.edit().text(QStringLiteral("Text_S12")), s12);
        QCOMPARE(box(o, "Text_S12")->text(), s12);
        for (const char *n : {"Command_enviar", "Command_teste_disp"})
            QVERIFY2(!o.window().control(QLatin1String(n))->isEnabled(), n);
        o.window().resize(1024, 768);
        saveScreenshot(&o.window(), QStringLiteral("unit-swap-cut-off-%1-%2.png")
                                        .arg(command, idioma == 1 ? "en" : "pt")
                                        .toLatin1()
                                        .constData());
        o.engine().stop();
    }

    // Every button and menu item that would send something, pressed after
    // the swap: B receives nothing but reads before "Lêr", and each press
    // says why, in the window's language. The buttons that wait for "Lêr"
    // are greyed; their handlers refuse too. Clear's question, open during
    // the swap, says it no longer applies.
    void everyCommandWaitsForRead_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::newRow("pt") << 0;
        QTest::newRow("en") << 1;
    }
    void everyCommandWaitsForRead()
    {
        QFETCH(int, idioma);
        QTemporaryDir files;
        PersistentData a;
        Application::Setup setup;
        setup.factoryMenu = true;
        AppBench o(a, setup);
        FixedFileDialogs dialogs(files.filePath(QStringLiteral("unit.json")));
        o.window().setFileDialogs(&dialogs);
        QVERIFY(o.startUp());
        if (idioma == 1) o.window().mnu_EN_Click();
        QVERIFY(o.read());
        const UnitIdentity unitA = o.engine().unitRead();
        o.click("command_copy1");
        o.window().findChild<ConfigurationMenu *>()->saveConfiguration();
        QVERIFY(QFile::exists(dialogs.answer));
        o.click("Command_clear");
        auto *question = o.window().findChild<QDialog *>(QStringLiteral("Dialog_clear"));
        QVERIFY(question && question->isVisible());

        const auto unitB = otherUnit(o);
        QVERIFY(moveCable(o, unitB));
        const UnitIdentity onLine = o.edit().unitMismatch()->onLine;
        QCOMPARE(status(o), caption("unitSwapped", idioma));
        saveScreenshot(o.window().statusLine(),
                       idioma == 1 ? "status-unitSwapped-en.png" : "status-unitSwapped-pt.png");

        // Clear's question no longer applies, and says so.
        auto *asked = question->findChild<QLabel *>(QStringLiteral("Label_clear_question"));
        QCOMPARE(asked->text(), textOf(kClearDialogTexts, "noLongerApplies", idioma)
                                    .arg(onLine.label(), unitA.label()));
        QVERIFY(
            !question->findChild<QWidget *>(QStringLiteral("Command_clear_confirm"))->isVisible());
        saveScreenshot(question, idioma == 1 ? "unit-swap-clear-en.png" : "unit-swap-clear-pt.png");
        o.messages.clear();
        question->accept(); // "Pôr a zero" pressed as the unit changed

        const QString tariff = o.edit().text(QStringLiteral("Text_S12"));
        const bool counterOn = o.edit().checked(QStringLiteral("Check_contador"));
        for (const char *n : {"Command_enviar", "Command_teste_disp", "Command_clear",
                              "Command_imprimir", "command_copy1"}) {
            QVERIFY2(!o.window().control(QLatin1String(n))->isEnabled(), n);
            o.click(n);
        }
        QVERIFY(!o.window().action(QStringLiteral("mnu_exportar"))->isEnabled());
        type(o, "Text_impulsos", QStringLiteral("5"), false);
        o.engine().Command_enviar_Click();
        o.engine().Command_teste_disp_Click();
        o.engine().Command_clear_Click();
        o.click("command_paste1");
        for (const char *n :
             {"mnu_guardar_configuracao", "mnu_comparar_configuracao", "mnu_repor_configuracao"})
            o.window().action(QLatin1String(n))->trigger();
        // Enter on a changed value: refused, said on the status line too, and
        // the box shows A's value again.
        type(o, "Text_S12", QStringLiteral("3,33"), true);
        QCOMPARE(status(o), caption("valueNotForUnit", idioma)
                                .arg(Captions::accessibleName(QStringLiteral("Text_S12"), idioma),
                                     QStringLiteral("3,33")));
        QCOMPARE(box(o, "Text_S12")->text(), tariff);
        o.window().resize(1024, 768);
        saveScreenshot(&o.window(),
                       idioma == 1 ? "unit-swap-enter-en.png" : "unit-swap-enter-pt.png");
        qobject_cast<QCheckBox *>(o.window().control(QStringLiteral("Check_contador")))->click();
        QCOMPARE(o.edit().checked(QStringLiteral("Check_contador")), counterOn);
        QCOMPARE(qobject_cast<QCheckBox *>(o.window().control(QStringLiteral("Check_contador")))
                     ->isChecked(),
                 counterOn);
        QCOMPARE(status(o),
                 caption("tickNotForUnit", idioma)
                     .arg(Captions::accessibleName(QStringLiteral("Check_contador"), idioma)));
        saveScreenshot(o.window().statusLine(), idioma == 1 ? "status-tickNotForUnit-en.png"
                                                            : "status-tickNotForUnit-pt.png");
        // "Novo" is not offered after a read; it makes no new unit of B.
        QVERIFY(!o.window().action(QStringLiteral("mnu_novo"))->isEnabled());
        o.click("Command_novo");
        QCOMPARE(o.edit().session.modo, uint8_t(2));

        const QString refused = messageText(MessageId::UnitNotRead, idioma).arg(onLine.label());
        // The question's "Pôr a zero", the three handlers, "PC -> Pic", the
        // three configuration items, Enter and the tick box.
        QCOMPARE(o.messages.texts(), QStringList(10, refused));
        QVERIFY(someTicks(o, 5));
        const QString more = sentMoreThanReads(o.port.device());
        QVERIFY2(more.isEmpty(), qPrintable(more));
        QVERIFY(o.port.device().memory() == unitB);

        QVERIFY(o.read());
        QVERIFY(o.window().unitNotice()->isHidden());
        for (const char *n : {"Command_enviar", "Command_teste_disp", "Command_clear"})
            QVERIFY2(o.window().control(QLatin1String(n))->isEnabled(), n);
        o.engine().stop();
    }

private:
    // Unit A's memory with another application serial and tariff: unit B.
    static std::array<uint8_t, 256> otherUnit(AppBench &o)
    {
        std::array<uint8_t, 256> other = o.port.device().memory();
        other[96] = 0x4D; // 153677 = 0x02584D
        other[97] = 0x58;
        other[98] = 0x02;
        other[4] = 0x13;
        return other;
    }

    // The cable moved to unit B without "Sair": the adapter is away until the
    // window has tried the line, then comes back on B, which has been sent
    // nothing. `meanwhile` runs while the line is down, as a click would.
    static bool moveCable(AppBench &o, const std::array<uint8_t, 256> &unitB,
                          const std::function<void()> &meanwhile = {})
    {
        o.port.setGone(-1);
        o.port.device().setMemory(unitB);
        o.port.device().clearHistory();
        o.port.device().setImpulses(0);
        bool back = false;
        const auto c = QObject::connect(&o.app->link(), &Link::statsChanged, [&] {
            if (back || o.app->link().stats.timeoutsSinceAccepted == 0) return;
            back = true;
            QTimer::singleShot(0, [&] {
                if (meanwhile) meanwhile();
                o.port.setGone(0);
            });
        });
        const bool noticed = waitFor([&] { return o.window().unitNotice()->isVisible(); });
        QObject::disconnect(c);
        return noticed;
    }

    static QLineEdit *box(AppBench &o, const char *name)
    {
        return qobject_cast<QLineEdit *>(o.window().control(QLatin1String(name)));
    }

    // Typed into a box as the technician does, with Enter at the end or not.
    static void type(AppBench &o, const char *name, const QString &text, bool enter)
    {
        QLineEdit *b = box(o, name);
        b->setFocus(Qt::MouseFocusReason);
        b->selectAll();
        QTest::keyClicks(b, text);
        if (enter) QTest::keyClick(b, Qt::Key_Return);
    }

    static bool someTicks(AppBench &o, int n)
    {
        int ticks = 0;
        const auto c = QObject::connect(&o.engine(), &Engine::tickFinished, [&] { ++ticks; });
        const bool ok = waitFor([&] { return ticks >= n; });
        QObject::disconnect(c);
        return ok;
    }

    static QString status(AppBench &o) { return o.window().statusLine()->connectionText(); }

    static QString caption(const char *key, int idioma)
    {
        return Captions::caption(QLatin1String(key), idioma);
    }
};

VX_TEST_CLASS(TstUnitSwapWindow, Widgets)
#include "tst_unitswapwindow.moc"
