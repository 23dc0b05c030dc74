// Guards the factory functions offered with --factory: the menu exists only
// then, its items mirror the hidden buttons (caption and state) and run their
// flows, and the defaults window is scaled, non-modal and stores only on
// "Aceitar". A factory item that acts while its button would be disabled, or
// a Cancel that stores anyway, is the fault.

#include "../records/recordsplace.h"
#include "appbench.h"
#include "captions.h"
#include "tables.h"
#include "testsuite.h"
#include "unitrecords.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace vx;

namespace {

Application::Setup factory(QSize screenSize = QSize(1024, 768))
{
    Application::Setup s;
    s.factoryMenu = true;
    s.screen = screenSize;
    return s;
}

QString buttonText(AppBench &o, const char *name)
{
    return qobject_cast<QPushButton *>(o.window().control(QLatin1String(name)))->text();
}

} // namespace

class TstFactory : public QObject
{
    Q_OBJECT

private slots:
    void menuOnlyWithOption()
    {
        PersistentData a;
        AppBench o(a, factory());
        QMenu *m = o.window().menu(QStringLiteral("mnu_fabrica"));
        QVERIFY(m);
        QCOMPARE(m->title(), QStringLiteral("&Fábrica")); // Alt+F
        QCOMPARE(o.window().action(QStringLiteral("mnu_novo"))->text(), QStringLiteral("Novo"));
        QCOMPARE(o.window().action(QStringLiteral("mnu_copiar"))->text(),
                 QStringLiteral("Pic -> PC"));
        QCOMPARE(o.window().action(QStringLiteral("mnu_colar"))->text(),
                 QStringLiteral("PC -> Pic"));
        o.window().aplicar_idioma(1);
        QCOMPARE(m->title(), QStringLiteral("&Factory"));
        QCOMPARE(o.window().action(QStringLiteral("mnu_predefinir"))->text(),
                 QStringLiteral("Default Values..."));
        // The hidden buttons' own captions are the same in both languages.
        QCOMPARE(o.window().action(QStringLiteral("mnu_copiar"))->text(),
                 QStringLiteral("Pic -> PC"));
    }

    void itemsFollowButtons()
    {
        PersistentData a;
        AppBench o(a, factory());
        QVERIFY(o.startUp());
        QAction *copy = o.window().action(QStringLiteral("mnu_copiar"));
        QAction *paste = o.window().action(QStringLiteral("mnu_colar"));
        QVERIFY(!copy->isEnabled());
        QVERIFY(!paste->isEnabled());
        QVERIFY(o.read());
        QVERIFY(copy->isEnabled());
        copy->trigger();
        QVERIFY(paste->isEnabled());
        // The buttons on the window follow the same model.
        QVERIFY(o.window().control(QStringLiteral("command_paste1"))->isEnabled());
        o.engine().stop();
    }

    // With --factory the factory's buttons are on the window, "Aceitar" among
    // them while a new unit is entered; without, they stay hidden.
    void factoryButtonsOnWindow_data()
    {
        QTest::addColumn<bool>("factoryMode");
        QTest::newRow("fabrica") << true;
        QTest::newRow("entregue") << false;
    }
    void factoryButtonsOnWindow()
    {
        QFETCH(bool, factoryMode);
        PersistentData a;
        Application::Setup setup = factory();
        setup.factoryMenu = factoryMode;
        AppBench o(a, setup);
        QVERIFY(o.startUp());
        for (const char *n : {"Command_novo", "Label3", "command_copy1", "command_paste1"})
            QVERIFY2(o.window().control(QLatin1String(n))->isVisible() == factoryMode, n);
        if (!factoryMode) return;
        QCOMPARE(buttonText(o, "command_copy1"), QStringLiteral("Pic -> PC"));
        QCOMPARE(buttonText(o, "command_paste1"), QStringLiteral("PC -> Pic"));
        QCOMPARE(qobject_cast<QLabel *>(o.window().control(QStringLiteral("Label3")))->text(),
                 QStringLiteral("Backup Informação"));
        o.click("Command_novo");
        QCOMPARE(o.edit().session.modo, uint8_t(1));
        QCOMPARE(buttonText(o, "Command_novo"), QStringLiteral("Aceitar"));
        QVERIFY(o.window().control(QStringLiteral("Command_novo"))->isEnabled());
        o.click("Command_sair"); // "Cancelar"
        QCOMPARE(buttonText(o, "Command_novo"), QStringLiteral("Novo"));
        o.engine().stop();
    }

    void newAcceptAndCancelFromMenu()
    {
        PersistentData a;
        AppBench o(a, factory());
        QVERIFY(o.startUp());
        QAction *newButton = o.window().action(QStringLiteral("mnu_novo"));
        newButton->trigger();
        QCOMPARE(o.edit().session.modo, uint8_t(1));
        QCOMPARE(newButton->text(), QStringLiteral("Aceitar"));
        QCOMPARE(buttonText(o, "Command_sair"), QStringLiteral("Cancelar"));
        // A screen reader announces what the button now does.
        QCOMPARE(o.window().control(QStringLiteral("Command_sair"))->accessibleName(),
                 QStringLiteral("Cancelar"));
        QVERIFY(!o.window().control(QStringLiteral("Command_ler"))->isEnabled());
        QCOMPARE(o.window().focusWidget(), o.window().control(QStringLiteral("text_numfab_ano")));
        // "Cancelar" is "Sair da Aplicação" while a new unit is entered.
        o.click("Command_sair");
        QVERIFY(!o.end.ended());
        QCOMPARE(buttonText(o, "Command_sair"), QStringLiteral("Fechar"));
        QCOMPARE(o.window().control(QStringLiteral("Command_sair"))->accessibleName(),
                 QStringLiteral("Fechar"));
        QCOMPARE(newButton->text(), QStringLiteral("Novo"));
        QVERIFY(o.read());
        o.engine().stop();
    }

    // A timer never set up (every byte 0) reads with "-" for its code, not
    // a NUL that drops a character, and "-" for a maintenance never made;
    // the box names the bytes behind the "-". "Novo" stays offered: it is
    // what such a unit is read for. "Novo" then "Aceitar" writes the unit
    // and logs it once, and the status line keeps saying so with its
    // numbers, past a notice's few seconds.
    void blankTimerSetUp_data()
    {
        QTest::addColumn<RecordsEngine>("engine");
        QTest::newRow("sqlite") << RecordsEngine::Sqlite;
        QTest::newRow("postgresql") << RecordsEngine::Postgres;
    }
    void blankTimerSetUp()
    {
        QFETCH(RecordsEngine, engine);
        RecordsPlace place;
        QString why;
        const RecordsPlace::Outcome made = place.make(engine, &why);
        if (made == RecordsPlace::Outcome::Skip) QSKIP(qPrintable(why));
        QVERIFY2(made == RecordsPlace::Outcome::Ready, qPrintable(why));
        PersistentData a(place.location);
        AppBench o(a, factory());
        o.port.device().setMemory({});
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        QCOMPARE(o.edit().text(QStringLiteral("text_numfab_ano")), QStringLiteral("-"));
        QCOMPARE(o.edit().text(QStringLiteral("Text_master_ibut")), QStringLiteral("-"));
        const QString tip = o.window().control(QStringLiteral("text_numfab_ano"))->toolTip();
        QVERIFY2(tip.contains(QStringLiteral("00 00 00")), qPrintable(tip));
        QVERIFY(o.window().control(QStringLiteral("Command_novo"))->isEnabled());

        o.click("Command_novo");
        QCOMPARE(buttonText(o, "Command_novo"), QStringLiteral("Aceitar"));
        const QString code = o.edit().text(QStringLiteral("text_numfab_ano"));
        o.click("Command_novo");
        QList<LogRow> log;
        QString error;
        QVERIFY(waitFor([&] {
            return UnitRecords::readLog(a.records, &log, &error) && log.size() == 1 &&
                   o.window().statusLine()->activity().contains(log.at(0).NFab);
        }));
        QVERIFY(log.at(0).NFab.startsWith(code));
        QCOMPARE(o.port.device().byte(46), uint8_t(code.at(0).unicode()));
        const QString said = o.window().statusLine()->activity();
        QVERIFY2(said.contains(QString::number(log.at(0).NMec)), qPrintable(said));
        if (engine == RecordsEngine::Sqlite)
            saveScreenshot(&o.window(), "blank-unit-accepted-pt.png");
        o.engine().stop();
    }

    void defaultsWindowScaled_data()
    {
        QTest::addColumn<QSize>("screenSize");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("accept");
        QTest::newRow("800x600") << QSize(800, 600) << QSize(400, 160) << QRect(50, 96, 130, 36);
        QTest::newRow("1600x900") << QSize(1600, 900) << QSize(800, 240)
                                  << QRect(100, 144, 260, 54);
    }
    void defaultsWindowScaled()
    {
        QFETCH(QSize, screenSize);
        QFETCH(QSize, window);
        QFETCH(QRect, accept);
        PersistentData a;
        AppBench o(a, factory(screenSize));
        QVERIFY(o.startUp());
        o.window().action(QStringLiteral("mnu_predefinir"))->trigger();
        auto *f = o.window().findChild<QWidget *>(QStringLiteral("Form_predefinir"));
        QVERIFY(f);
        QVERIFY(f->isVisible());
        QVERIFY(!f->isModal());
        QCOMPARE(f->windowTitle(), QStringLiteral("Predefinição de valores"));
        QCOMPARE(f->size(), window);
        QCOMPARE(f->findChild<QWidget *>(QStringLiteral("Command_aceitar"))->geometry(), accept);
        QCOMPARE(f->findChild<QLabel *>(QStringLiteral("Label_Predefinir"))->text(),
                 QStringLiteral("Aceitar valores como valor por defeito?"));
    }

    void cancelDoesNotStoreAcceptStores()
    {
        PersistentData a;
        AppBench o(a, factory());
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        o.engine().stop();
        const auto readTariff = [&] {
            QVariantMap row;
            o.app->databases().readSettings({QStringLiteral("TarS00")}, &row, nullptr);
            return row.value(QStringLiteral("TarS00")).toString();
        };
        const QString before = readTariff();
        QVERIFY(before != o.edit().text(QStringLiteral("Text_S00")));

        o.window().openDefaults();
        QPointer<QWidget> f = o.window().findChild<QWidget *>(QStringLiteral("Form_predefinir"));
        qobject_cast<QPushButton *>(f->findChild<QWidget *>(QStringLiteral("Command_cancelar")))
            ->click();
        QVERIFY(waitFor([&] { return f.isNull(); }));
        QCOMPARE(readTariff(), before);

        o.window().openDefaults();
        f = o.window().findChild<QWidget *>(QStringLiteral("Form_predefinir"));
        qobject_cast<QPushButton *>(f->findChild<QWidget *>(QStringLiteral("Command_aceitar")))
            ->click();
        QVERIFY(waitFor([&] { return f.isNull(); }));
        QCOMPARE(readTariff(), o.edit().text(QStringLiteral("Text_S00")));
    }
};

VX_TEST_CLASS(TstFactory, Widgets)
#include "tst_factory.moc"
