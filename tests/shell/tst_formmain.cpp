// Guards the window as a view of the edit set: every model change reaches its
// widget, every keystroke, Enter, Escape, focus and click reaches the model,
// the buttons follow the model through a read, a Clear and a display test,
// the status line shows the link counters, and the hidden controls stay
// hidden. A widget that shows something other than what the model holds
// (and what the engine will write to the unit) is the fault.

#include "appbench.h"
#include "captions.h"
#include "indicator.h"
#include "modelbinding.h"
#include "screenfit.h"
#include "statusline.h"
#include "testsuite.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace vx;

namespace {

const QStringList kButtons{"Command_ler",   "Command_testar", "Command_imprimir",
                           "Command_sair",  "Command_clear",  "Command_teste_disp",
                           "Command_enviar"};

QLineEdit *box(AppBench &o, const char *name)
{
    return qobject_cast<QLineEdit *>(o.window().control(QLatin1String(name)));
}

// Each button as the window shows it must be what the model holds.
void checkButtons(AppBench &o)
{
    for (const QString &b : kButtons)
        QVERIFY2(o.window().control(b)->isEnabled() == o.edit().control(b).enabled, qPrintable(b));
}

QStringList enabledControls(AppBench &o)
{
    QStringList out;
    for (const QString &b : kButtons)
        if (o.window().control(b)->isEnabled()) out << b;
    return out;
}

} // namespace

class TstFormMain : public QObject
{
    Q_OBJECT

private slots:
    void modelToWindow()
    {
        PersistentData a;
        AppBench o(a);
        EditSet &e = o.edit();
        e.setText(QStringLiteral("Text_S00"), QStringLiteral("12,50"));
        QCOMPARE(box(o, "Text_S00")->text(), QStringLiteral("12,50"));
        // A text longer than the typing limit, put there by the program,
        // shows in full: the limit applies to typing only.
        e.setText(QStringLiteral("Text_ibutsn"), QStringLiteral("0123456789ABCDEF"));
        QCOMPARE(box(o, "Text_ibutsn")->text(), QStringLiteral("0123456789ABCDEF"));
        e.setEnabled(QStringLiteral("Text_S08"), false);
        QVERIFY(!box(o, "Text_S08")->isEnabled());
        // The model holds the input's state; the window shows it in colour.
        auto *bola = qobject_cast<Indicator *>(o.window().control(QStringLiteral("Shape_bola2")));
        e.setIndicator(QStringLiteral("Shape_bola2"), IndicatorState::On);
        QCOMPARE(bola->color(), QColor(255, 0, 0));
        e.setIndicator(QStringLiteral("Shape_bola2"), IndicatorState::Off);
        QCOMPARE(bola->color(), QColor(255, 255, 255));
        e.setValue(QStringLiteral("ProgressBar_baterias"), 62.4);
        QCOMPARE(
            qobject_cast<QProgressBar *>(o.window().control(QStringLiteral("ProgressBar_baterias")))
                ->value(),
            62);
        e.setText(QStringLiteral("Label_percentagem"), QStringLiteral("62%"));
        QCOMPARE(
            qobject_cast<QLabel *>(o.window().control(QStringLiteral("Label_percentagem")))->text(),
            QStringLiteral("62%"));
        e.setChecked(QStringLiteral("Check_contador"), true);
        QVERIFY(qobject_cast<QCheckBox *>(o.window().control(QStringLiteral("Check_contador")))
                    ->isChecked());
        e.setTitle(QStringLiteral("VX308 - teste"));
        QCOMPARE(o.window().windowTitle(), QStringLiteral("VX308 - teste"));
    }

    void boxesCentredWithoutWidgetLimit()
    {
        PersistentData a;
        AppBench o(a);
        for (QLineEdit *c : o.window().findChildren<QLineEdit *>()) {
            QCOMPARE(c->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
            QCOMPARE(c->maxLength(), 32767);
        }
        QLineEdit *m = box(o, "Text_master_ibut");
        QVERIFY(m->isReadOnly());
        QVERIFY(m->isEnabled());
    }

    void typingGoesToModel()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QLineEdit *c = box(o, "Text_S00");
        c->selectAll();
        QTest::keyClicks(c, QStringLiteral("3,25"));
        QCOMPARE(o.edit().text(QStringLiteral("Text_S00")), QStringLiteral("3,25"));
        // The seventh character is refused by the model and the box shows
        // the model's text again.
        QTest::keyClicks(c, QStringLiteral("999"));
        QCOMPARE(o.edit().text(QStringLiteral("Text_S00")), QStringLiteral("3,2599"));
        QCOMPARE(c->text(), QStringLiteral("3,2599"));
    }

    // Text that reaches a box without keystrokes (an assistive tool setting
    // it through the accessibility interface, an input method committing a
    // word) is what the window shows, so it is what Enter must write.
    void textWithoutKeys_data()
    {
        QTest::addColumn<QString>("via");
        QTest::newRow("acessibilidade") << "acessibilidade";
        QTest::newRow("metodo de entrada") << "metodo de entrada";
    }
    void textWithoutKeys()
    {
        QFETCH(QString, via);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        QLineEdit *c = box(o, "Text_S00");
        c->setFocus(Qt::TabFocusReason);
        if (via == "acessibilidade") {
            QAccessibleInterface *i = QAccessible::queryAccessibleInterface(c);
            QVERIFY(i);
            i->setText(QAccessible::Value, QStringLiteral("2,25"));
        } else {
            c->selectAll();
            QInputMethodEvent word(QString(), {});
            word.setCommitString(QStringLiteral("2,25"));
            QCoreApplication::sendEvent(c, &word);
        }
        QCOMPARE(c->text(), QStringLiteral("2,25"));
        QCOMPARE(o.edit().text(QStringLiteral("Text_S00")), QStringLiteral("2,25"));
        bool written = false;
        QObject::connect(&o.engine(), &Engine::tickFinished,
                         [&] { written = written || !o.edit().anyPending(); });
        QTest::keyClick(c, Qt::Key_Return);
        QVERIFY(o.edit().pending(QStringLiteral("Text_S00")));
        QVERIFY(waitFor([&] { return written; }));
        QCOMPARE(o.port.device().number(4, 2), 225u);
        o.engine().stop();
    }

    void enterEscapeAndFocus()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        QLineEdit *c = box(o, "Text_S08");
        const QString readDone = c->text();
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(c, &focusIn);
        QCOMPARE(o.edit().texto_foco, readDone);
        c->selectAll();
        QTest::keyClicks(c, QStringLiteral("7"));
        // Focus that comes back from a message box keeps the backup.
        QFocusEvent focusBack(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(c, &focusBack);
        QCOMPARE(o.edit().texto_foco, readDone);
        QTest::keyClick(c, Qt::Key_Escape);
        QCOMPARE(o.edit().text(QStringLiteral("Text_S08")), readDone);
        QCOMPARE(c->text(), readDone);

        c->selectAll();
        QTest::keyClicks(c, QStringLiteral("7"));
        QVERIFY(!o.edit().pending(QStringLiteral("Text_S08")));
        QTest::keyClick(c, Qt::Key_Return);
        QVERIFY(o.edit().pending(QStringLiteral("Text_S08")));
        QVERIFY2(o.messages.messages.empty(), qPrintable(o.messages.texts().join('|')));
        o.engine().stop();
    }

    // Typed into a tariff through the keyboard: letters and a point stay in
    // the box whole (no message box takes the keys after the first one), the
    // box turns red with the reason on the status line, an out-of-range value
    // stays red after its message, and Escape brings back the unit's value.
    // With VX_SCREENSHOT_FOLDER set, the refused value is saved there as
    // refused-value.png (the README's picture).
    void badInputMarkedOnWindow()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        QLineEdit *c = box(o, "Text_S00");
        const QString unitValue = c->text();
        StatusLine *line = o.window().statusLine();
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(c, &focusIn);
        o.messages.clear();
        for (const QString &typed : {QStringLiteral("abc"), QStringLiteral("3.75")}) {
            c->selectAll();
            QTest::keyClicks(c, typed);
            QCOMPARE(c->text(), typed);
            QCOMPARE(o.edit().text(QStringLiteral("Text_S00")), typed);
            QVERIFY(o.messages.messages.empty());
            QVERIFY2(c->styleSheet().contains(QStringLiteral("255,190,190")),
                     qPrintable(c->styleSheet()));
            QVERIFY2(
                line->connectionText().contains(QStringLiteral("O valor inserido não é válido!")),
                qPrintable(line->connectionText()));
        }
        QTest::keyClick(c, Qt::Key_Escape);
        QCOMPARE(c->text(), unitValue);
        QVERIFY(c->styleSheet().isEmpty());

        c->selectAll();
        QTest::keyClicks(c, QStringLiteral("999,99"));
        QTest::keyClick(c, Qt::Key_Return);
        const QString range = QStringLiteral("O valor da tarifa deve estar entre 0 e 655,35");
        QCOMPARE(o.messages.texts(), QStringList{range});
        QCOMPARE(c->text(), QStringLiteral("999,99"));
        QVERIFY(c->styleSheet().contains(QStringLiteral("255,190,190")));
        QVERIFY2(line->connectionText().contains(range), qPrintable(line->connectionText()));
        // Too long for its panel, the reason takes the whole line.
        QVERIFY2(line->currentMessage().contains(range), qPrintable(line->currentMessage()));
        QVERIFY(!o.edit().pending(QStringLiteral("Text_S00")));
        const QString folder = qEnvironmentVariable("VX_SCREENSHOT_FOLDER");
        if (!folder.isEmpty()) {
            o.window().resize(ScreenFit::kDesignWindow);
            o.window().show();
            QCoreApplication::processEvents();
            QVERIFY(o.window().grab().save(QDir(folder).filePath("refused-value.png")));
        }
        QFocusEvent focusBack(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(c, &focusBack);
        QTest::keyClick(c, Qt::Key_Escape);
        QCOMPARE(c->text(), unitValue);
        QVERIFY(c->styleSheet().isEmpty());
        o.engine().stop();
    }

    // A value the timer cannot hold as typed never looks written as typed: a
    // tariff with digits past the cents is shown rounded at Enter, and said;
    // the power downs, which a read shows one less than the count the timer
    // keeps, show what a read will once written, and it is said; typing past
    // a password's four digits is said. With VX_SCREENSHOT_DIR set, the
    // status line of each is saved.
    void valueShownAsTheTimerHoldsIt_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("held"); // in the timer, -1: nothing written
        QTest::addColumn<QString>("said");
        for (int idioma : {0, 1}) {
            const char *l = idioma == 1 ? " en" : " pt";
            QTest::addRow("tarifa arredondada%s", l) << idioma << "Text_S00"
                                                     << "1,234"
                                                     << "1,23" << 123 << "valueRounded";
            QTest::addRow("power down%s", l) << idioma << "Text_power"
                                             << "7"
                                             << "6" << 7 << "valueWrittenShown";
            QTest::addRow("password longa%s", l) << idioma << "Text_pwdtarifas"
                                                 << "12345"
                                                 << "1234" << -1 << "valueTooLong";
        }
    }
    void valueShownAsTheTimerHoldsIt()
    {
        QFETCH(int, idioma);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, held);
        QFETCH(QString, said);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        if (idioma == 1) o.window().mnu_EN_Click();
        QVERIFY(o.read());
        const Field &f = *fieldNamed(field);
        QLineEdit *c = box(o, f.name.data());
        c->setFocus(Qt::TabFocusReason);
        c->selectAll();
        QTest::keyClicks(c, typed);
        if (held >= 0) QTest::keyClick(c, Qt::Key_Return);
        const QString name = Captions::accessibleName(field, idioma);
        const QString text = Captions::caption(said, idioma);
        const QString expected = said == QLatin1String("valueTooLong")
                                     ? text.arg(name).arg(f.limit)
                                     : text.arg(name, typed, shown);
        if (said == QLatin1String("valueWrittenShown")) {
            QVERIFY(waitFor([&] { return !o.edit().pending(field); }));
            QCOMPARE(o.edit().control(field).write, WriteState::Written);
        }
        QCOMPARE(c->text(), shown);
        QCOMPARE(o.window().statusLine()->connectionText(), expected);
        saveScreenshot(
            o.window().statusLine(),
            qPrintable(QStringLiteral("status-%1-%2.png").arg(said, idioma == 1 ? "en" : "pt")));
        if (held >= 0) {
            QVERIFY(waitFor([&] { return !o.edit().pending(field); }));
            QCOMPARE(o.port.device().number(f.address, f.bytes), uint32_t(held));
            QCOMPARE(c->text(), shown);
        }
        o.engine().stop();
    }

    // The key reader's box tells what the unit's key does; the read puts that
    // on the model, and the box, its screen-reader name included, must show
    // it in either language.
    void ibuttonTickBoxCaption_data()
    {
        QTest::addColumn<int>("on");     // address 24
        QTest::addColumn<int>("source"); // address 187
        QTest::addColumn<QString>("caption");
        QTest::newRow("dados") << 1 << 5 << "iButton de Dados";
        QTest::newRow("apagar") << 1 << 0 << "iButton de Apagar";
        QTest::newRow("desligado") << 0 << 5 << "iButton";
    }
    void ibuttonTickBoxCaption()
    {
        QFETCH(int, on);
        QFETCH(int, source);
        QFETCH(QString, caption);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        auto *m = qobject_cast<QCheckBox *>(o.window().control(QStringLiteral("Check_ibut")));
        // A unit read before, with another caption, must not leave it behind.
        o.port.device().setByte(24, 1);
        o.port.device().setByte(187, on && source ? 0 : 5);
        QVERIFY(o.read());
        o.port.device().setByte(24, uint8_t(on));
        o.port.device().setByte(187, uint8_t(source));
        QVERIFY(o.read());
        QCOMPARE(o.edit().text(QStringLiteral("Check_ibut")), caption);
        QCOMPARE(m->text(), caption);
        QCOMPARE(m->isChecked(), on != 0);
        QCOMPARE(m->accessibleName(), QStringLiteral("Configuração ") + caption);
        o.window().action(QStringLiteral("mnu_EN"))->trigger();
        QCOMPARE(m->text(), caption);
        QCOMPARE(m->accessibleName(), QStringLiteral("Configuration ") + caption);
        // The other box's caption follows the language.
        QCOMPARE(
            qobject_cast<QCheckBox *>(o.window().control(QStringLiteral("Check_contador")))->text(),
            QStringLiteral("Electromechanical"));
        o.engine().stop();
    }

    void clickOnTickBox()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        auto *m = qobject_cast<QCheckBox *>(o.window().control(QStringLiteral("Check_contador")));
        QTest::mouseClick(m, Qt::LeftButton, {}, m->rect().center());
        QVERIFY(o.edit().checked(QStringLiteral("Check_contador")));
        QVERIFY(m->isChecked());
        QVERIFY(o.edit().pending(QStringLiteral("Check_contador")));
        // Only the program ticks the iButton box.
        auto *ib = o.window().control(QStringLiteral("Check_ibut"));
        QVERIFY(!ib->isEnabled());
    }

    void buttonsThroughReadClearAndTest()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QObject::connect(&o.edit(), &EditSet::controlChanged, [&](const QString &n) {
            if (kButtons.contains(n)) checkButtons(o);
        });
        QCOMPARE(enabledControls(o), (QStringList{"Command_ler", "Command_sair"}));

        QVERIFY(o.read());
        QCOMPARE(enabledControls(o), kButtons);

        bool reread = false;
        auto c = QObject::connect(&o.engine(), &Engine::readFinished, [&] { reread = true; });
        QVERIFY(o.clearAndConfirm());
        QVERIFY(!o.window().control(QStringLiteral("Command_clear"))->isEnabled());
        QVERIFY(!o.window().control(QStringLiteral("Command_sair"))->isEnabled());
        QVERIFY(waitFor([&] { return reread; }));
        QObject::disconnect(c);
        QVERIFY(o.window().control(QStringLiteral("Command_clear"))->isEnabled());

        // The display test runs inside one tick, in nested waits: what the
        // window showed meanwhile is seen from the change notifications.
        QStringList disabled;
        c = QObject::connect(&o.edit(), &EditSet::controlChanged, [&](const QString &n) {
            if (kButtons.contains(n) && !o.window().control(n)->isEnabled()) disabled << n;
        });
        o.click("Command_teste_disp");
        QVERIFY(waitFor([&] {
            return !o.edit().session.teste_disp_pedido &&
                   o.window().control(QStringLiteral("Command_teste_disp"))->isEnabled();
        }));
        QObject::disconnect(c);
        for (const char *n :
             {"Command_teste_disp", "Command_ler", "Command_testar", "Command_imprimir"})
            QVERIFY2(disabled.contains(QLatin1String(n)), n);
        QCOMPARE(enabledControls(o), kButtons);
        QVERIFY(o.window().control(QStringLiteral("Command_imprimir"))->isEnabled());

        o.click("Command_testar");
        QVERIFY(waitFor([&] { return !o.engine().active(); }));
        QCOMPARE(enabledControls(o), (QStringList{"Command_ler", "Command_sair"}));
        QCOMPARE(box(o, "Text_S00")->text(), QStringLiteral("-"));
        checkButtons(o);
    }

    // A value the write pass cannot send (Clear writes the counter back as
    // the window shows it) must not vanish silently: the technician is told
    // which field and which text were not written, once the pass is over.
    void valueRefusedOnWriteIsShown()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        const uint32_t counter = o.port.device().number(53, 2);
        o.port.device().setByte(100, 7);
        o.edit().setText(QStringLiteral("Text_contador"), QStringLiteral("12a"));
        o.edit().setText(QStringLiteral("Text_acumulado"), QStringLiteral("-"));
        // Clear writes what waits to be written as it stands; the rest as the
        // read just before the erase found it.
        o.edit().mark(
            QStringList{QStringLiteral("Text_contador"), QStringLiteral("Text_acumulado")});
        o.messages.clear();
        bool reread = false;
        QObject::connect(&o.engine(), &Engine::readFinished, [&] { reread = true; });
        QVERIFY(o.clearAndConfirm());
        QVERIFY(waitFor([&] { return reread; }));
        QCOMPARE(o.messages.messages.size(), size_t(1));
        const QString m = o.messages.messages[0].text;
        QCOMPARE(o.messages.messages[0].title, QStringLiteral("Manutenção"));
        QVERIFY2(m.contains(QStringLiteral("Configuração Electromecanico contagem (Text_contador): "
                                           "\"12a\"")),
                 qPrintable(m));
        QVERIFY2(m.contains(QStringLiteral("Acumulado (Text_acumulado): \"-\"")), qPrintable(m));
        QVERIFY2(m.contains(QStringLiteral("não foram escritos")), qPrintable(m));
        // The rest of Clear went through: the erase, and the counter it zeroes.
        QCOMPARE(o.port.device().byte(100), uint8_t(0));
        QVERIFY(counter != 0 || o.port.device().number(53, 2) == 0);
        o.engine().stop();
    }

    void hiddenStayHidden()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        for (const char *n : {"Text_acumulado", "Label_acumulado", "Command_novo", "command_copy1",
                              "command_paste1", "Label3"})
            QVERIFY2(!o.window().control(QLatin1String(n))->isVisible(), n);
        QVERIFY(o.window().control(QStringLiteral("Text_S00"))->isVisible());
        // Without --factory there is no factory menu.
        QVERIFY(!o.window().menu(QStringLiteral("mnu_fabrica")));
        o.engine().stop();
    }

    void statusLine()
    {
        PersistentData a;
        AppBench o(a);
        o.clock.set(QDateTime(QDate(2026, 12, 1), QTime(14, 5, 30)));
        QVERIFY(o.startUp());
        StatusLine *b = o.window().statusLine();
        b->refresh();
        QCOMPARE(b->panel(1), QStringLiteral("N TRAMAS = 0 BF ERRORS = 0 TO ERRORS = 0"));
        QCOMPARE(b->panel(2), makerPanel(QDate(2026, 12, 1)));
        QVERIFY(b->panel(2).startsWith(QStringLiteral("HALVOREN     ")));
        QCOMPARE(b->panel(3), clockPanel(QTime(14, 5, 30)));
        QCOMPARE(b->timer().interval(), 900);
        QVERIFY(b->timer().isActive());

        o.port.faults().failNext(2, emu::Fault::BadChecksum);
        QVERIFY(o.read());
        b->refresh();
        const LinkStats &s = o.app->link().stats;
        QVERIFY(s.n_tramas > 30);
        QCOMPARE(s.bf_erros, int16_t(2));
        QCOMPARE(b->panel(1), QStringLiteral("N TRAMAS = %1 BF ERRORS = 2 TO ERRORS = 0")
                                  .arg(static_cast<qint64>(s.n_tramas)));
        o.engine().stop();
    }

    void statusLineAdvancesWhileWaiting()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        StatusLine *b = o.window().statusLine();
        b->timer().setInterval(5);
        o.port.faults().faults = emu::Fault::NoReply;
        // The engine's first request is retried without end; the status line
        // must count the time-outs while it waits. Once it shows three, the
        // program is told to leave, which ends the retries.
        QStringList seen;
        bool faithful = true;
        QObject::connect(&b->timer(), &QTimer::timeout, [&] {
            seen << b->panel(1);
            faithful = faithful && b->panel(1) == countersPanel(o.app->link().stats);
            if (b->panel(1).contains(QStringLiteral("TO ERRORS = 3"))) {
                o.app->link().sair_pedido = true;
                o.engine().stop();
            }
        });
        o.click("Command_ler");
        // With sair_pedido the tick runs on to its exit tail and ends.
        QVERIFY(waitFor([&] { return o.end.ended(); }));
        QVERIFY(faithful);
        QVERIFY(seen.filter(QStringLiteral("TO ERRORS = 1")).size() > 0);
        QVERIFY(seen.filter(QStringLiteral("TO ERRORS = 3")).size() > 0);
    }
};

VX_TEST_CLASS(TstFormMain, Widgets)
#include "tst_formmain.moc"
