// Guards fitting the window to the screen: the proportional rule from the
// 1024 x 768 design (with the 640-pixel exception for the window's own size
// only), the status-bar panels, and the 8-point rule for screens under 800
// lines. Controls cut off or overlapping on another screen, or unreadable
// fonts on a large one, are the faults.

#include "appbench.h"
#include "captions.h"
#include "fieldfit.h"
#include "screenfit.h"
#include "testsuite.h"
#include "windowbuilder.h"
#include "windowlayout.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>

using namespace vx;

class TstScreenFit : public QObject
{
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<QSize>("screenSize");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("readButton"); // design (876, 150, 140, 52)
        QTest::addColumn<int>("panel1");
        QTest::addColumn<bool>("eight");
        QTest::newRow("640x480") << QSize(640, 480) << 96.0 << QSize(1016, 768)
                                 << QRect(548, 94, 88, 33) << 292 << true;
        QTest::newRow("1024x768") << QSize(1024, 768) << 96.0 << QSize(1024, 768)
                                  << QRect(876, 150, 140, 52) << 467 << true;
        QTest::newRow("1280x1024") << QSize(1280, 1024) << 96.0 << QSize(1280, 1024)
                                   << QRect(1095, 200, 175, 69) << 584 << false;
        QTest::newRow("1600x900") << QSize(1600, 900) << 96.0 << QSize(1600, 900)
                                  << QRect(1369, 176, 219, 61) << 730 << false;
        // 120 dpi is 12 twips per pixel: 900 lines measure 720 at 15.
        QTest::newRow("1600x900 a 120 dpi") << QSize(1600, 900) << 120.0 << QSize(1600, 900)
                                            << QRect(1369, 176, 219, 61) << 730 << true;
    }
    void rules()
    {
        QFETCH(QSize, screenSize);
        QFETCH(double, dpi);
        QFETCH(QSize, window);
        QFETCH(QRect, readButton);
        QFETCH(int, panel1);
        QFETCH(bool, eight);
        QCOMPARE(ScreenFit::windowSize(screenSize), window);
        QCOMPARE(ScreenFit::scale(QRect(876, 150, 140, 52), screenSize), readButton);
        QCOMPARE(ScreenFit::panelWidth(467, screenSize), panel1);
        QCOMPARE(ScreenFit::eightPointFont(screenSize.height(), dpi), eight);
    }

    void limitOf800Lines()
    {
        QVERIFY(ScreenFit::eightPointFont(799));
        QVERIFY(!ScreenFit::eightPointFont(800));
        // A resolution the screen does not report is taken as 96 dpi.
        QVERIFY(ScreenFit::eightPointFont(768, 0.0));
    }

    void loadedWindow_data() { rules_data(); }
    void loadedWindow()
    {
        QFETCH(QSize, screenSize);
        QFETCH(double, dpi);
        QFETCH(QRect, readButton);
        QFETCH(int, panel1);
        QFETCH(bool, eight);
        PersistentData a;
        AppBench o(a);
        o.window().setScreenSize(screenSize, dpi);
        o.window().load();
        QCOMPARE(o.window().control(QStringLiteral("Command_ler"))->geometry(), readButton);
        // Controls inside a group box scale relative to the box.
        QCOMPARE(o.window().control(QStringLiteral("Text_S08"))->geometry(),
                 ScreenFit::scale(QRect(128, 50, 104, 26), screenSize));
        QCOMPARE(o.window().control(QStringLiteral("ProgressBar_baterias"))->geometry(),
                 ScreenFit::scale(QRect(348, 518, 192, 24), screenSize));
        auto *p1 =
            o.window().statusBar()->findChild<QLabel *>(QStringLiteral("StatusBar1_painel1"));
        QVERIFY(p1);
        QCOMPARE(p1->width(), panel1);

        // Fonts start from their kind's size grown with a larger screen, or
        // from 8 points on a small one, and step down only as far as the
        // whole caption needs.
        const double growth = ScreenFit::fontGrowth(screenSize);
        int eightPoints = 0;
        for (const Placement &l : kWindowLayout) {
            const QString name = Captions::text(l.name);
            QWidget *w = o.window().control(name);
            const double start =
                eight && Captions::eightPoints(name) ? 8.0 : WindowBuilder::kindPoints(w) * growth;
            QVERIFY2(qFuzzyCompare(WindowBuilder::designPoints(w), start), qPrintable(name));
            QVERIFY2(w->font().pointSizeF() <= start + 1e-9, qPrintable(name));
            // From 800 pixels across every caption is whole; a 640-pixel
            // screen leaves a tick box too narrow for any size.
            if (screenSize.width() >= 800) QVERIFY2(FieldFit::captionFits(w), qPrintable(name));
            eightPoints += qFuzzyCompare(WindowBuilder::designPoints(w), 8.0) ? 1 : 0;
        }
        QCOMPARE(eightPoints, eight ? 51 : 0);
        // The window fits the screen's width: nothing forces it wider.
        QVERIFY(o.window().minimumSizeHint().width() <= screenSize.width());
        // Text boxes keep their design font, grown with a larger screen.
        QCOMPARE(o.window().control(QStringLiteral("Text_S00"))->font().pointSizeF(),
                 9.75 * growth);
    }

    void nothingOverlapsInDesign()
    {
        // Controls of the same parent, other than panels and the headings on
        // them, must not overlap at the design size.
        for (size_t i = 0; i < kWindowLayout.size(); ++i) {
            for (size_t j = i + 1; j < kWindowLayout.size(); ++j) {
                const Placement &a = kWindowLayout[i];
                const Placement &b = kWindowLayout[j];
                if (a.parent != b.parent || a.hidden || b.hidden || a.kind == WidgetKind::Panel ||
                    b.kind == WidgetKind::Panel)
                    continue;
                const QRect ra(a.x, a.y, a.w, a.h), rb(b.x, b.y, b.w, b.h);
                QVERIFY2(!ra.intersects(rb),
                         qPrintable(Captions::text(a.name) + " / " + Captions::text(b.name)));
            }
        }
    }

    void everythingFitsDesignScreen()
    {
        for (const Placement &l : kWindowLayout) {
            if (!l.parent.empty()) continue;
            QVERIFY2(l.x >= 0 && l.x + l.w <= 1024, qPrintable(Captions::text(l.name)));
            // Below the title, menu and status bars of a maximized window.
            QVERIFY2(l.y >= 0 && l.y + l.h <= 694, qPrintable(Captions::text(l.name)));
        }
    }
};

VX_TEST_CLASS(TstScreenFit, Widgets)
#include "tst_screenfit.moc"
