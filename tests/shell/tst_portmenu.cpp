// Guards the window's side of the port menu and the status line: the system's
// ports appear below "Com 1" .. "Com 4" and are read again each time the menu
// opens, the four items stay as they were, the status line names the port in
// use and follows the connection through a read, a confirmed value is painted
// waiting and then written, and every value of a read is shown whole on
// small and large screens. A stale port list, a status line that lies about
// the connection, and a date cut to "2-03-2025" are the faults.

#include "appbench.h"
#include "captions.h"
#include "fieldfit.h"
#include "portchooser.h"
#include "portmenu.h"
#include "statusline.h"
#include "testsuite.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QSettings>
#include <QTest>

using namespace vx;

class TstPortMenu : public QObject
{
    Q_OBJECT

    static QStringList menuTexts(QMenu *menu)
    {
        QStringList texts;
        for (const QAction *a : menu->actions())
            // Items carry an access key ("&Com 1"), underlined, not a character.
            texts << (a->isSeparator() ? QStringLiteral("--") : Captions::plain(a->text()));
        return texts;
    }

private slots:
    void systemPortsBelowComItemsRefreshedOnOpen()
    {
        PersistentData data;
        AppBench o(data);
        QVERIFY(o.startUp());
        QMenu *menu = o.window().menu(QStringLiteral("mnu_comunicação"));
        QVERIFY(menu);
        o.portInfos.setPorts({{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"),
                               QStringLiteral("FTDI"), QStringLiteral("A50285BI")}});
        emit menu->aboutToShow();
        QCOMPARE(menuTexts(menu),
                 (QStringList{"Com 1", "Com 2", "Com 3", "Com 4", "--",
                              "/dev/ttyUSB0  FT232R USB UART (FTDI, A50285BI)", "--", "Procurar"}));
        o.portInfos.setPorts({});
        emit menu->aboutToShow();
        QCOMPARE(menuTexts(menu), (QStringList{"Com 1", "Com 2", "Com 3", "Com 4", "--",
                                               "(nenhuma porta do sistema)", "--", "Procurar"}));
        o.window().mnu_EN_Click();
        emit menu->aboutToShow();
        QCOMPARE(menuTexts(menu).mid(5), (QStringList{"(no system ports)", "--", "Search"}));
    }

    void statusLineFollowsPortAndRead()
    {
        PersistentData data;
        AppBench o(data);
        QVERIFY(o.startUp());
        StatusLine *status = o.window().statusLine();
        QCOMPARE(status->connectionText(), QStringLiteral("Porta: Com 1 | Sem porta aberta"));
        QVERIFY(o.app->ports().choose(2) == PortChooser::Result::Chosen);
        emit o.window().portMenu().portChanged();
        QVERIFY(status->connectionText().startsWith(QStringLiteral("Porta: Com 2 |")));

        auto *bar = status->findChild<QProgressBar *>(QStringLiteral("StatusBar1_progress"));
        QVERIFY(bar);
        int largestShown = 0;
        QObject::connect(&o.engine(), &Engine::readProgress, [&](int, int) {
            QVERIFY(status->connectionText().contains(QStringLiteral("A ler")));
            QVERIFY(bar->isVisibleTo(status));
            largestShown = std::max(largestShown, bar->value());
        });
        QVERIFY(o.read());
        QCOMPARE(largestShown, bar->maximum());
        QVERIFY(status->connectionText().endsWith(QStringLiteral("| Ligado")));
        QVERIFY(!bar->isVisibleTo(status));
        // The three panels keep what they showed.
        QVERIFY(status->panel(1).startsWith(QStringLiteral("N TRAMAS = ")));
        QVERIFY(status->panel(2).startsWith(QStringLiteral("HALVOREN     ")));
    }

    // The choice goes to the user's settings file, unless the ports came on
    // the command line (--demo, --com), which must not overwrite it.
    void choiceRememberedUnlessPortsGiven_data()
    {
        QTest::addColumn<bool>("fromCommandLine");
        QTest::newRow("menu") << false;
        QTest::newRow("linha de comando") << true;
    }

    void choiceRememberedUnlessPortsGiven()
    {
        QFETCH(bool, fromCommandLine);
        PersistentData data;
        Application::Setup setup;
        setup.portsFromCommandLine = fromCommandLine;
        AppBench o(data, setup);
        QVERIFY(o.startUp());
        QCOMPARE(o.app->ports().choose(2), PortChooser::Result::Chosen);
        const QSettings user(data.dir.filePath(QStringLiteral("vx308-maint.ini")),
                             QSettings::IniFormat);
        QCOMPARE(user.value(QStringLiteral("port/comm")).toInt(), fromCommandLine ? 0 : 2);
    }

    void connectionTexts_data()
    {
        QTest::addColumn<int>("phase");
        QTest::addColumn<int>("idioma");
        QTest::addColumn<QString>("text");
        using P = ConnectionState::Phase;
        QTest::newRow("pt sem porta")
            << int(P::NoPort) << 0 << "Porta: /dev/ttyUSB0 | Sem porta aberta";
        QTest::newRow("en aberta") << int(P::PortOpen) << 1 << "Port: /dev/ttyUSB0 | Port open";
        QTest::newRow("pt a ler") << int(P::Reading) << 0 << "Porta: /dev/ttyUSB0 | A ler 4 de 33";
        QTest::newRow("en a ler") << int(P::Reading) << 1 << "Port: /dev/ttyUSB0 | Reading 4 of 33";
        QTest::newRow("en ligado") << int(P::Connected) << 1 << "Port: /dev/ttyUSB0 | Connected";
        QTest::newRow("pt sem resposta")
            << int(P::NotAnswering) << 0 << "Porta: /dev/ttyUSB0 | Sem resposta";
    }

    void connectionTexts()
    {
        QFETCH(int, phase);
        QFETCH(int, idioma);
        QFETCH(QString, text);
        const ConnectionState s{static_cast<ConnectionState::Phase>(phase), 4, 33};
        QCOMPARE(StatusLine::connectionText(s, QStringLiteral("/dev/ttyUSB0"), idioma), text);
    }

    void confirmedValuePaintedUntilWritten()
    {
        PersistentData data;
        AppBench o(data);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        auto *field = qobject_cast<QLineEdit *>(o.window().control(QStringLiteral("Text_S00")));
        QVERIFY(field);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("2,25"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(o.edit().control(QStringLiteral("Text_S00")).write, WriteState::Pending);
        QVERIFY(field->styleSheet().contains(QStringLiteral("255,236,150")));
        QVERIFY(o.window().statusLine()->connectionText().contains(QStringLiteral("escrito")));
        QVERIFY(waitFor([&] {
            return o.edit().control(QStringLiteral("Text_S00")).write == WriteState::Written;
        }));
        QVERIFY(field->styleSheet().contains(QStringLiteral("190,240,190")));
        QVERIFY(o.window().statusLine()->connectionText().contains(
            QStringLiteral("escrito no temporizador")));
        QCOMPARE(o.port.device().memory()[4] + 256 * o.port.device().memory()[5], 225);
    }

    // Every value a read fills in is shown whole, on the smallest and the
    // largest screens the tool meets.
    void everyValueWhole_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1024x768") << QSize(1024, 768);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
    }

    void everyValueWhole()
    {
        QFETCH(QSize, screen);
        PersistentData data;
        Application::Setup setup;
        setup.screen = screen;
        AppBench o(data, setup);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        o.edit().setText(QStringLiteral("Text_rtc_data"), QStringLiteral("28-12-2025"));
        QStringList cut;
        for (QLineEdit *box : o.window().findChildren<QLineEdit *>())
            if (box->isVisibleTo(&o.window()) && !FieldFit::fits(box))
                cut << QStringLiteral("%1: %2").arg(box->objectName(), box->text());
        // The status line's date, time, counters and port too.
        StatusLine *status = o.window().statusLine();
        status->refresh();
        QCoreApplication::processEvents();
        // The port panel takes the room the others leave in the window; the
        // test's own screen may be smaller than the one fitted to, so it is
        // checked only when the window got the whole width.
        const bool wholeWidth = o.window().width() >= screen.width();
        for (const QLabel *panel : status->findChildren<QLabel *>()) {
            if (!wholeWidth && panel->objectName() == QLatin1String("StatusBar1_connection"))
                continue;
            const QMargins m = panel->contentsMargins();
            const int room = panel->width() - m.left() - m.right() - 2 * panel->frameWidth();
            if (panel->fontMetrics().horizontalAdvance(panel->text()) > room)
                cut << QStringLiteral("%1: %2").arg(panel->objectName(), panel->text());
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }
};

VX_TEST_CLASS(TstPortMenu, Widgets)
#include "tst_portmenu.moc"
