// Guards fitting the window to the screen: the proportional rule from the
// 1024 x 768 design (with the 640-pixel exception for the window's own size
// only), the status-bar panels, and the 8-point rule for screens under 800
// lines. Controls cut off or overlapping on another screen, or unreadable
// fonts on a large one, are the faults.

#include "ajusteecra.h"
#include "construtorjanela.h"
#include "disposicao.h"
#include "legendas.h"
#include "oficina.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>

using namespace vx;

class TstAjusteEcra : public QObject
{
    Q_OBJECT

private slots:
    void regras_data()
    {
        QTest::addColumn<QSize>("ecra");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QSize>("janela");
        QTest::addColumn<QRect>("botaoLer"); // design (876, 150, 140, 52)
        QTest::addColumn<int>("painel1");
        QTest::addColumn<bool>("oito");
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
    void regras()
    {
        QFETCH(QSize, ecra);
        QFETCH(double, dpi);
        QFETCH(QSize, janela);
        QFETCH(QRect, botaoLer);
        QFETCH(int, painel1);
        QFETCH(bool, oito);
        QCOMPARE(AjusteEcra::tamanhoJanela(ecra), janela);
        QCOMPARE(AjusteEcra::escalar(QRect(876, 150, 140, 52), ecra), botaoLer);
        QCOMPARE(AjusteEcra::larguraPainel(467, ecra), painel1);
        QCOMPARE(AjusteEcra::fonteOitoPontos(ecra.height(), dpi), oito);
    }

    void limite_das_800_linhas()
    {
        QVERIFY(AjusteEcra::fonteOitoPontos(799));
        QVERIFY(!AjusteEcra::fonteOitoPontos(800));
        // A resolution the screen does not report is taken as 96 dpi.
        QVERIFY(AjusteEcra::fonteOitoPontos(768, 0.0));
    }

    void janela_carregada_data() { regras_data(); }
    void janela_carregada()
    {
        QFETCH(QSize, ecra);
        QFETCH(double, dpi);
        QFETCH(QRect, botaoLer);
        QFETCH(int, painel1);
        QFETCH(bool, oito);
        Arquivo a;
        Oficina o(a);
        o.janela().setEcra(ecra, dpi);
        o.janela().carregar();
        QCOMPARE(o.janela().controlo(QStringLiteral("Command_ler"))->geometry(), botaoLer);
        // Controls inside a group box scale relative to the box.
        QCOMPARE(o.janela().controlo(QStringLiteral("Text_S08"))->geometry(),
                 AjusteEcra::escalar(QRect(128, 50, 104, 26), ecra));
        QCOMPARE(o.janela().controlo(QStringLiteral("ProgressBar_baterias"))->geometry(),
                 AjusteEcra::escalar(QRect(320, 518, 210, 24), ecra));
        auto *p1 =
            o.janela().statusBar()->findChild<QLabel *>(QStringLiteral("StatusBar1_painel1"));
        QVERIFY(p1);
        QCOMPARE(p1->width(), painel1);

        int oitoPontos = 0;
        for (const Lugar &l : kDisposicao) {
            const QString nome = Legendas::texto(l.nome);
            QWidget *w = o.janela().controlo(nome);
            const double esperado =
                oito && Legendas::oitoPontos(nome) ? 8.0 : ConstrutorJanela::pontosDesenho(w);
            QVERIFY2(qFuzzyCompare(w->font().pointSizeF(), esperado), qPrintable(nome));
            oitoPontos += qFuzzyCompare(w->font().pointSizeF(), 8.0) ? 1 : 0;
        }
        QCOMPARE(oitoPontos, oito ? 51 : 0);
        // The window fits the screen's width: nothing forces it wider.
        QVERIFY(o.janela().minimumSizeHint().width() <= ecra.width());
        // Text boxes keep their design font on every screen.
        QCOMPARE(o.janela().controlo(QStringLiteral("Text_S00"))->font().pointSizeF(), 9.75);
    }

    void nada_se_sobrepoe_no_desenho()
    {
        // Controls of the same parent, other than panels and the headings on
        // them, must not overlap at the design size.
        for (size_t i = 0; i < kDisposicao.size(); ++i) {
            for (size_t j = i + 1; j < kDisposicao.size(); ++j) {
                const Lugar &a = kDisposicao[i];
                const Lugar &b = kDisposicao[j];
                if (a.pai != b.pai || a.oculto || b.oculto || a.tipo == Tipo::Painel ||
                    b.tipo == Tipo::Painel)
                    continue;
                const QRect ra(a.x, a.y, a.w, a.h), rb(b.x, b.y, b.w, b.h);
                QVERIFY2(!ra.intersects(rb),
                         qPrintable(Legendas::texto(a.nome) + " / " + Legendas::texto(b.nome)));
            }
        }
    }

    void tudo_cabe_no_ecra_de_desenho()
    {
        for (const Lugar &l : kDisposicao) {
            if (!l.pai.empty()) continue;
            QVERIFY2(l.x >= 0 && l.x + l.w <= 1024, qPrintable(Legendas::texto(l.nome)));
            // Below the title, menu and status bars of a maximized window.
            QVERIFY2(l.y >= 0 && l.y + l.h <= 694, qPrintable(Legendas::texto(l.nome)));
        }
    }
};

QTEST_MAIN(TstAjusteEcra)
#include "tst_ajusteecra.moc"
