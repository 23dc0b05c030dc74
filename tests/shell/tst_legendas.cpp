// Guards the captions: every caption of the window exists in both languages
// and reaches its control, the title follows the language, the language menu
// stores its choice for the next run, and switching touches nothing but
// texts. A caption left in the other language, a menu that forgets the
// choice, or a switch that clears the technician's values is the fault.

#include "ajusteecra.h"
#include "legendas.h"
#include "ligacaomodelo.h"
#include "oficina.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace vx;

namespace {

// What the window shows as a control's caption.
QString mostrado(FormMain &j, const QString &nome)
{
    if (QMenu *m = j.menu(nome)) return m->title();
    if (QAction *a = j.accao(nome)) return a->text();
    QWidget *w = j.controlo(nome);
    if (auto *g = qobject_cast<QGroupBox *>(w)) return g->title();
    if (auto *b = qobject_cast<QAbstractButton *>(w)) return b->text();
    if (auto *l = qobject_cast<QLabel *>(w)) return l->text();
    return QStringLiteral("<no control %1>").arg(nome);
}

} // namespace

class TstLegendas : public QObject
{
    Q_OBJECT

private slots:
    void tabela_tem_as_duas_linguas()
    {
        QSet<QString> vistos;
        for (const Legenda &l : kLegendas) {
            const QString nome = Legendas::texto(l.controlo);
            QVERIFY2(!vistos.contains(nome), qPrintable(nome));
            vistos.insert(nome);
            QVERIFY(!Legendas::legenda(nome, 0).isEmpty());
            QVERIFY(!Legendas::legenda(nome, 1).isEmpty());
        }
        // Captioned controls that drop to 8 points on a small screen.
        QCOMPARE(Legendas::contarOitoPontos(), 51);
        QVERIFY(!Legendas::oitoPontos(QStringLiteral("mnu_comunicação")));
        QVERIFY(!Legendas::oitoPontos(QStringLiteral("Text_S00")));
    }

    // The other way round: a control built with a caption that the table
    // does not list stays in one language whatever the technician chooses.
    void nenhum_controlo_fora_da_tabela()
    {
        Arquivo a;
        Oficina o(a);
        o.janela().aplicar_idioma(1);
        QSet<QString> listados;
        for (const Legenda &l : kLegendas)
            listados.insert(Legendas::texto(l.controlo));
        for (const auto *tabela : {&kLegendasFabrica, &kLegendasRelatorio})
            for (const Legenda &l : *tabela)
                listados.insert(Legendas::texto(l.controlo));
        for (const LegendaFixa &l : kLegendasFixas)
            listados.insert(Legendas::texto(l.controlo));
        QStringList fora;
        // Texts the model holds (the hidden buttons' "Novo"/"Aceitar") and
        // the status line's figures are values, not captions.
        const auto verificar = [&](const QObject *c, const QString &texto) {
            const QString nome = c->objectName();
            if (nome.isEmpty() || texto.isEmpty() || listados.contains(nome) ||
                o.edit().has(nome) || nome.startsWith(QLatin1String("StatusBar")))
                return;
            fora << QStringLiteral("%1: %2").arg(nome, texto);
        };
        for (const QLabel *l : o.janela().findChildren<QLabel *>())
            verificar(l, l->text());
        for (const QAbstractButton *b : o.janela().findChildren<QAbstractButton *>())
            verificar(b, b->text());
        for (const QGroupBox *g : o.janela().findChildren<QGroupBox *>())
            verificar(g, g->title());
        for (const QMenu *m : o.janela().findChildren<QMenu *>())
            verificar(m, m->title());
        for (const QAction *ac : o.janela().findChildren<QAction *>())
            if (!ac->isSeparator() && !ac->menu()) verificar(ac, ac->text());
        QVERIFY2(fora.isEmpty(), qPrintable(fora.join(QLatin1Char('\n'))));
    }

    void cada_legenda_no_seu_controlo_data()
    {
        QTest::addColumn<int>("idioma");
        QTest::newRow("português") << 0;
        QTest::newRow("english") << 1;
    }
    void cada_legenda_no_seu_controlo()
    {
        QFETCH(int, idioma);
        Arquivo a;
        Oficina o(a);
        o.janela().aplicar_idioma(idioma);
        for (const Legenda &l : kLegendas) {
            const QString nome = Legendas::texto(l.controlo);
            QCOMPARE(mostrado(o.janela(), nome), Legendas::texto(idioma ? l.en : l.pt));
        }
        for (const LegendaFixa &l : kLegendasFixas) {
            const QString nome = Legendas::texto(l.controlo);
            QCOMPARE(mostrado(o.janela(), nome), Legendas::texto(l.texto));
        }
        QCOMPARE(o.janela().windowTitle(), Legendas::titulo(idioma));
        QCOMPARE(o.motor().titulo_base, Legendas::titulo(idioma));
    }

    // The system's own wording, typos included, must survive any tidy-up.
    void legendas_exactas_data()
    {
        QTest::addColumn<QString>("controlo");
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
    void legendas_exactas()
    {
        QFETCH(QString, controlo);
        QFETCH(QString, pt);
        QFETCH(QString, en);
        QCOMPARE(Legendas::legenda(controlo, 0), pt);
        QCOMPARE(Legendas::legenda(controlo, 1), en);
    }

    void titulos_exactos()
    {
        QCOMPARE(Legendas::titulo(0), QStringLiteral("Manutenção VX308 v3.5"));
        QCOMPARE(Legendas::titulo(1), QStringLiteral("VX308 Maintnance v3.5"));
    }

    void codigo_desconhecido_nao_muda_nada()
    {
        Arquivo a;
        Oficina o(a);
        o.janela().aplicar_idioma(1);
        o.janela().aplicar_idioma(2);
        QCOMPARE(o.janela().windowTitle(), Legendas::titulo(1));
        QCOMPARE(mostrado(o.janela(), QStringLiteral("Command_ler")), QStringLiteral("Read"));
    }

    void nomes_acessiveis_data()
    {
        QTest::addColumn<QString>("controlo");
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
    void nomes_acessiveis()
    {
        QFETCH(QString, controlo);
        QFETCH(QString, pt);
        QFETCH(QString, en);
        Arquivo a;
        Oficina o(a);
        o.janela().aplicar_idioma(0);
        QCOMPARE(o.janela().controlo(controlo)->accessibleName(), pt);
        o.janela().aplicar_idioma(1);
        QCOMPARE(o.janela().controlo(controlo)->accessibleName(), en);
    }

    void todos_os_campos_botoes_e_indicadores_tem_nome()
    {
        Arquivo a;
        Oficina o(a);
        const auto todos = o.janela().findChildren<QWidget *>();
        for (QWidget *w : todos) {
            const QString n = w->objectName();
            const bool alvo = qobject_cast<QLineEdit *>(w) || qobject_cast<QCheckBox *>(w) ||
                              n.startsWith(QLatin1String("Shape_")) ||
                              qobject_cast<QPushButton *>(w);
            if (!alvo || n.isEmpty() || !o.edit().has(n) || !o.edit().control(n).visible) continue;
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(n));
        }
    }

    void menu_ingles_guarda_e_proxima_execucao_abre_em_ingles()
    {
        Arquivo a;
        {
            Oficina o(a);
            QVERIFY(o.arrancar());
            QCOMPARE(o.janela().idioma(), 0);
            o.janela().accao(QStringLiteral("mnu_EN"))->trigger();
            QCOMPARE(o.janela().windowTitle(), Legendas::titulo(1));
            QVERIFY(o.janela().accao(QStringLiteral("mnu_EN"))->isChecked());
            QVERIFY(!o.janela().accao(QStringLiteral("mnu_pt"))->isChecked());
            QString guardado;
            QVERIFY(o.app->bases().lerIdioma(&guardado, nullptr));
            QCOMPARE(guardado, QStringLiteral("EN"));
        }
        Oficina o(a);
        QVERIFY(o.arrancar());
        QCOMPARE(o.janela().idioma(), 1);
        QCOMPARE(o.janela().windowTitle(), Legendas::titulo(1));
        QCOMPARE(mostrado(o.janela(), QStringLiteral("Label1")), QStringLiteral("Costs per Hour"));
        QVERIFY(o.janela().accao(QStringLiteral("mnu_EN"))->isChecked());
        QCOMPARE(o.janela().accao(QStringLiteral("mnu_exportar"))->text(),
                 QStringLiteral("Export PDF..."));
        // Nothing read yet: nothing to export.
        QVERIFY(!o.janela().accao(QStringLiteral("mnu_exportar"))->isEnabled());
        QCOMPARE(o.app->splash().lblProductName()->text(), QStringLiteral("VX308 Maintnance"));
        QCOMPARE(o.app->splash().lblVersion()->text(), QStringLiteral("Version: 3.5"));
    }

    void escolher_a_lingua_activa_repete_tudo()
    {
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        QAction *pt = o.janela().accao(QStringLiteral("mnu_pt"));
        pt->trigger(); // Qt would untick a ticked item; the model keeps it ticked
        QVERIFY(pt->isChecked());
        QVERIFY(!o.janela().accao(QStringLiteral("mnu_EN"))->isChecked());
        QString guardado;
        QVERIFY(o.app->bases().lerIdioma(&guardado, nullptr));
        QCOMPARE(guardado, QStringLiteral("PT"));
        QCOMPARE(o.janela().windowTitle(), Legendas::titulo(0));
    }

    void troca_durante_ligacao_so_muda_textos()
    {
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        QVERIFY(o.ler());
        // The read adds the device version to the title.
        QVERIFY(o.janela().windowTitle() != Legendas::titulo(0));
        const QString tarifa = o.edit().text(QStringLiteral("Text_S00"));
        QVERIFY(tarifa != QStringLiteral("-"));
        QFont antes = o.janela().controlo(QStringLiteral("Label_S00"))->font();
        o.janela().accao(QStringLiteral("mnu_EN"))->trigger();
        QCOMPARE(o.janela().windowTitle(), Legendas::titulo(1));
        QCOMPARE(o.edit().text(QStringLiteral("Text_S00")), tarifa);
        QCOMPARE(qobject_cast<QLineEdit *>(o.janela().controlo(QStringLiteral("Text_S00")))->text(),
                 tarifa);
        QVERIFY(o.edit().checked(QStringLiteral("mnu_porta1")));
        // On a 768-line screen the captions stay at 8 points after a switch.
        QCOMPARE(o.janela().controlo(QStringLiteral("Label_S00"))->font().pointSizeF(), 8.0);
        QCOMPARE(o.janela().controlo(QStringLiteral("Label_S00"))->font(), antes);
        o.motor().parar();
    }

    void idioma_guardado_desconhecido_fica_em_portugues_data()
    {
        QTest::addColumn<QString>("guardado");
        QTest::newRow("minúsculas") << "pt";
        QTest::newRow("vazio") << "";
        QTest::newRow("outro") << "FR";
        QTest::newRow("en minúsculas") << "en";
    }
    void idioma_guardado_desconhecido_fica_em_portugues()
    {
        QFETCH(QString, guardado);
        Arquivo a;
        {
            Oficina o(a);
            QVERIFY(o.app->bases().provisionar(nullptr, nullptr));
            QVERIFY(a.store.updateFirst(o.app->bases().ficheiroValores(),
                                        QStringLiteral("TbValoresPre1"),
                                        {{QStringLiteral("idioma"), guardado}}, nullptr));
        }
        Oficina o(a);
        QVERIFY(o.arrancar());
        QCOMPARE(o.janela().idioma(), 0);
        QCOMPARE(o.janela().windowTitle(), Legendas::titulo(0));
        QVERIFY(o.janela().accao(QStringLiteral("mnu_pt"))->isChecked());
        QVERIFY(!o.janela().accao(QStringLiteral("mnu_EN"))->isChecked());
        QCOMPARE(o.app->splash().lblProductName()->text(), QStringLiteral("Manutenção VX308"));
        QCOMPARE(o.app->splash().lblVersion()->text(), QStringLiteral("Versão 3.5"));
    }
};

QTEST_MAIN(TstLegendas)
#include "tst_legendas.moc"
