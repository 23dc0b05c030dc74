// Guards the factory functions offered with --factory: the menu exists only
// then, its items mirror the hidden buttons (caption and state) and run their
// flows, and the defaults window is scaled, non-modal and stores only on
// "Aceitar". A factory item that acts while its button would be disabled, or
// a Cancel that stores anyway, is the fault.

#include "legendas.h"
#include "oficina.h"
#include "tabelas.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace vx;

namespace {

Aplicacao::Setup fabrica(QSize ecra = QSize(1024, 768))
{
    Aplicacao::Setup s;
    s.factoryMenu = true;
    s.screen = ecra;
    return s;
}

QString textoBotao(Oficina &o, const char *nome)
{
    return qobject_cast<QPushButton *>(o.janela().controlo(QLatin1String(nome)))->text();
}

} // namespace

class TstFabrica : public QObject
{
    Q_OBJECT

private slots:
    void menu_so_com_a_opcao()
    {
        Arquivo a;
        Oficina o(a, fabrica());
        QMenu *m = o.janela().menu(QStringLiteral("mnu_fabrica"));
        QVERIFY(m);
        QCOMPARE(m->title(), QStringLiteral("Fábrica"));
        QCOMPARE(o.janela().accao(QStringLiteral("mnu_novo"))->text(), QStringLiteral("Novo"));
        QCOMPARE(o.janela().accao(QStringLiteral("mnu_copiar"))->text(),
                 QStringLiteral("Pic -> PC"));
        QCOMPARE(o.janela().accao(QStringLiteral("mnu_colar"))->text(),
                 QStringLiteral("PC -> Pic"));
        o.janela().aplicar_idioma(1);
        QCOMPARE(m->title(), QStringLiteral("Factory"));
        QCOMPARE(o.janela().accao(QStringLiteral("mnu_predefinir"))->text(),
                 QStringLiteral("Default Values..."));
        // The hidden buttons' own captions are the same in both languages.
        QCOMPARE(o.janela().accao(QStringLiteral("mnu_copiar"))->text(),
                 QStringLiteral("Pic -> PC"));
    }

    void itens_seguem_os_botoes()
    {
        Arquivo a;
        Oficina o(a, fabrica());
        QVERIFY(o.arrancar());
        QAction *copiar = o.janela().accao(QStringLiteral("mnu_copiar"));
        QAction *colar = o.janela().accao(QStringLiteral("mnu_colar"));
        QVERIFY(!copiar->isEnabled());
        QVERIFY(!colar->isEnabled());
        QVERIFY(o.ler());
        QVERIFY(copiar->isEnabled());
        copiar->trigger();
        QVERIFY(colar->isEnabled());
        // The hidden buttons themselves never show.
        QVERIFY(!o.janela().controlo(QStringLiteral("command_copy1"))->isVisible());
        o.motor().parar();
    }

    void novo_aceitar_e_cancelar_pelo_menu()
    {
        Arquivo a;
        Oficina o(a, fabrica());
        QVERIFY(o.arrancar());
        QAction *novo = o.janela().accao(QStringLiteral("mnu_novo"));
        novo->trigger();
        QCOMPARE(o.edit().sessao.modo, uint8_t(1));
        QCOMPARE(novo->text(), QStringLiteral("Aceitar"));
        QCOMPARE(textoBotao(o, "Command_sair"), QStringLiteral("Cancelar"));
        // A screen reader announces what the button now does.
        QCOMPARE(o.janela().controlo(QStringLiteral("Command_sair"))->accessibleName(),
                 QStringLiteral("Cancelar"));
        QVERIFY(!o.janela().controlo(QStringLiteral("Command_ler"))->isEnabled());
        QCOMPARE(o.janela().focusWidget(), o.janela().controlo(QStringLiteral("text_numfab_ano")));
        // "Cancelar" is "Sair da Aplicação" while a new unit is entered.
        o.clicar("Command_sair");
        QVERIFY(!o.fim.ended());
        QCOMPARE(textoBotao(o, "Command_sair"), QStringLiteral("Fechar"));
        QCOMPARE(o.janela().controlo(QStringLiteral("Command_sair"))->accessibleName(),
                 QStringLiteral("Fechar"));
        QCOMPARE(novo->text(), QStringLiteral("Novo"));
        QVERIFY(o.ler());
        o.motor().parar();
    }

    void janela_de_predefinicao_escalada_data()
    {
        QTest::addColumn<QSize>("ecra");
        QTest::addColumn<QSize>("janela");
        QTest::addColumn<QRect>("aceitar");
        QTest::newRow("800x600") << QSize(800, 600) << QSize(400, 160) << QRect(50, 96, 130, 36);
        QTest::newRow("1600x900") << QSize(1600, 900) << QSize(800, 240)
                                  << QRect(100, 144, 260, 54);
    }
    void janela_de_predefinicao_escalada()
    {
        QFETCH(QSize, ecra);
        QFETCH(QSize, janela);
        QFETCH(QRect, aceitar);
        Arquivo a;
        Oficina o(a, fabrica(ecra));
        QVERIFY(o.arrancar());
        o.janela().accao(QStringLiteral("mnu_predefinir"))->trigger();
        auto *f = o.janela().findChild<QWidget *>(QStringLiteral("Form_predefinir"));
        QVERIFY(f);
        QVERIFY(f->isVisible());
        QVERIFY(!f->isModal());
        QCOMPARE(f->windowTitle(), QStringLiteral("Predefinição de valores"));
        QCOMPARE(f->size(), janela);
        QCOMPARE(f->findChild<QWidget *>(QStringLiteral("Command_aceitar"))->geometry(), aceitar);
        QCOMPARE(f->findChild<QLabel *>(QStringLiteral("Label_Predefinir"))->text(),
                 QStringLiteral("Aceitar valores como valor por defeito?"));
    }

    void cancelar_nao_guarda_aceitar_guarda()
    {
        Arquivo a;
        Oficina o(a, fabrica());
        QVERIFY(o.arrancar());
        QVERIFY(o.ler());
        o.motor().parar();
        const QString ficheiro = o.app->bases().ficheiroValores();
        const auto lerTarifa = [&] {
            QVariantMap linha;
            a.store.readFirst(ficheiro, QStringLiteral("TbValoresPre1"), {QStringLiteral("TarS00")},
                              &linha, nullptr);
            return linha.value(QStringLiteral("TarS00")).toString();
        };
        const QString antes = lerTarifa();
        QVERIFY(antes != o.edit().text(QStringLiteral("Text_S00")));

        o.janela().abrirPredefinir();
        QPointer<QWidget> f = o.janela().findChild<QWidget *>(QStringLiteral("Form_predefinir"));
        qobject_cast<QPushButton *>(f->findChild<QWidget *>(QStringLiteral("Command_cancelar")))
            ->click();
        QVERIFY(aguardar([&] { return f.isNull(); }));
        QCOMPARE(lerTarifa(), antes);

        o.janela().abrirPredefinir();
        f = o.janela().findChild<QWidget *>(QStringLiteral("Form_predefinir"));
        qobject_cast<QPushButton *>(f->findChild<QWidget *>(QStringLiteral("Command_aceitar")))
            ->click();
        QVERIFY(aguardar([&] { return f.isNull(); }));
        QCOMPARE(lerTarifa(), o.edit().text(QStringLiteral("Text_S00")));
    }
};

QTEST_MAIN(TstFabrica)
#include "tst_fabrica.moc"
