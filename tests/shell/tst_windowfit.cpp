// Guards the window on screens other than the design one: every caption is
// shown whole (stepping its font down where the control is too narrow, never
// cut as "Última Actualizacao do iBut" or "Electromecan"), the key reader's
// caption a read puts there too, the status line keeps the end of the port's
// path and the connection's state, and on a large screen the fonts grow with
// the controls. A caption, path or state that loses characters is the fault.

#include "appbench.h"
#include "connectionstate.h"
#include "fieldfit.h"
#include "screenfit.h"
#include "statusline.h"
#include "testsuite.h"
#include "windowbuilder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

using namespace vx;

class TstWindowFit : public QObject
{
    Q_OBJECT

private slots:
    void fontGrowth_data()
    {
        QTest::addColumn<QSize>("screenSize");
        QTest::addColumn<double>("growth");
        QTest::newRow("800x600") << QSize(800, 600) << 1.0;
        QTest::newRow("1024x768") << QSize(1024, 768) << 1.0;
        QTest::newRow("1280x1024") << QSize(1280, 1024) << 1.25;
        QTest::newRow("1920x1080") << QSize(1920, 1080) << 1080.0 / 768;
        QTest::newRow("largo e baixo") << QSize(2560, 720) << 1.0;
    }
    void fontGrowth()
    {
        QFETCH(QSize, screenSize);
        QFETCH(double, growth);
        QCOMPARE(ScreenFit::fontGrowth(screenSize), growth);
    }

    void captionsWholeAfterRead_data()
    {
        QTest::addColumn<QSize>("screenSize");
        QTest::addColumn<int>("idioma");
        QTest::newRow("800 pt") << QSize(800, 600) << 0;
        QTest::newRow("800 en") << QSize(800, 600) << 1;
        QTest::newRow("1024 pt") << QSize(1024, 768) << 0;
        QTest::newRow("1920 en") << QSize(1920, 1080) << 1;
    }
    void captionsWholeAfterRead()
    {
        QFETCH(QSize, screenSize);
        QFETCH(int, idioma);
        PersistentData a;
        Application::Setup setup;
        setup.screen = screenSize;
        setup.factoryMenu = true;
        AppBench o(a, setup);
        QVERIFY(o.startUp());
        // The key reader in data mode: its caption is the longest one a read
        // puts on the window.
        o.port.device().setByte(24, 1);
        o.port.device().setByte(187, 5);
        QVERIFY(o.read());
        idioma == 1 ? o.window().mnu_EN_Click() : o.window().mnu_pt_Click();
        QCOMPARE(o.edit().text(QStringLiteral("Check_ibut")), QStringLiteral("iButton de Dados"));
        // The status line fits its own texts (below).
        for (QWidget *w : o.window().centralWidget()->findChildren<QWidget *>())
            if (w->isVisible()) QVERIFY2(FieldFit::captionFits(w), qPrintable(w->objectName()));
        // Fonts follow the screen: larger ones than at the design size on a
        // large screen.
        const double tariffPoints =
            o.window().control(QStringLiteral("Text_S00"))->font().pointSizeF();
        QCOMPARE(tariffPoints > 9.75, ScreenFit::fontGrowth(screenSize) > 1.0);
        o.engine().stop();
    }

    // Captions make room rather than shrink: a button's caption too long for
    // one line takes two ("Sair da Aplicação" on an 800-pixel screen), and the
    // columns of the configuration leave the tick boxes room for theirs
    // ("Electromecanico"), so that each label, tick box and button is drawn
    // in the font of its neighbours. One drawn smaller is the fault.
    void captionsInTheirNeighboursFont_data()
    {
        QTest::addColumn<QSize>("screenSize");
        QTest::addColumn<int>("idioma");
        QTest::newRow("800 pt") << QSize(800, 600) << 0;
        QTest::newRow("800 en") << QSize(800, 600) << 1;
        QTest::newRow("1024 pt") << QSize(1024, 768) << 0;
        QTest::newRow("1024 en") << QSize(1024, 768) << 1;
    }
    void captionsInTheirNeighboursFont()
    {
        QFETCH(QSize, screenSize);
        QFETCH(int, idioma);
        PersistentData a;
        Application::Setup setup;
        setup.screen = screenSize;
        AppBench o(a, setup);
        QVERIFY(o.startUp());
        o.port.device().setByte(24, 1);
        o.port.device().setByte(187, 5);
        QVERIFY(o.read());
        idioma == 1 ? o.window().mnu_EN_Click() : o.window().mnu_pt_Click();
        QStringList smaller;
        for (QWidget *w : o.window().centralWidget()->findChildren<QWidget *>()) {
            const double design = WindowBuilder::designPoints(w);
            // A group box's title has its frame's whole width and no
            // neighbour: "Última Actualizacao do iButton" is wider than its
            // frame on an 800-pixel screen, and steps down.
            if (!w->isVisible() || design <= 0 ||
                !(qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)))
                continue;
            if (w->font().pointSizeF() < design)
                smaller << QStringLiteral("%1 %2 < %3")
                               .arg(w->objectName())
                               .arg(w->font().pointSizeF())
                               .arg(design);
        }
        QVERIFY2(smaller.isEmpty(), qPrintable(smaller.join(QStringLiteral(", "))));
        o.window().resize(screenSize);
        saveScreenshot(&o.window(), qPrintable(QStringLiteral("window-%1-%2.png")
                                                   .arg(screenSize.width())
                                                   .arg(idioma == 1 ? "en" : "pt")));
        o.engine().stop();
    }

    // A read on an 800-pixel screen through a port with a long path: the
    // path gives way in its middle, its end and the read's progress stay.
    void portPathKeepsItsEnd()
    {
        PersistentData a;
        Application::Setup setup;
        setup.screen = QSize(800, 600);
        AppBench o(a, setup);
        QVERIFY(o.startUp());
        StatusLine *line = o.window().statusLine();
        line->setPortPath(QStringLiteral("/tmp/vx308-bench-2026-12-10-morning/timers/link"));
        ConnectionState reading;
        reading.phase = ConnectionState::Phase::Reading;
        reading.step = 12;
        reading.steps = 40;
        line->showConnection(reading);
        auto *shown = line->findChild<QLabel *>(QStringLiteral("StatusBar1_connection"));
        QVERIFY(shown);
        const QString text = shown->text();
        QVERIFY2(text.startsWith(QStringLiteral("Porta: /tmp/")), qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("/link | A ler 12 de 40")), qPrintable(text));
        QVERIFY(QFontMetrics(shown->font()).horizontalAdvance(text) <=
                shown->contentsRect().width());
        // The whole path is in the tool tip.
        QVERIFY(shown->toolTip().contains(QStringLiteral("morning/timers/link")));
    }
};

VX_TEST_CLASS(TstWindowFit, Widgets)
#include "tst_windowfit.moc"
