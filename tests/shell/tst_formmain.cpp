// Guards the window as a view of the edit set: every model change reaches its
// widget, every keystroke, Enter, Escape, focus and click reaches the model,
// the buttons follow the model through a read, a Clear and a display test,
// the status line shows the link counters, and the hidden controls stay
// hidden. A widget that shows something other than what the model holds
// (and what the engine will write to the unit) is the fault.

#include "barraestado.h"
#include "indicador.h"
#include "legendas.h"
#include "ligacaomodelo.h"
#include "oficina.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace vx;

namespace {

const QStringList kBotoes{"Command_ler",   "Command_testar",     "Command_imprimir", "Command_sair",
                          "Command_clear", "Command_teste_disp", "Command_enviar"};

QLineEdit *caixa(Oficina &o, const char *nome)
{
    return qobject_cast<QLineEdit *>(o.janela().controlo(QLatin1String(nome)));
}

// Each button as the window shows it must be what the model holds.
void conferirBotoes(Oficina &o)
{
    for (const QString &b : kBotoes)
        QVERIFY2(o.janela().controlo(b)->isEnabled() == o.edit().control(b).enabled, qPrintable(b));
}

QStringList activos(Oficina &o)
{
    QStringList out;
    for (const QString &b : kBotoes)
        if (o.janela().controlo(b)->isEnabled()) out << b;
    return out;
}

} // namespace

class TstFormMain : public QObject
{
    Q_OBJECT

private slots:
    void modelo_para_a_janela()
    {
        Arquivo a;
        Oficina o(a);
        EditSet &e = o.edit();
        e.setText(QStringLiteral("Text_S00"), QStringLiteral("12,50"));
        QCOMPARE(caixa(o, "Text_S00")->text(), QStringLiteral("12,50"));
        // A text longer than the typing limit, put there by the program,
        // shows in full: the limit applies to typing only.
        e.setText(QStringLiteral("Text_ibutsn"), QStringLiteral("0123456789ABCDEF"));
        QCOMPARE(caixa(o, "Text_ibutsn")->text(), QStringLiteral("0123456789ABCDEF"));
        e.setEnabled(QStringLiteral("Text_S08"), false);
        QVERIFY(!caixa(o, "Text_S08")->isEnabled());
        // The model holds the input's state; the window shows it in colour.
        auto *bola = qobject_cast<Indicador *>(o.janela().controlo(QStringLiteral("Shape_bola2")));
        e.setIndicator(QStringLiteral("Shape_bola2"), IndicatorState::On);
        QCOMPARE(bola->cor(), QColor(255, 0, 0));
        e.setIndicator(QStringLiteral("Shape_bola2"), IndicatorState::Off);
        QCOMPARE(bola->cor(), QColor(255, 255, 255));
        e.setValue(QStringLiteral("ProgressBar_baterias"), 62.4);
        QCOMPARE(qobject_cast<QProgressBar *>(
                     o.janela().controlo(QStringLiteral("ProgressBar_baterias")))
                     ->value(),
                 62);
        e.setText(QStringLiteral("Label_percentagem"), QStringLiteral("62%"));
        QCOMPARE(qobject_cast<QLabel *>(o.janela().controlo(QStringLiteral("Label_percentagem")))
                     ->text(),
                 QStringLiteral("62%"));
        e.setChecked(QStringLiteral("Check_contador"), true);
        QVERIFY(qobject_cast<QCheckBox *>(o.janela().controlo(QStringLiteral("Check_contador")))
                    ->isChecked());
        e.setTitle(QStringLiteral("VX308 - teste"));
        QCOMPARE(o.janela().windowTitle(), QStringLiteral("VX308 - teste"));
    }

    void caixas_centradas_sem_limite_de_widget()
    {
        Arquivo a;
        Oficina o(a);
        for (QLineEdit *c : o.janela().findChildren<QLineEdit *>()) {
            QCOMPARE(c->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
            QCOMPARE(c->maxLength(), 32767);
        }
        QLineEdit *m = caixa(o, "Text_master_ibut");
        QVERIFY(m->isReadOnly());
        QVERIFY(m->isEnabled());
    }

    void escrever_vai_para_o_modelo()
    {
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        QLineEdit *c = caixa(o, "Text_S00");
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
    void texto_sem_teclas_data()
    {
        QTest::addColumn<QString>("via");
        QTest::newRow("acessibilidade") << "acessibilidade";
        QTest::newRow("metodo de entrada") << "metodo de entrada";
    }
    void texto_sem_teclas()
    {
        QFETCH(QString, via);
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        QVERIFY(o.ler());
        QLineEdit *c = caixa(o, "Text_S00");
        c->setFocus(Qt::TabFocusReason);
        if (via == "acessibilidade") {
            QAccessibleInterface *i = QAccessible::queryAccessibleInterface(c);
            QVERIFY(i);
            i->setText(QAccessible::Value, QStringLiteral("2,25"));
        } else {
            c->selectAll();
            QInputMethodEvent palavra(QString(), {});
            palavra.setCommitString(QStringLiteral("2,25"));
            QCoreApplication::sendEvent(c, &palavra);
        }
        QCOMPARE(c->text(), QStringLiteral("2,25"));
        QCOMPARE(o.edit().text(QStringLiteral("Text_S00")), QStringLiteral("2,25"));
        bool escrito = false;
        QObject::connect(&o.motor(), &Engine::tickTerminado,
                         [&] { escrito = escrito || !o.edit().algumPendente(); });
        QTest::keyClick(c, Qt::Key_Return);
        QVERIFY(o.edit().pendente(QStringLiteral("Text_S00")));
        QVERIFY(aguardar([&] { return escrito; }));
        QCOMPARE(o.porta.device().number(4, 2), 225u);
        o.motor().parar();
    }

    void enter_escape_e_foco()
    {
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        QVERIFY(o.ler());
        QLineEdit *c = caixa(o, "Text_S08");
        const QString lido = c->text();
        QFocusEvent entrada(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(c, &entrada);
        QCOMPARE(o.edit().texto_foco, lido);
        c->selectAll();
        QTest::keyClicks(c, QStringLiteral("7"));
        // Focus that comes back from a message box keeps the backup.
        QFocusEvent volta(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(c, &volta);
        QCOMPARE(o.edit().texto_foco, lido);
        QTest::keyClick(c, Qt::Key_Escape);
        QCOMPARE(o.edit().text(QStringLiteral("Text_S08")), lido);
        QCOMPARE(c->text(), lido);

        c->selectAll();
        QTest::keyClicks(c, QStringLiteral("7"));
        QVERIFY(!o.edit().pendente(QStringLiteral("Text_S08")));
        QTest::keyClick(c, Qt::Key_Return);
        QVERIFY(o.edit().pendente(QStringLiteral("Text_S08")));
        QVERIFY2(o.mensagens.messages.empty(), qPrintable(o.mensagens.texts().join('|')));
        o.motor().parar();
    }

    // The key reader's box tells what the unit's key does; the read puts that
    // on the model, and the box, its screen-reader name included, must show
    // it in either language.
    void legenda_da_marca_ibutton_data()
    {
        QTest::addColumn<int>("ligado"); // address 24
        QTest::addColumn<int>("fonte");  // address 187
        QTest::addColumn<QString>("legenda");
        QTest::newRow("dados") << 1 << 5 << "iButton de Dados";
        QTest::newRow("apagar") << 1 << 0 << "iButton de Apagar";
        QTest::newRow("desligado") << 0 << 5 << "iButton";
    }
    void legenda_da_marca_ibutton()
    {
        QFETCH(int, ligado);
        QFETCH(int, fonte);
        QFETCH(QString, legenda);
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        auto *m = qobject_cast<QCheckBox *>(o.janela().controlo(QStringLiteral("Check_ibut")));
        // A unit read before, with another caption, must not leave it behind.
        o.porta.device().setByte(24, 1);
        o.porta.device().setByte(187, ligado && fonte ? 0 : 5);
        QVERIFY(o.ler());
        o.porta.device().setByte(24, uint8_t(ligado));
        o.porta.device().setByte(187, uint8_t(fonte));
        QVERIFY(o.ler());
        QCOMPARE(o.edit().text(QStringLiteral("Check_ibut")), legenda);
        QCOMPARE(m->text(), legenda);
        QCOMPARE(m->isChecked(), ligado != 0);
        QCOMPARE(m->accessibleName(), QStringLiteral("Configuração ") + legenda);
        o.janela().accao(QStringLiteral("mnu_EN"))->trigger();
        QCOMPARE(m->text(), legenda);
        QCOMPARE(m->accessibleName(), QStringLiteral("Configuration ") + legenda);
        // The other box's caption follows the language.
        QCOMPARE(qobject_cast<QCheckBox *>(o.janela().controlo(QStringLiteral("Check_contador")))
                     ->text(),
                 QStringLiteral("Electromechanical"));
        o.motor().parar();
    }

    void clique_na_marca()
    {
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        auto *m = qobject_cast<QCheckBox *>(o.janela().controlo(QStringLiteral("Check_contador")));
        QTest::mouseClick(m, Qt::LeftButton, {}, m->rect().center());
        QVERIFY(o.edit().checked(QStringLiteral("Check_contador")));
        QVERIFY(m->isChecked());
        QVERIFY(o.edit().pendente(QStringLiteral("Check_contador")));
        // Only the program ticks the iButton box.
        auto *ib = o.janela().controlo(QStringLiteral("Check_ibut"));
        QVERIFY(!ib->isEnabled());
    }

    void botoes_ao_longo_de_ler_clear_e_teste()
    {
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        QObject::connect(&o.edit(), &EditSet::controlChanged, [&](const QString &n) {
            if (kBotoes.contains(n)) conferirBotoes(o);
        });
        QCOMPARE(activos(o), (QStringList{"Command_ler", "Command_sair"}));

        QVERIFY(o.ler());
        QCOMPARE(activos(o), kBotoes);

        bool relido = false;
        auto c = QObject::connect(&o.motor(), &Engine::leituraTerminada, [&] { relido = true; });
        o.clicar("Command_clear");
        QVERIFY(!o.janela().controlo(QStringLiteral("Command_clear"))->isEnabled());
        QVERIFY(!o.janela().controlo(QStringLiteral("Command_sair"))->isEnabled());
        QVERIFY(aguardar([&] { return relido; }));
        QObject::disconnect(c);
        QVERIFY(o.janela().controlo(QStringLiteral("Command_clear"))->isEnabled());

        // The display test runs inside one tick, in nested waits: what the
        // window showed meanwhile is seen from the change notifications.
        QStringList desactivados;
        c = QObject::connect(&o.edit(), &EditSet::controlChanged, [&](const QString &n) {
            if (kBotoes.contains(n) && !o.janela().controlo(n)->isEnabled()) desactivados << n;
        });
        o.clicar("Command_teste_disp");
        QVERIFY(aguardar([&] {
            return !o.edit().sessao.teste_disp_pedido &&
                   o.janela().controlo(QStringLiteral("Command_teste_disp"))->isEnabled();
        }));
        QObject::disconnect(c);
        for (const char *n :
             {"Command_teste_disp", "Command_ler", "Command_testar", "Command_imprimir"})
            QVERIFY2(desactivados.contains(QLatin1String(n)), n);
        QCOMPARE(activos(o), kBotoes);
        QVERIFY(o.janela().controlo(QStringLiteral("Command_imprimir"))->isEnabled());

        o.clicar("Command_testar");
        QVERIFY(aguardar([&] { return !o.motor().activo(); }));
        QCOMPARE(activos(o), (QStringList{"Command_ler", "Command_sair"}));
        QCOMPARE(caixa(o, "Text_S00")->text(), QStringLiteral("-"));
        conferirBotoes(o);
    }

    // A value the write pass cannot send (Clear writes the counter back as
    // the window shows it) must not vanish silently: the technician is told
    // which field and which text were not written, once the pass is over.
    void valor_recusado_na_escrita_e_mostrado()
    {
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        QVERIFY(o.ler());
        const uint32_t contador = o.porta.device().number(53, 2);
        o.porta.device().setByte(100, 7);
        o.edit().setText(QStringLiteral("Text_contador"), QStringLiteral("12a"));
        o.edit().setText(QStringLiteral("Text_acumulado"), QStringLiteral("-"));
        o.mensagens.clear();
        bool relido = false;
        QObject::connect(&o.motor(), &Engine::leituraTerminada, [&] { relido = true; });
        o.clicar("Command_clear");
        QVERIFY(aguardar([&] { return relido; }));
        QCOMPARE(o.mensagens.messages.size(), size_t(1));
        const QString m = o.mensagens.messages[0].text;
        QCOMPARE(o.mensagens.messages[0].title, QStringLiteral("Manutenção"));
        QVERIFY2(m.contains(QStringLiteral("Configuração Electromecanico contagem (Text_contador): "
                                           "\"12a\"")),
                 qPrintable(m));
        QVERIFY2(m.contains(QStringLiteral("Acumulado (Text_acumulado): \"-\"")), qPrintable(m));
        QVERIFY2(m.contains(QStringLiteral("não foram escritos")), qPrintable(m));
        // The rest of Clear went through: the erase, and the counter it zeroes.
        QCOMPARE(o.porta.device().byte(100), uint8_t(0));
        QVERIFY(contador != 0 || o.porta.device().number(53, 2) == 0);
        o.motor().parar();
    }

    void ocultos_ficam_ocultos()
    {
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        QVERIFY(o.ler());
        for (const char *n : {"Text_acumulado", "Label_acumulado", "Command_novo", "command_copy1",
                              "command_paste1", "Label3"})
            QVERIFY2(!o.janela().controlo(QLatin1String(n))->isVisible(), n);
        QVERIFY(o.janela().controlo(QStringLiteral("Text_S00"))->isVisible());
        // Without --factory there is no factory menu.
        QVERIFY(!o.janela().menu(QStringLiteral("mnu_fabrica")));
        o.motor().parar();
    }

    void linha_de_estado()
    {
        Arquivo a;
        Oficina o(a);
        o.relogio.set(QDateTime(QDate(2026, 12, 1), QTime(14, 5, 30)));
        QVERIFY(o.arrancar());
        BarraEstado *b = o.janela().barraEstado();
        b->actualizar();
        QCOMPARE(b->painel(1), QStringLiteral("N TRAMAS = 0 BF ERRORS = 0 TO ERRORS = 0"));
        QCOMPARE(b->painel(2), painelFabricante(QDate(2026, 12, 1)));
        QVERIFY(b->painel(2).startsWith(QStringLiteral("HALVOREN     ")));
        QCOMPARE(b->painel(3), painelHora(QTime(14, 5, 30)));
        QCOMPARE(b->timer().interval(), 900);
        QVERIFY(b->timer().isActive());

        o.porta.faults().failNext(2, emu::Fault::BadChecksum);
        QVERIFY(o.ler());
        b->actualizar();
        const LinkStats &s = o.app->link().stats;
        QVERIFY(s.n_tramas > 30);
        QCOMPARE(s.bf_erros, int16_t(2));
        QCOMPARE(b->painel(1), QStringLiteral("N TRAMAS = %1 BF ERRORS = 2 TO ERRORS = 0")
                                   .arg(static_cast<qint64>(s.n_tramas)));
        o.motor().parar();
    }

    void linha_de_estado_avanca_durante_a_espera()
    {
        Arquivo a;
        Oficina o(a);
        QVERIFY(o.arrancar());
        BarraEstado *b = o.janela().barraEstado();
        b->timer().setInterval(5);
        o.porta.faults().faults = emu::Fault::NoReply;
        // The engine's first request is retried without end; the status line
        // must count the time-outs while it waits. Once it shows three, the
        // program is told to leave, which ends the retries.
        QStringList vistos;
        bool fiel = true;
        QObject::connect(&b->timer(), &QTimer::timeout, [&] {
            vistos << b->painel(1);
            fiel = fiel && b->painel(1) == painelContadores(o.app->link().stats);
            if (b->painel(1).contains(QStringLiteral("TO ERRORS = 3"))) {
                o.app->link().sair_pedido = true;
                o.motor().parar();
            }
        });
        o.clicar("Command_ler");
        // With sair_pedido the tick runs on to its exit tail and ends.
        QVERIFY(aguardar([&] { return o.fim.ended(); }));
        QVERIFY(fiel);
        QVERIFY(vistos.filter(QStringLiteral("TO ERRORS = 1")).size() > 0);
        QVERIFY(vistos.filter(QStringLiteral("TO ERRORS = 3")).size() > 0);
    }
};

QTEST_MAIN(TstFormMain)
#include "tst_formmain.moc"
