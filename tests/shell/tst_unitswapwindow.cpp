// Guards what the window shows and offers when the cable is moved to another
// timer without "Sair": a notice naming both units as soon as the new one
// answers, every value marked as not the unit's, and nothing that would use
// them on the new unit (Clear, the report, the PDF, "Pic -> PC", a saved
// configuration) until it is read.
#include "appbench.h"
#include "linknotice.h"
#include "messagetexts.h"
#include "testsuite.h"
#include "unitswapnotice.h"

#include <QAction>
#include <QLineEdit>
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

private:
    static QLineEdit *box(AppBench &o, const char *name)
    {
        return qobject_cast<QLineEdit *>(o.window().control(QLatin1String(name)));
    }
};

VX_TEST_CLASS(TstUnitSwapWindow, Widgets)
#include "tst_unitswapwindow.moc"
