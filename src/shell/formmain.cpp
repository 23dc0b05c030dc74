#include "formmain.h"

#include "ajusteecra.h"
#include "avisoficheiro.h"
#include "barraestado.h"
#include "bases.h"
#include "construtorjanela.h"
#include "disposicao.h"
#include "editset.h"
#include "engine.h"
#include "formpredefinir.h"
#include "legendas.h"
#include "ligacaomodelo.h"
#include "novaunidade.h"
#include "portchooser.h"
#include "relatorio.h"
#include "shutdown.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>

namespace vx {

namespace {

const QString kMenuPortas = QStringLiteral("mnu_comunicação");

} // namespace

FormMain::FormMain(const Servicos &s, bool fabrica, QWidget *parent)
    : QMainWindow(parent), m_s(s), m_ligacao(new LigacaoModelo(s.edit, this)),
      m_barra(new BarraEstado(s.link, s.clock, this)), m_area(new QWidget(this))
{
    setObjectName(QStringLiteral("Form_main"));
    // A fixed frame without a maximise box: the window opens maximized and
    // its controls are placed for the screen, not for a resizable frame.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    m_area->setObjectName(QStringLiteral("Area_main"));
    m_area->setAttribute(Qt::WA_StyledBackground);
    setCentralWidget(m_area);
    setStatusBar(m_barra);
    setStyleSheet(ConstrutorJanela::folhaEstilo());

    auto feitos = ConstrutorJanela::construir(m_area);
    m_controlos = feitos.controlos;
    m_desenho = feitos.desenho;
    criarMenus(fabrica);
    ligarBotoes();

    for (auto it = m_controlos.constBegin(); it != m_controlos.constEnd(); ++it)
        if (m_s.edit.has(it.key())) m_ligacao->ligar(it.key(), it.value());
    for (auto it = m_accoes.constBegin(); it != m_accoes.constEnd(); ++it)
        if (m_s.edit.has(it.key())) m_ligacao->ligar(it.key(), it.value());
    // The factory items mirror the hidden buttons they stand for.
    if (fabrica) {
        m_ligacao->ligar(QStringLiteral("Command_novo"),
                         m_accoes.value(QStringLiteral("mnu_novo")));
        m_ligacao->ligar(QStringLiteral("command_copy1"),
                         m_accoes.value(QStringLiteral("mnu_copiar")));
        m_ligacao->ligar(QStringLiteral("command_paste1"),
                         m_accoes.value(QStringLiteral("mnu_colar")));
    }
    m_ligacao->ligar(QStringLiteral("Form_main"), this);

    // The port menu is closed to choices whenever the engine runs or holds
    // the port, not only after the first "Lêr".
    connect(&m_s.edit, &EditSet::controlChanged, this, [this](const QString &nome) {
        if (nome == kMenuPortas) actualizarMenuPortas();
    });
    // Captions the model changes (the key reader's, the new-unit flow's
    // buttons) are what a screen reader must announce too.
    connect(&m_s.edit, &EditSet::controlChanged, this, [this](const QString &nome) {
        if (nome.startsWith(QLatin1String("Command_")) || nome.startsWith(QLatin1String("Check_")))
            updateAccessibleNames(nome);
    });
    connect(&m_s.edit, &EditSet::valueRefused, this,
            [this](const QString &campo, const QString &texto) {
                m_refused.append({campo, texto});
            });
    connect(&m_s.engine, &Engine::tickTerminado, this, &FormMain::showRefusedValues);
    connect(&m_s.engine, &Engine::tickTerminado, this, &FormMain::actualizarMenuPortas);
    connect(&m_s.engine, &Engine::motorParado, this, &FormMain::actualizarMenuPortas);
    connect(&m_barra->timer(), &QTimer::timeout, this, &FormMain::actualizarMenuPortas);
    connect(&m_s.nova, &NovaUnidade::focoPedido, this, [this](const QString &campo) {
        if (QWidget *w = controlo(campo)) w->setFocus(Qt::OtherFocusReason);
    });
    actualizarMenuPortas();
    aplicar_idioma(0);
}

FormMain::~FormMain() = default;

void FormMain::criarMenus(bool fabrica)
{
    auto *portas = menuBar()->addMenu(QString());
    portas->setObjectName(kMenuPortas);
    m_menus.insert(kMenuPortas, portas);
    connect(portas, &QMenu::aboutToShow, this, &FormMain::actualizarMenuPortas);
    for (int n = 1; n <= 4; ++n) {
        const QString nome = QStringLiteral("mnu_porta%1").arg(n);
        QAction *a = portas->addAction(Legendas::legenda(nome, 0));
        a->setObjectName(nome);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, n] { escolherPorta(n); });
        m_accoes.insert(nome, a);
    }

    auto *idiomas = menuBar()->addMenu(QString());
    idiomas->setObjectName(QStringLiteral("mnu_idioma"));
    m_menus.insert(idiomas->objectName(), idiomas);
    for (int n = 0; n < 2; ++n) {
        const QString nome = n == 0 ? QStringLiteral("mnu_pt") : QStringLiteral("mnu_EN");
        QAction *a = idiomas->addAction(Legendas::legenda(nome, 0));
        a->setObjectName(nome);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, n] { escolherIdioma(n); });
        m_accoes.insert(nome, a);
    }

    auto *relatorio = menuBar()->addMenu(QString());
    relatorio->setObjectName(QStringLiteral("mnu_relatorio"));
    m_menus.insert(relatorio->objectName(), relatorio);
    QAction *exportar = relatorio->addAction(Legendas::legenda(QStringLiteral("mnu_exportar"), 0));
    exportar->setObjectName(QStringLiteral("mnu_exportar"));
    m_accoes.insert(exportar->objectName(), exportar);
    connect(exportar, &QAction::triggered, this, &FormMain::exportarPdf);
    // The report is of values read from a unit: offered whenever "Imprimir" is.
    const auto seguirImprimir = [this, exportar](const QString &nome) {
        if (nome == QLatin1String("Command_imprimir"))
            exportar->setEnabled(m_s.edit.control(nome).enabled);
    };
    connect(&m_s.edit, &EditSet::controlChanged, this, seguirImprimir);
    seguirImprimir(QStringLiteral("Command_imprimir"));

    if (!fabrica) return;
    auto *fab = menuBar()->addMenu(QString());
    fab->setObjectName(QStringLiteral("mnu_fabrica"));
    m_menus.insert(fab->objectName(), fab);
    const auto item = [&](const QString &nome, auto &&accao) {
        QAction *a = fab->addAction(Legendas::legenda(nome, 0));
        a->setObjectName(nome);
        connect(a, &QAction::triggered, this, accao);
        m_accoes.insert(nome, a);
    };
    item(QStringLiteral("mnu_novo"), [this] {
        if (m_s.edit.sessao.modo == 1)
            m_s.nova.aceitar();
        else
            m_s.nova.preparar();
    });
    item(QStringLiteral("mnu_copiar"), [this] { m_s.engine.command_copy1_Click(); });
    item(QStringLiteral("mnu_colar"), [this] { m_s.engine.command_paste1_Click(); });
    fab->addSeparator();
    item(QStringLiteral("mnu_predefinir"), [this] { abrirPredefinir(); });
}

void FormMain::ligarBotoes()
{
    const auto ligar = [this](const char *nome, auto &&accao) {
        auto *b = qobject_cast<QAbstractButton *>(controlo(QLatin1String(nome)));
        Q_ASSERT(b);
        connect(b, &QAbstractButton::clicked, this, [this, accao] {
            accao();
            actualizarMenuPortas();
        });
    };
    ligar("Command_ler", [this] { m_s.engine.Command_ler_Click(); });
    ligar("Command_testar", [this] { m_s.engine.Command_testar_Click(); });
    ligar("Command_enviar", [this] { m_s.engine.Command_enviar_Click(); });
    ligar("Command_teste_disp", [this] { m_s.engine.Command_teste_disp_Click(); });
    ligar("Command_clear", [this] { m_s.engine.Command_clear_Click(); });
    ligar("command_copy1", [this] { m_s.engine.command_copy1_Click(); });
    ligar("command_paste1", [this] { m_s.engine.command_paste1_Click(); });
    ligar("Command_imprimir", [this] { m_s.relatorio.imprimir(); });
    ligar("Command_sair", [this] { m_s.saida.sairAplicacao(); });
    ligar("Command_novo", [this] {
        if (m_s.edit.sessao.modo == 1)
            m_s.nova.aceitar();
        else
            m_s.nova.preparar();
    });
}

void FormMain::setEcra(QSize ecra, double dpi)
{
    m_ecra = ecra;
    m_dpi = dpi > 0 ? dpi : 96.0;
}

QSize FormMain::ecra() const
{
    if (m_ecra.isValid()) return m_ecra;
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : AjusteEcra::kEcraDesenho;
}

double FormMain::dpi() const
{
    if (m_ecra.isValid()) return m_dpi;
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

void FormMain::carregar()
{
    if (m_carregado || m_aCarregar) return;
    m_aCarregar = true;
    m_s.edit.sessao.modo = 0;
    const QSize e = ecra();
    resize(AjusteEcra::tamanhoJanela(e));
    if (AjusteEcra::fonteOitoPontos(e.height(), dpi())) aplicarFonteOito();
    aplicar_idioma(m_idioma);
    ajustarControlos();
    m_s.edit.setEnabled(QStringLiteral("Command_imprimir"), false);

    int comm = 1;
    QString erro;
    if (m_s.bases.lerComm(&comm, &erro))
        m_s.portas.arranque(comm);
    else
        avisarErroFicheiro(m_s.messages, m_s.bases.ficheiroValores(), erro);
    m_aCarregar = false;
    m_carregado = true;
    emit carregamentoTerminado();
}

void FormMain::mostrar()
{
    showMaximized();
}

void FormMain::aplicarFonteOito()
{
    for (auto it = m_controlos.constBegin(); it != m_controlos.constEnd(); ++it) {
        if (!Legendas::oitoPontos(it.key())) continue;
        QFont f = it.value()->font();
        f.setPointSizeF(8.0);
        it.value()->setFont(f);
    }
}

void FormMain::ajustarControlos()
{
    const QSize e = ecra();
    for (auto it = m_desenho.constBegin(); it != m_desenho.constEnd(); ++it)
        m_controlos.value(it.key())->setGeometry(AjusteEcra::escalar(it.value(), e));
    // The drawing area never shrinks below what its controls need, so that
    // nothing is cut off when the window is smaller than the screen.
    QRect tudo;
    for (const Lugar &l : kDisposicao)
        if (l.pai.empty()) tudo |= QRect(l.x, l.y, l.w, l.h);
    m_area->setMinimumSize(
        AjusteEcra::escalar(QRect(0, 0, tudo.right() + 1, tudo.bottom() + 1), e).size());
    m_barra->ajustar(e);
}

void FormMain::definirIdioma(int idioma)
{
    m_idioma = idioma == 1 ? 1 : 0;
    m_s.edit.setChecked(QStringLiteral("mnu_pt"), m_idioma == 0);
    m_s.edit.setChecked(QStringLiteral("mnu_EN"), m_idioma == 1);
}

void FormMain::escolherIdioma(int idioma)
{
    definirIdioma(idioma);
    QString erro;
    if (!m_s.bases.gravarIdioma(m_idioma, &erro))
        avisarErroFicheiro(m_s.messages, m_s.bases.ficheiroValores(), erro);
    aplicar_idioma(m_idioma);
    // Qt flips a checkable item on its own; the model decides.
    m_ligacao->sincronizar(QStringLiteral("mnu_pt"));
    m_ligacao->sincronizar(QStringLiteral("mnu_EN"));
}

void FormMain::mudarLegenda(const QString &nome, const QString &texto)
{
    // Button captions live in the model: the new-unit flow changes them too.
    if (nome.startsWith(QLatin1String("Command_"))) {
        m_s.edit.setText(nome, texto);
        return;
    }
    // The key reader's caption is the unit's state, set by the read; it reads
    // the same in both languages and stays as the model holds it.
    if (qobject_cast<QCheckBox *>(controlo(nome)) && !m_s.edit.text(nome).isEmpty()) {
        m_ligacao->sincronizar(nome);
        return;
    }
    if (QMenu *m = menu(nome)) {
        m->setTitle(texto);
    } else if (QAction *a = accao(nome)) {
        a->setText(texto);
    } else if (QWidget *w = controlo(nome)) {
        if (auto *g = qobject_cast<QGroupBox *>(w))
            g->setTitle(texto);
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            b->setText(texto);
        else if (auto *l = qobject_cast<QLabel *>(w))
            l->setText(texto);
    }
}

void FormMain::aplicar_idioma(int idioma)
{
    if (idioma != 0 && idioma != 1) return;
    m_captionLanguage = idioma;
    m_s.engine.setTituloBase(Legendas::titulo(idioma));
    for (const Legenda &l : kLegendas)
        mudarLegenda(Legendas::texto(l.controlo), Legendas::texto(idioma == 1 ? l.en : l.pt));
    for (const Legenda &l : kLegendasFabrica)
        mudarLegenda(Legendas::texto(l.controlo), Legendas::texto(idioma == 1 ? l.en : l.pt));
    for (const Legenda &l : kLegendasRelatorio)
        mudarLegenda(Legendas::texto(l.controlo), Legendas::texto(idioma == 1 ? l.en : l.pt));
    updateAccessibleNames();
}

QString FormMain::currentCaption(const QString &nome) const
{
    const bool doModelo =
        nome.startsWith(QLatin1String("Command_")) || nome.startsWith(QLatin1String("Check_"));
    QString t = doModelo ? m_s.edit.text(nome) : QString();
    if (t.isEmpty()) return Legendas::legenda(nome, m_captionLanguage);
    // "&Novo": the ampersand marks the access key, it is not read out.
    return t.remove(QLatin1Char('&'));
}

void FormMain::updateAccessibleNames(const QString &changed)
{
    const auto caption = [this](const QString &n) { return currentCaption(n); };
    for (const NomeAcessivel &a : kNomesAcessiveis) {
        const QString nome = Legendas::texto(a.controlo);
        if (!changed.isEmpty() && changed != nome && changed != Legendas::texto(a.grupo) &&
            changed != Legendas::texto(a.legenda))
            continue;
        if (QWidget *w = controlo(nome))
            w->setAccessibleName(Legendas::nomeAcessivel(nome, m_captionLanguage, caption));
    }
}

void FormMain::showRefusedValues()
{
    if (m_refused.isEmpty()) return;
    // Messages are Portuguese in both languages; the field is named as its
    // label reads, with the control name a technician can quote.
    QStringList linhas;
    for (const auto &[campo, texto] : std::as_const(m_refused)) {
        const QString rotulo = Legendas::nomeAcessivel(campo, 0);
        linhas << QStringLiteral("%1 (%2): \"%3\"")
                      .arg(rotulo.isEmpty() ? campo : rotulo, campo, texto);
    }
    m_refused.clear();
    m_s.messages.show(
        QStringLiteral("Estes valores não foram escritos no temporizador, que não os pode "
                       "guardar:\n%1\nCorrija-os e confirme cada um com Enter.")
            .arg(linhas.join(QLatin1Char('\n'))),
        QStringLiteral("Manutenção"), MessageSink::Icon::None);
}

void FormMain::exportarPdf()
{
    const QString ns = m_s.edit.text(QStringLiteral("text_numfab_ano")) +
                       m_s.edit.text(QStringLiteral("Text_numfab_num"));
    const QString sugestao =
        QDir(QDir::homePath()).filePath(QStringLiteral("relatorio-%1.pdf").arg(ns));
    const QString caminho = QFileDialog::getSaveFileName(
        this, Legendas::legenda(QStringLiteral("mnu_exportar"), m_idioma), sugestao,
        QStringLiteral("PDF (*.pdf)"));
    if (!caminho.isEmpty()) m_s.relatorio.exportarPdf(caminho);
}

void FormMain::escolherPorta(int n)
{
    m_s.portas.escolher(n);
    for (int k = 1; k <= 4; ++k)
        m_ligacao->sincronizar(QStringLiteral("mnu_porta%1").arg(k));
    actualizarMenuPortas();
}

void FormMain::actualizarMenuPortas()
{
    const bool livre = m_s.edit.control(kMenuPortas).enabled && m_s.portas.disponivel();
    if (QMenu *m = menu(kMenuPortas)) {
        m->setEnabled(livre);
        m->menuAction()->setEnabled(livre);
    }
    for (int k = 1; k <= 4; ++k)
        if (QAction *a = accao(QStringLiteral("mnu_porta%1").arg(k))) a->setEnabled(livre);
}

void FormMain::abrirPredefinir()
{
    auto *janela = new FormPredefinir(m_s.predefinicao, ecra(), this);
    janela->show();
    janela->raise();
}

void FormMain::closeEvent(QCloseEvent *event)
{
    // The close cannot be refused; it runs the closing sequence, which ends
    // the program. A second close while that sequence waits is ignored.
    if (m_s.saida.emCurso()) {
        event->ignore();
        return;
    }
    m_s.saida.fecharJanela();
    event->accept();
}

} // namespace vx
