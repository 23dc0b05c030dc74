// Guards the captions: every caption of the window exists in both languages
// and reaches its control, the title follows the language, the language menu
// stores its choice for the next run, and switching touches nothing but
// texts. A caption left in the other language, a menu that forgets the
// choice, or a switch that clears the technician's values is the fault.

#include "appbench.h"
#include "captions.h"
#include "modelbinding.h"
#include "screenfit.h"
#include "testsuite.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace vx;

namespace {

// What the window shows as a control's caption.
QString shown(FormMain &j, const QString &name)
{
    // Menus and their items carry an access key ("&Idioma"): shown underlined,
    // not as a character of the caption.
    if (QMenu *m = j.menu(name)) return Captions::plain(m->title());
    if (QAction *a = j.action(name)) return Captions::plain(a->text());
    QWidget *w = j.control(name);
    if (auto *g = qobject_cast<QGroupBox *>(w)) return g->title();
    if (auto *b = qobject_cast<QAbstractButton *>(w)) return b->text();
    if (auto *l = qobject_cast<QLabel *>(w)) return l->text();
    return QStringLiteral("<no control %1>").arg(name);
}

} // namespace

class TstCaptions : public QObject
{
    Q_OBJECT

private slots:
    void eightPointControls()
    {
        // Captioned controls that drop to 8 points on a small screen.
        QCOMPARE(Captions::countEightPoint(), 51);
        QVERIFY(!Captions::eightPoints(QStringLiteral("mnu_comunicação")));
        QVERIFY(!Captions::eightPoints(QStringLiteral("Text_S00")));
        QVERIFY(!Captions::eightPoints(QStringLiteral("Label_acumulado")));
        QVERIFY(Captions::eightPoints(QStringLiteral("Label_S00")));
    }

    // The other way round: a control built with a caption that the table
    // does not list stays in one language whatever the technician chooses.
    void noControlOutsideTable()
    {
        PersistentData a;
        AppBench o(a);
        o.window().aplicar_idioma(1);
        QSet<QString> listed;
        for (const std::span<const Text> table :
             {std::span<const Text>(kCaptions), std::span<const Text>(kFactoryCaptions),
              std::span<const Text>(kReportCaptions), std::span<const Text>(kPortCaptions),
              std::span<const Text>(kConfigurationCaptions), std::span<const Text>(kFixedCaptions)})
            for (const Text &l : table)
                listed.insert(Captions::text(l.key));
        QStringList outside;
        // Texts the model holds (the hidden buttons' "Novo"/"Aceitar") and
        // the status line's figures are values, not captions.
        const auto check = [&](const QObject *c, const QString &text) {
            const QString name = c->objectName();
            if (name.isEmpty() || text.isEmpty() || listed.contains(name) || o.edit().has(name) ||
                name.startsWith(QLatin1String("StatusBar")))
                return;
            outside << QStringLiteral("%1: %2").arg(name, text);
        };
        for (const QLabel *l : o.window().findChildren<QLabel *>())
            check(l, l->text());
        for (const QAbstractButton *b : o.window().findChildren<QAbstractButton *>())
            check(b, b->text());
        for (const QGroupBox *g : o.window().findChildren<QGroupBox *>())
            check(g, g->title());
        for (const QMenu *m : o.window().findChildren<QMenu *>())
            check(m, m->title());
        for (const QAction *ac : o.window().findChildren<QAction *>())
            if (!ac->isSeparator() && !ac->menu()) check(ac, ac->text());
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join(QLatin1Char('\n'))));
    }

    void eachCaptionOnItsControl_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::newRow("português") << 0;
        QTest::newRow("english") << 1;
    }
    void eachCaptionOnItsControl()
    {
        QFETCH(int, idioma);
        PersistentData a;
        AppBench o(a);
        o.window().aplicar_idioma(idioma);
        for (const std::span<const Text> table :
             {std::span<const Text>(kCaptions), std::span<const Text>(kFixedCaptions)})
            for (const Text &l : table)
                QCOMPARE(shown(o.window(), Captions::text(l.key)), textIn(l, idioma));
        QCOMPARE(o.window().windowTitle(), Captions::title(idioma));
        QCOMPARE(o.engine().titulo_base, Captions::title(idioma));
    }

    // The system's own wording, typos included, must survive any tidy-up.
    void exactCaptions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("pt");
        QTest::addColumn<QString>("en");
        QTest::newRow("manutenção") << "Label_master_ibut"
                                    << "Última Manutenção"
                                    << "Last Maintnance";
        QTest::newRow("contador") << "Check_contador"
                                  << "Electromecanico"
                                  << "Electromechanical";
        QTest::newRow("actualização") << "Frame_actualizacao"
                                      << "Última Actualizacao do iButton"
                                      << "Last iButton Update";
        QTest::newRow("tarifa") << "Label_pwdtarifas"
                                << "Tarifa"
                                << "CPH";
        QTest::newRow("ler") << "Command_ler"
                             << "Lêr"
                             << "Read";
        QTest::newRow("banda") << "Label_S00"
                               << " 00-08h"
                               << " 00-08h";
        QTest::newRow("porta") << "mnu_porta3"
                               << "Com 3"
                               << "Com 3";
        QTest::newRow("idioma") << "mnu_pt"
                                << "Português"
                                << "Português";
    }
    void exactCaptions()
    {
        QFETCH(QString, control);
        QFETCH(QString, pt);
        QFETCH(QString, en);
        QCOMPARE(Captions::caption(control, 0), pt);
        QCOMPARE(Captions::caption(control, 1), en);
    }

    void exactTitles()
    {
        QCOMPARE(Captions::title(0), QStringLiteral("Manutenção VX308 v3.5"));
        QCOMPARE(Captions::title(1), QStringLiteral("VX308 Maintnance v3.5"));
    }

    void unknownCodeChangesNothing()
    {
        PersistentData a;
        AppBench o(a);
        o.window().aplicar_idioma(1);
        o.window().aplicar_idioma(2);
        QCOMPARE(o.window().windowTitle(), Captions::title(1));
        QCOMPARE(shown(o.window(), QStringLiteral("Command_ler")), QStringLiteral("Read"));
    }

    void accessibleNames_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("pt");
        QTest::addColumn<QString>("en");
        QTest::newRow("tarifa") << "Text_S00"
                                << "Semana 00-08h"
                                << "Week 00-08h";
        QTest::newRow("fim de semana") << "Text_F12"
                                       << "Fim de Semana 12-15h"
                                       << "Weekend 12-15h";
        QTest::newRow("total") << "Text_total20"
                               << "Totais 20-24h"
                               << "Sub Totals 20-24h";
        QTest::newRow("password") << "Text_pwdtarifas"
                                  << "Password Tarifa"
                                  << "Password CPH";
        QTest::newRow("botão") << "Command_ler"
                               << "Lêr"
                               << "Read";
        QTest::newRow("indicador") << "Shape_bola2"
                                   << "Teste de Hardware Entrada 3"
                                   << "Hardware Test Input 3";
        QTest::newRow("número de série") << "Text_numfab_num"
                                         << "Configuração Número de Série número"
                                         << "Configuration Serial Number number";
    }
    void accessibleNames()
    {
        QFETCH(QString, control);
        QFETCH(QString, pt);
        QFETCH(QString, en);
        PersistentData a;
        AppBench o(a);
        o.window().aplicar_idioma(0);
        QCOMPARE(o.window().control(control)->accessibleName(), pt);
        o.window().aplicar_idioma(1);
        QCOMPARE(o.window().control(control)->accessibleName(), en);
    }

    void everyFieldButtonAndIndicatorHasName()
    {
        PersistentData a;
        AppBench o(a);
        const auto all = o.window().findChildren<QWidget *>();
        for (QWidget *w : all) {
            const QString n = w->objectName();
            const bool target = qobject_cast<QLineEdit *>(w) || qobject_cast<QCheckBox *>(w) ||
                                n.startsWith(QLatin1String("Shape_")) ||
                                qobject_cast<QPushButton *>(w);
            if (!target || n.isEmpty() || !o.edit().has(n) || !o.edit().control(n).visible)
                continue;
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(n));
        }
    }

    void englishMenuStoresAndNextRunOpensInEnglish()
    {
        PersistentData a;
        {
            AppBench o(a);
            QVERIFY(o.startUp());
            QCOMPARE(o.window().idioma(), 0);
            o.window().action(QStringLiteral("mnu_EN"))->trigger();
            QCOMPARE(o.window().windowTitle(), Captions::title(1));
            QVERIFY(o.window().action(QStringLiteral("mnu_EN"))->isChecked());
            QVERIFY(!o.window().action(QStringLiteral("mnu_pt"))->isChecked());
            QString stored;
            QVERIFY(o.app->databases().readLanguage(&stored, nullptr));
            QCOMPARE(stored, QStringLiteral("EN"));
        }
        AppBench o(a);
        QVERIFY(o.startUp());
        QCOMPARE(o.window().idioma(), 1);
        QCOMPARE(o.window().windowTitle(), Captions::title(1));
        QCOMPARE(shown(o.window(), QStringLiteral("Label1")), QStringLiteral("Costs per Hour"));
        QVERIFY(o.window().action(QStringLiteral("mnu_EN"))->isChecked());
        QCOMPARE(o.window().action(QStringLiteral("mnu_exportar"))->text(),
                 QStringLiteral("Export PDF..."));
        // Nothing read yet: nothing to export.
        QVERIFY(!o.window().action(QStringLiteral("mnu_exportar"))->isEnabled());
        QCOMPARE(o.app->splash().lblProductName()->text(), QStringLiteral("VX308 Maintnance"));
        QCOMPARE(o.app->splash().lblVersion()->text(), QStringLiteral("Version: 3.5"));
    }

    void choosingActiveLanguageRepeatsAll()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QAction *pt = o.window().action(QStringLiteral("mnu_pt"));
        pt->trigger(); // Qt would untick a ticked item; the model keeps it ticked
        QVERIFY(pt->isChecked());
        QVERIFY(!o.window().action(QStringLiteral("mnu_EN"))->isChecked());
        QString stored;
        QVERIFY(o.app->databases().readLanguage(&stored, nullptr));
        QCOMPARE(stored, QStringLiteral("PT"));
        QCOMPARE(o.window().windowTitle(), Captions::title(0));
    }

    void switchDuringConnectionOnlyChangesTexts()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        QVERIFY(o.read());
        // The read adds the device version to the title.
        QVERIFY(o.window().windowTitle() != Captions::title(0));
        const QString tariff = o.edit().text(QStringLiteral("Text_S00"));
        QVERIFY(tariff != QStringLiteral("-"));
        QFont before = o.window().control(QStringLiteral("Label_S00"))->font();
        o.window().action(QStringLiteral("mnu_EN"))->trigger();
        QCOMPARE(o.window().windowTitle(), Captions::title(1));
        QCOMPARE(o.edit().text(QStringLiteral("Text_S00")), tariff);
        QCOMPARE(qobject_cast<QLineEdit *>(o.window().control(QStringLiteral("Text_S00")))->text(),
                 tariff);
        QVERIFY(o.edit().checked(QStringLiteral("mnu_porta1")));
        // On a 768-line screen the captions stay at 8 points after a switch.
        QCOMPARE(o.window().control(QStringLiteral("Label_S00"))->font().pointSizeF(), 8.0);
        QCOMPARE(o.window().control(QStringLiteral("Label_S00"))->font(), before);
        o.engine().stop();
    }

    // Access keys: one per menu title, not shared within the bar, none in
    // the captions the report and documents print.
    void mnemonics_data()
    {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("marked");
        QTest::newRow("barra pt") << QStringList{"Comunicação", "Idioma", "Relatório",
                                                 "Configuração", "Fábrica"}
                                  << QStringList{"&Comunicação", "&Idioma", "&Relatório",
                                                 "C&onfiguração", "&Fábrica"};
        QTest::newRow("barra en") << QStringList{"Communication", "Language", "Report",
                                                 "Configuration", "Factory"}
                                  << QStringList{"&Communication", "&Language", "&Report",
                                                 "C&onfiguration", "&Factory"};
        QTest::newRow("portas") << QStringList{"Com 1", "Com 2", "Procurar"}
                                << QStringList{"&Com 1", "Com &2", "&Procurar"};
        QTest::newRow("e comercial")
            << QStringList{"A && B", "&Novo"} << QStringList{"&A && B", "&Novo"};
    }
    void mnemonics()
    {
        QFETCH(QStringList, captions);
        QFETCH(QStringList, marked);
        QCOMPARE(Captions::withMnemonics(captions), marked);
        for (qsizetype i = 0; i < marked.size(); ++i)
            QCOMPARE(Captions::plain(marked[i]), Captions::plain(captions[i]));
    }

    // Alt+letter opens its menu and F10 the first one; the captions in the
    // table keep no marker.
    void menusByKeyboard()
    {
        PersistentData a;
        AppBench o(a);
        QVERIFY(o.startUp());
        FormMain &w = o.window();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.menu(QStringLiteral("mnu_idioma"))->title(), QStringLiteral("&Idioma"));
        QCOMPARE(Captions::caption(QStringLiteral("mnu_idioma"), 0), QStringLiteral("Idioma"));
        QTest::keyClick(&w, Qt::Key_F10);
        QVERIFY(w.menuBar()->activeAction());
        QTest::keyClick(w.menuBar(), Qt::Key_Escape);
        QTest::keyClick(&w, Qt::Key_Escape);
        QMenu *languages = w.menu(QStringLiteral("mnu_idioma"));
        QTest::keyClick(&w, Qt::Key_I, Qt::AltModifier);
        QVERIFY(waitFor([&] { return languages->isVisible(); }, 2000));
        QVERIFY(languages->actions().first()->text().contains(QLatin1Char('&')));
        languages->close();
    }

    void unknownStoredLanguageStaysPortuguese_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("minúsculas") << "pt";
        QTest::newRow("vazio") << "";
        QTest::newRow("outro") << "FR";
        QTest::newRow("en minúsculas") << "en";
    }
    void unknownStoredLanguageStaysPortuguese()
    {
        QFETCH(QString, stored);
        PersistentData a;
        {
            AppBench o(a);
            QVERIFY(o.app->databases().provision(nullptr, nullptr));
            QVERIFY(
                o.app->databases().writeSettings({{QStringLiteral("idioma"), stored}}, nullptr));
        }
        AppBench o(a);
        QVERIFY(o.startUp());
        QCOMPARE(o.window().idioma(), 0);
        QCOMPARE(o.window().windowTitle(), Captions::title(0));
        QVERIFY(o.window().action(QStringLiteral("mnu_pt"))->isChecked());
        QVERIFY(!o.window().action(QStringLiteral("mnu_EN"))->isChecked());
        QCOMPARE(o.app->splash().lblProductName()->text(), QStringLiteral("Manutenção VX308"));
        QCOMPARE(o.app->splash().lblVersion()->text(), QStringLiteral("Versão 3.5"));
    }
};

VX_TEST_CLASS(TstCaptions, Widgets)
#include "tst_captions.moc"
