// Guards the configuration menu of the window: offered only while a read unit
// is connected, in the window's language; comparing shows the differences
// side by side and writes nothing; restoring shows them, asks, and writes only
// when the technician says yes, "Power Down" as the timer held it; a damaged
// file is named and writes nothing.
#include "appbench.h"
#include "configurationdialog.h"
#include "configurationmenu.h"
#include "fixedfiledialogs.h"
#include "testsuite.h"

#include <QAction>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <sys/stat.h>

using namespace vx;

namespace {

ConfigurationMenu &menuOf(AppBench &o)
{
    auto *m = o.window().findChild<ConfigurationMenu *>();
    Q_ASSERT(m);
    return *m;
}

QStringList enabledItems(AppBench &o)
{
    QStringList names;
    for (const QAction *a : menuOf(o).menu()->actions())
        if (a->isEnabled()) names << a->objectName();
    return names;
}

// Waits for the write pass that takes every marked value.
bool written(AppBench &o)
{
    return waitFor([&] { return !o.edit().anyPending() && !o.engine().inTick(); });
}

} // namespace

class TstConfigurationMenu : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void offeredWhileConnectedInTheWindowsLanguage()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(enabledItems(o).isEmpty());
        QVERIFY(o.read());
        QCOMPARE(enabledItems(o).size(), 3);
        o.window().aplicar_idioma(1);
        QCOMPARE(o.window().menu(QStringLiteral("mnu_configuracao"))->title(),
                 QStringLiteral("C&onfiguration")); // Alt+O: "Communication" has C
        QCOMPARE(o.window().action(QStringLiteral("mnu_repor_configuracao"))->text(),
                 QStringLiteral("Restore configuration…"));
        o.window().aplicar_idioma(0);
        QCOMPARE(o.window().action(QStringLiteral("mnu_guardar_configuracao"))->text(),
                 QStringLiteral("Guardar configuração…"));
        o.click("Command_testar");
        QVERIFY(enabledItems(o).isEmpty());
    }

    void differencesShownThenWrittenOnlyIfAccepted_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("all");
        QTest::addColumn<int>("tariffAfter"); // cents at address 4
        QTest::addColumn<int>("powerAfter");  // what the timer holds at 70
        QTest::newRow("compare") << false << true << true << 999 << 9;
        QTest::newRow("restore declined") << true << false << true << 999 << 9;
        QTest::newRow("restore settings") << true << true << false << 200 << 9;
        QTest::newRow("restore all") << true << true << true << 200 << 6;
    }
    void differencesShownThenWrittenOnlyIfAccepted()
    {
        QFETCH(bool, restore);
        QFETCH(bool, accept);
        QFETCH(bool, all);
        QFETCH(int, tariffAfter);
        QFETCH(int, powerAfter);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        ConfigurationMenu &menu = menuOf(o);
        const QString file = m_dir.filePath(QStringLiteral("unit.json"));
        vx::FixedFileDialogs dialogs(file);
        o.window().setFileDialogs(&dialogs);
        menu.saveConfiguration();
        QVERIFY(QFile::exists(file));

        // Another unit: other tariff and power-down count, read anew.
        QCOMPARE(o.port.device().number(70, 2), 6u);
        o.port.device().setByte(4, 999 % 256);
        o.port.device().setByte(5, 999 / 256);
        o.port.device().setByte(70, 9);
        o.click("Command_testar");
        QVERIFY(o.read());

        QStringList shownRows;
        menu.showDialog = [&](ConfigurationDialog &dialog) {
            dialog.setScope(all ? ConfigFile::Scope::All : ConfigFile::Scope::Settings);
            const QTableWidget *t = dialog.table();
            for (int row = 0; row < t->rowCount(); ++row)
                shownRows << t->item(row, 0)->data(Qt::UserRole).toString() + QLatin1Char(' ') +
                                 t->item(row, 1)->text() + QLatin1Char(' ') +
                                 t->item(row, 2)->text();
            return accept;
        };
        if (restore)
            menu.restoreConfiguration();
        else
            menu.compareWithFile();
        QStringList expectedRows{QStringLiteral("Text_S00 2,00 9,99")};
        if (all) expectedRows << QStringLiteral("Text_power 5 8");
        QCOMPARE(shownRows, expectedRows);
        QVERIFY(written(o));
        QCOMPARE(o.port.device().number(4, 2), uint32_t(tariffAfter));
        QCOMPARE(o.port.device().number(70, 2), uint32_t(powerAfter));
        // The window shows what a read would show.
        QCOMPARE(o.edit().text(QStringLiteral("Text_power")), QString::number(powerAfter - 1));
        QVERIFY(o.messages.messages.empty());
        o.engine().stop();
    }

    void damagedFileIsNamedAndWritesNothing()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        const QString file = m_dir.filePath(QStringLiteral("damaged.json"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("{\"format\": \"vx308-configuration\", \"version\": 1");
        f.close();
        ConfigurationMenu &menu = menuOf(o);
        vx::FixedFileDialogs dialogs(file);
        o.window().setFileDialogs(&dialogs);
        bool asked = false;
        menu.showDialog = [&](ConfigurationDialog &) { return asked = true; };
        menu.restoreConfiguration();
        QVERIFY(!asked);
        QVERIFY(!o.edit().anyPending());
        QCOMPARE(o.messages.messages.size(), size_t(1));
        QVERIFY2(o.messages.messages.front().text.contains(file),
                 qPrintable(o.messages.messages.front().text));
        o.engine().stop();
    }

    // A file saved from another unit: restoring every value would give this
    // timer that unit's identity, so the dialog says so, naming both units,
    // before it asks; the settings alone leave the identity alone.
    void otherUnitsFileIsSaidBeforeRestoring_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("settings") << false;
        QTest::newRow("all") << true;
    }
    void otherUnitsFileIsSaidBeforeRestoring()
    {
        QFETCH(bool, all);
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        ConfigurationMenu &menu = menuOf(o);
        const QString file = m_dir.filePath(QStringLiteral("other-unit.json"));
        vx::FixedFileDialogs dialogs(file);
        o.window().setFileDialogs(&dialogs);
        menu.saveConfiguration();
        QString error;
        auto other = ConfigFile::load(file, &error);
        QVERIFY2(other, qPrintable(error));
        const QString unit = other->unitName(0);
        other->setValue(QStringLiteral("Text_sn_apl"), QStringLiteral("777"));
        QVERIFY2(other->save(file, &error), qPrintable(error));

        QString warning;
        menu.showDialog = [&](ConfigurationDialog &dialog) {
            dialog.setScope(all ? ConfigFile::Scope::All : ConfigFile::Scope::Settings);
            warning = dialog.otherUnitWarning();
            return false;
        };
        menu.restoreConfiguration();
        if (all) {
            QVERIFY2(warning.contains(other->unitName(0)) && warning.contains(unit) &&
                         warning.contains(QStringLiteral("other-unit.json")),
                     qPrintable(warning));
        } else {
            QVERIFY2(warning.isEmpty(), qPrintable(warning));
        }
        QVERIFY(!o.edit().anyPending());
        o.engine().stop();
    }

    // A save that cannot be made is said, naming the file; what held the
    // name is left as it was.
    void failedSaveIsSaid()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        const QString fifo = m_dir.filePath(QStringLiteral("fifo.json"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        ConfigurationMenu &menu = menuOf(o);
        vx::FixedFileDialogs dialogs(fifo);
        o.window().setFileDialogs(&dialogs);
        menu.saveConfiguration();
        QVERIFY(!QFileInfo(fifo).isFile());
        QCOMPARE(o.messages.messages.size(), size_t(1));
        QVERIFY2(o.messages.messages.front().text.contains(fifo),
                 qPrintable(o.messages.messages.front().text));
        o.engine().stop();
    }
};

VX_TEST_CLASS(TstConfigurationMenu, Widgets)
#include "tst_configurationmenu.moc"
