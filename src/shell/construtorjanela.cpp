#include "construtorjanela.h"

#include "disposicao.h"
#include "imagem.h"
#include "indicador.h"
#include "legendas.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace vx {

namespace {

const char *kPontos = "vx_pontos";

QString nomeDe(std::string_view s)
{
    return Legendas::texto(s);
}

QString corCss(Cor c)
{
    switch (c) {
    case Cor::Amarelo:
        return QStringLiteral("rgb(255,255,192)");
    case Cor::Laranja:
        return QStringLiteral("rgb(255,192,128)");
    case Cor::Pessego:
        return QStringLiteral("rgb(255,224,192)");
    case Cor::Vermelho:
        return QStringLiteral("rgb(255,128,128)");
    case Cor::Nenhuma:
        break;
    }
    return {};
}

QWidget *criar(const Lugar &l, QWidget *pai)
{
    switch (l.tipo) {
    case Tipo::Painel: {
        auto *f = new QFrame(pai);
        f->setProperty("vx_painel", true);
        return f;
    }
    case Tipo::Cabecalho: {
        auto *r = new QLabel(pai);
        r->setAlignment(Qt::AlignCenter);
        r->setProperty("vx_cabecalho", true);
        return r;
    }
    case Tipo::Grupo:
        return new QGroupBox(pai);
    case Tipo::Rotulo: {
        auto *r = new QLabel(pai);
        r->setAlignment(Qt::AlignCenter);
        return r;
    }
    case Tipo::Texto: {
        auto *t = new QLineEdit(pai);
        t->setAlignment(Qt::AlignCenter);
        return t;
    }
    case Tipo::Marca:
        return new QCheckBox(pai);
    case Tipo::Botao:
        return new QPushButton(pai);
    case Tipo::Imagem:
        return new Imagem(pai);
    case Tipo::Circulo:
        return new Indicador(Indicador::Forma::Circulo, pai);
    case Tipo::Arredondado:
        return new Indicador(Indicador::Forma::Arredondado, pai);
    case Tipo::Gaveta:
        return new Indicador(Indicador::Forma::Rectangulo, pai);
    case Tipo::Barra: {
        auto *b = new QProgressBar(pai);
        b->setRange(0, 100);
        b->setValue(0);
        b->setTextVisible(false);
        return b;
    }
    }
    return new QWidget(pai);
}

double pontosDe(Tipo t)
{
    switch (t) {
    case Tipo::Texto:
    case Tipo::Cabecalho:
        return 9.75;
    case Tipo::Grupo:
    case Tipo::Botao:
    case Tipo::Rotulo:
    case Tipo::Marca:
        return 9.0;
    default:
        return 8.25;
    }
}

} // namespace

QString ConstrutorJanela::folhaEstilo()
{
    QString css = QStringLiteral(
        "QWidget#Area_main { background-color: rgb(223,221,253); }"
        "QFrame[vx_painel=\"true\"] { background-color: rgb(200,224,255);"
        " border: 2px solid white; border-radius: 6px; }"
        "QLabel[vx_cabecalho=\"true\"] { background-color: rgb(168,204,250);"
        " border: 1px solid white; border-radius: 9px; color: rgb(16,32,96); }"
        "QGroupBox { background-color: rgb(192,192,255); border: 1px solid rgb(128,128,208);"
        " border-radius: 4px; margin-top: 9px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 8px; padding: 0px 3px; background-color: rgb(192,192,255);"
        " border: 1px solid rgb(128,128,208); border-radius: 3px; }"
        "QLineEdit { background-color: white; border: 1px solid rgb(128,128,160);"
        " border-radius: 2px; }"
        "QLineEdit:disabled { background-color: rgb(236,236,244); color: rgb(60,60,80); }"
        "QLabel#Label_master_ibut, QLabel#Label_percentagem { color: rgb(220,0,0); }");
    for (const Lugar &l : kDisposicao) {
        const QString cor = corCss(l.cor);
        if (cor.isEmpty()) continue;
        const QString seletor = l.tipo == Tipo::Marca   ? QStringLiteral("QCheckBox")
                                : l.tipo == Tipo::Texto ? QStringLiteral("QLineEdit")
                                                        : QStringLiteral("QLabel");
        css += QStringLiteral("%1#%2 { background-color: %3; border: 1px solid rgb(170,170,130); }")
                   .arg(seletor, nomeDe(l.nome), cor);
        if (l.tipo == Tipo::Marca)
            css += QStringLiteral("QCheckBox#%1 { padding-left: 4px; }").arg(nomeDe(l.nome));
    }
    return css;
}

double ConstrutorJanela::pontosDesenho(const QWidget *w)
{
    return w->property(kPontos).toDouble();
}

ConstrutorJanela::Resultado ConstrutorJanela::construir(QWidget *area)
{
    Resultado r;
    for (const Lugar &l : kDisposicao) {
        const QString nome = nomeDe(l.nome);
        QWidget *pai = l.pai.empty() ? area : r.controlos.value(nomeDe(l.pai), area);
        QWidget *w = criar(l, pai);
        w->setObjectName(nome);
        QFont f = QApplication::font();
        f.setPointSizeF(pontosDe(l.tipo));
        f.setBold(l.tipo == Tipo::Botao || l.tipo == Tipo::Cabecalho);
        w->setFont(f);
        w->setProperty(kPontos, pontosDe(l.tipo));
        w->setGeometry(l.x, l.y, l.w, l.h);
        if (l.oculto) {
            w->setProperty("vx_oculto", true);
            w->setVisible(false);
        }
        const QString fixa = Legendas::legenda(nome, 0);
        if (auto *rotulo = qobject_cast<QLabel *>(w))
            rotulo->setText(fixa);
        else if (auto *botao = qobject_cast<QPushButton *>(w))
            botao->setText(fixa);
        r.controlos.insert(nome, w);
        r.desenho.insert(nome, QRect(l.x, l.y, l.w, l.h));
    }
    if (auto *t = qobject_cast<QLineEdit *>(r.controlos.value(QStringLiteral("Text_master_ibut"))))
        t->setReadOnly(true);
    return r;
}

} // namespace vx
