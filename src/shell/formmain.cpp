#include "formmain.h"

#include "captions.h"
#include "clearconfirmation.h"
#include "clearsnapshots.h"
#include "clock.h"
#include "configurationmenu.h"
#include "connectionwatcher.h"
#include "databases.h"
#include "editset.h"
#include "engine.h"
#include "fieldfit.h"
#include "fileerror.h"
#include "formpredefinir.h"
#include "historywindow.h"
#include "linknotice.h"
#include "messagetexts.h"
#include "modelbinding.h"
#include "newunit.h"
#include "portchooser.h"
#include "portmenu.h"
#include "refusedvaluesnotice.h"
#include "report.h"
#include "screenfit.h"
#include "shutdown.h"
#include "statusline.h"
#include "visitrecorder.h"
#include "windowbuilder.h"
#include "windowlayout.h"
#include "writestateview.h"

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

const QString kPortMenu = QStringLiteral("mnu_comunicação");

} // namespace

FormMain::FormMain(const Services &s, bool factory, QWidget *parent)
    : QMainWindow(parent), m_s(s), m_binding(new ModelBinding(s.edit, this)),
      m_statusLine(new StatusLine(s.link, s.clock, this)), m_area(new QWidget(this))
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
    setStatusBar(m_statusLine);
    setStyleSheet(WindowBuilder::styleSheet());

    auto built = WindowBuilder::build(m_area);
    m_controls = built.controls;
    m_design = built.design;
    createMenus(factory);
    connectButtons();
    new FieldFit(m_area);

    for (auto it = m_controls.constBegin(); it != m_controls.constEnd(); ++it)
        if (m_s.edit.has(it.key())) m_binding->bind(it.key(), it.value());
    for (auto it = m_actions.constBegin(); it != m_actions.constEnd(); ++it)
        if (m_s.edit.has(it.key())) m_binding->bind(it.key(), it.value());
    // The factory items mirror the hidden buttons they stand for.
    if (factory) {
        m_binding->bind(QStringLiteral("Command_novo"),
                        m_actions.value(QStringLiteral("mnu_novo")));
        m_binding->bind(QStringLiteral("command_copy1"),
                        m_actions.value(QStringLiteral("mnu_copiar")));
        m_binding->bind(QStringLiteral("command_paste1"),
                        m_actions.value(QStringLiteral("mnu_colar")));
    }
    m_binding->bind(QStringLiteral("Form_main"), this);

    // The port menu is closed to choices whenever the engine runs or holds
    // the port, not only after the first "Lêr".
    connect(&m_s.edit, &EditSet::controlChanged, this, [this](const QString &name) {
        if (name == kPortMenu) updatePortMenu();
    });
    // Captions the model changes (the key reader's, the new-unit flow's
    // buttons) are what a screen reader must announce too.
    connect(&m_s.edit, &EditSet::controlChanged, this, [this](const QString &name) {
        if (name.startsWith(QLatin1String("Command_")) || name.startsWith(QLatin1String("Check_")))
            updateAccessibleNames(name);
    });
    new RefusedValuesNotice(m_s.edit, m_s.engine, m_s.messages, this);
    m_linkNotice = new LinkNotice(m_s.replyWatch, m_area);
    connect(&m_s.engine, &Engine::tickFinished, this, &FormMain::updatePortMenu);
    connect(&m_s.engine, &Engine::engineStopped, this, &FormMain::updatePortMenu);
    connect(&m_statusLine->timer(), &QTimer::timeout, this, &FormMain::updatePortMenu);
    connect(&m_s.newUnit, &NewUnit::focusRequested, this, [this](const QString &field) {
        if (QWidget *w = control(field)) w->setFocus(Qt::OtherFocusReason);
    });
    m_s.ports.setLanguage([this] { return m_captionLanguage; });
    m_connection = new ConnectionWatcher(m_s.engine, m_s.link, this);
    connect(m_connection, &ConnectionWatcher::stateChanged, m_statusLine,
            &StatusLine::showConnection);
    new WriteStateView(
        m_s.edit, *m_statusLine, [this](const QString &name) { return control(name); },
        [this] { return m_captionLanguage; }, this);
    updatePortMenu();
    aplicar_idioma(0);
}

FormMain::~FormMain() = default;

void FormMain::createMenus(bool factory)
{
    auto *ports = menuBar()->addMenu(QString());
    ports->setObjectName(kPortMenu);
    m_menus.insert(kPortMenu, ports);
    connect(ports, &QMenu::aboutToShow, this, &FormMain::updatePortMenu);
    for (int n = 1; n <= 4; ++n) {
        const QString name = QStringLiteral("mnu_porta%1").arg(n);
        QAction *a = ports->addAction(Captions::caption(name, 0));
        a->setObjectName(name);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, n] { choosePort(n); });
        m_actions.insert(name, a);
    }
    m_portMenu = new PortMenu(
        *ports, m_s.ports, m_s.messages, [this] { return m_captionLanguage; }, this);
    m_actions.insert(m_portMenu->searchAction()->objectName(), m_portMenu->searchAction());
    connect(m_portMenu, &PortMenu::portChanged, this, [this] {
        for (int k = 1; k <= 4; ++k)
            m_binding->sync(QStringLiteral("mnu_porta%1").arg(k));
        updatePortMenu();
        showPortInUse();
    });

    auto *languages = menuBar()->addMenu(QString());
    languages->setObjectName(QStringLiteral("mnu_idioma"));
    m_menus.insert(languages->objectName(), languages);
    for (int n = 0; n < 2; ++n) {
        const QString name = n == 0 ? QStringLiteral("mnu_pt") : QStringLiteral("mnu_EN");
        QAction *a = languages->addAction(Captions::caption(name, 0));
        a->setObjectName(name);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, n] { chooseLanguage(n); });
        m_actions.insert(name, a);
    }

    auto *report = menuBar()->addMenu(QString());
    report->setObjectName(QStringLiteral("mnu_relatorio"));
    m_menus.insert(report->objectName(), report);
    QAction *exportAction = report->addAction(Captions::caption(QStringLiteral("mnu_exportar"), 0));
    exportAction->setObjectName(QStringLiteral("mnu_exportar"));
    m_actions.insert(exportAction->objectName(), exportAction);
    connect(exportAction, &QAction::triggered, this, &FormMain::exportPdf);
    // The report is of values read from a unit: offered whenever "Imprimir" is.
    const auto followPrint = [this, exportAction](const QString &name) {
        if (name == QLatin1String("Command_imprimir"))
            exportAction->setEnabled(m_s.edit.control(name).enabled);
    };
    connect(&m_s.edit, &EditSet::controlChanged, this, followPrint);
    followPrint(QStringLiteral("Command_imprimir"));
    QAction *logAction = report->addAction(Captions::caption(QStringLiteral("mnu_registo"), 0));
    logAction->setObjectName(QStringLiteral("mnu_registo"));
    m_actions.insert(logAction->objectName(), logAction);
    connect(logAction, &QAction::triggered, this, &FormMain::trafficLogRequested);
    QAction *historyAction =
        report->addAction(Captions::caption(QStringLiteral("mnu_historico"), 0));
    historyAction->setObjectName(QStringLiteral("mnu_historico"));
    m_actions.insert(historyAction->objectName(), historyAction);
    connect(historyAction, &QAction::triggered, this, &FormMain::openHistory);

    auto *configuration = new ConfigurationMenu(m_s, *this);
    menuBar()->addMenu(configuration->menu());
    m_menus.insert(configuration->menu()->objectName(), configuration->menu());
    for (QAction *a : configuration->menu()->actions())
        m_actions.insert(a->objectName(), a);

    if (!factory) return;
    auto *factoryMenu = menuBar()->addMenu(QString());
    factoryMenu->setObjectName(QStringLiteral("mnu_fabrica"));
    m_menus.insert(factoryMenu->objectName(), factoryMenu);
    const auto item = [&](const QString &name, auto &&action) {
        QAction *a = factoryMenu->addAction(Captions::caption(name, 0));
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, action);
        m_actions.insert(name, a);
    };
    item(QStringLiteral("mnu_novo"), [this] {
        if (m_s.edit.session.modo == 1)
            m_s.newUnit.accept();
        else
            m_s.newUnit.prepare();
    });
    item(QStringLiteral("mnu_copiar"), [this] { m_s.engine.command_copy1_Click(); });
    item(QStringLiteral("mnu_colar"), [this] { paste(); });
    factoryMenu->addSeparator();
    item(QStringLiteral("mnu_predefinir"), [this] { openDefaults(); });
}

void FormMain::connectButtons()
{
    const auto bind = [this](const char *name, auto &&action) {
        auto *b = qobject_cast<QAbstractButton *>(control(QLatin1String(name)));
        Q_ASSERT(b);
        connect(b, &QAbstractButton::clicked, this, [this, action] {
            action();
            updatePortMenu();
        });
    };
    bind("Command_ler", [this] { m_s.engine.Command_ler_Click(); });
    bind("Command_testar", [this] { m_s.engine.Command_testar_Click(); });
    bind("Command_enviar", [this] { m_s.engine.Command_enviar_Click(); });
    bind("Command_teste_disp", [this] { m_s.engine.Command_teste_disp_Click(); });
    bind("Command_clear", [this] { confirmClear(); });
    bind("command_copy1", [this] { m_s.engine.command_copy1_Click(); });
    bind("command_paste1", [this] { paste(); });
    bind("Command_imprimir", [this] {
        m_s.report.print(Report::previousVisit(m_s.history, m_s.edit, m_s.clock.now().date()));
    });
    bind("Command_sair", [this] { m_s.shutdown.exitApplication(); });
    bind("Command_novo", [this] {
        if (m_s.edit.session.modo == 1)
            m_s.newUnit.accept();
        else
            m_s.newUnit.prepare();
    });
}

void FormMain::setScreenSize(QSize screenSize, double dpi)
{
    m_screenSize = screenSize;
    m_dpi = dpi > 0 ? dpi : 96.0;
}

QSize FormMain::screenSize() const
{
    if (m_screenSize.isValid()) return m_screenSize;
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : ScreenFit::kDesignScreen;
}

double FormMain::dpi() const
{
    if (m_screenSize.isValid()) return m_dpi;
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

void FormMain::load()
{
    if (m_loaded || m_loading) return;
    m_loading = true;
    m_s.edit.session.modo = 0;
    const QSize e = screenSize();
    resize(ScreenFit::windowSize(e));
    if (ScreenFit::eightPointFont(e.height(), dpi())) applyEightPointFont();
    aplicar_idioma(m_idioma);
    fitControls();
    m_s.edit.setEnabled(QStringLiteral("Command_imprimir"), false);

    int comm = 1;
    QString error;
    if (m_s.databases.readComm(&comm, &error))
        m_s.ports.startUp(comm);
    else
        showFileError(m_s.messages, m_s.databases.settingsFile(), error, languageOf(m_s.edit));
    showPortInUse();
    m_loading = false;
    m_loaded = true;
    emit loadFinished();
}

void FormMain::present()
{
    showMaximized();
}

void FormMain::applyEightPointFont()
{
    for (auto it = m_controls.constBegin(); it != m_controls.constEnd(); ++it) {
        if (!Captions::eightPoints(it.key())) continue;
        QFont f = it.value()->font();
        f.setPointSizeF(8.0);
        it.value()->setFont(f);
    }
}

void FormMain::fitControls()
{
    const QSize e = screenSize();
    for (auto it = m_design.constBegin(); it != m_design.constEnd(); ++it)
        m_controls.value(it.key())->setGeometry(ScreenFit::scale(it.value(), e));
    // The drawing area never shrinks below what its controls need, so that
    // nothing is cut off when the window is smaller than the screen.
    QRect allOk;
    for (const Placement &l : kWindowLayout)
        if (l.parent.empty()) allOk |= QRect(l.x, l.y, l.w, l.h);
    m_area->setMinimumSize(
        ScreenFit::scale(QRect(0, 0, allOk.right() + 1, allOk.bottom() + 1), e).size());
    m_statusLine->fit(e);
    // Over the picture, which holds no value.
    m_linkNotice->setGeometry(m_controls.value(QStringLiteral("Image1"))->geometry());
}

void FormMain::setLanguage(int idioma)
{
    m_idioma = idioma == 1 ? 1 : 0;
    m_s.edit.setChecked(QStringLiteral("mnu_pt"), m_idioma == 0);
    m_s.edit.setChecked(QStringLiteral("mnu_EN"), m_idioma == 1);
}

void FormMain::chooseLanguage(int idioma)
{
    setLanguage(idioma);
    QString error;
    if (!m_s.databases.writeLanguage(m_idioma, &error))
        showFileError(m_s.messages, m_s.databases.settingsFile(), error, languageOf(m_s.edit));
    aplicar_idioma(m_idioma);
    // Qt flips a checkable item on its own; the model decides.
    m_binding->sync(QStringLiteral("mnu_pt"));
    m_binding->sync(QStringLiteral("mnu_EN"));
}

void FormMain::changeCaption(const QString &name, const QString &text)
{
    // Button captions live in the model: the new-unit flow changes them too.
    if (name.startsWith(QLatin1String("Command_"))) {
        m_s.edit.setText(name, text);
        return;
    }
    // The key reader's caption is the unit's state, set by the read; it reads
    // the same in both languages and stays as the model holds it.
    if (qobject_cast<QCheckBox *>(control(name)) && !m_s.edit.text(name).isEmpty()) {
        m_binding->sync(name);
        return;
    }
    if (QMenu *m = menu(name)) {
        m->setTitle(text);
    } else if (QAction *a = action(name)) {
        a->setText(text);
    } else if (QWidget *w = control(name)) {
        if (auto *g = qobject_cast<QGroupBox *>(w))
            g->setTitle(text);
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            b->setText(text);
        else if (auto *l = qobject_cast<QLabel *>(w))
            l->setText(text);
    }
}

void FormMain::aplicar_idioma(int idioma)
{
    if (idioma != 0 && idioma != 1) return;
    m_captionLanguage = idioma;
    m_s.engine.setBaseTitle(Captions::title(idioma));
    // The tables of the window's own controls; the status line and the
    // traffic log window translate their texts themselves.
    for (const std::span<const Caption> table :
         {std::span<const Caption>(kCaptions), std::span<const Caption>(kFactoryCaptions),
          std::span<const Caption>(kReportCaptions), std::span<const Caption>(kPortCaptions),
          std::span<const Caption>(kConfigurationCaptions)})
        for (const Caption &l : table)
            changeCaption(Captions::text(l.control), Captions::text(idioma == 1 ? l.en : l.pt));
    m_statusLine->setLanguage(idioma);
    updateAccessibleNames();
    m_linkNotice->setLanguage(idioma);
    if (m_historyWindow) m_historyWindow->setLanguage(idioma);
}

QString FormMain::currentCaption(const QString &name) const
{
    const bool fromModel =
        name.startsWith(QLatin1String("Command_")) || name.startsWith(QLatin1String("Check_"));
    QString t = fromModel ? m_s.edit.text(name) : QString();
    if (t.isEmpty()) return Captions::caption(name, m_captionLanguage);
    // "&Novo": the ampersand marks the access key, it is not read out.
    return t.remove(QLatin1Char('&'));
}

void FormMain::updateAccessibleNames(const QString &changed)
{
    const auto caption = [this](const QString &n) { return currentCaption(n); };
    for (const AccessibleName &a : kAccessibleNames) {
        const QString name = Captions::text(a.control);
        if (!changed.isEmpty() && changed != name && changed != Captions::text(a.group) &&
            changed != Captions::text(a.caption))
            continue;
        if (QWidget *w = control(name))
            w->setAccessibleName(Captions::accessibleName(name, m_captionLanguage, caption));
    }
}

void FormMain::exportPdf()
{
    const QString ns = m_s.edit.text(QStringLiteral("text_numfab_ano")) +
                       m_s.edit.text(QStringLiteral("Text_numfab_num"));
    const QString suggestion =
        QDir(QDir::homePath()).filePath(QStringLiteral("relatorio-%1.pdf").arg(ns));
    const QString path = QFileDialog::getSaveFileName(
        this, Captions::caption(QStringLiteral("mnu_exportar"), m_idioma), suggestion,
        QStringLiteral("PDF (*.pdf)"));
    if (!path.isEmpty())
        m_s.report.exportPdf(path,
                             Report::previousVisit(m_s.history, m_s.edit, m_s.clock.now().date()));
}

void FormMain::choosePort(int n)
{
    m_s.ports.choose(n);
    for (int k = 1; k <= 4; ++k)
        m_binding->sync(QStringLiteral("mnu_porta%1").arg(k));
    updatePortMenu();
    showPortInUse();
}

void FormMain::showPortInUse()
{
    m_statusLine->setPortPath(m_s.ports.portInUse());
}

void FormMain::updatePortMenu()
{
    const bool idle = m_s.edit.control(kPortMenu).enabled && m_s.ports.available();
    if (QMenu *m = menu(kPortMenu)) {
        m->setEnabled(idle);
        m->menuAction()->setEnabled(idle);
    }
    for (int k = 1; k <= 4; ++k)
        if (QAction *a = action(QStringLiteral("mnu_porta%1").arg(k))) a->setEnabled(idle);
}

void FormMain::openDefaults()
{
    auto *window = new FormPredefinir(m_s.defaults, screenSize(), this);
    window->show();
    window->raise();
}

void FormMain::openHistory()
{
    if (!m_historyWindow) {
        m_historyWindow =
            new HistoryWindow(m_s.history, m_s.edit, m_fileDialogs, m_s.messages, this);
        m_historyWindow->setLanguage(m_captionLanguage);
    }
    m_historyWindow->showWindowUnit();
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

void FormMain::confirmClear()
{
    auto *dialog =
        new ClearConfirmation(m_s.edit, m_captionLanguage, m_s.clearSnapshots.where(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, &FormMain::clearAfterSnapshot);
    dialog->open();
}

void FormMain::paste()
{
    m_s.engine.command_paste1_Click();
    m_s.visits.recordOnceWritten(Snapshot::Reason::Paste);
}

void FormMain::clearAfterSnapshot()
{
    // The connection may have ended while the question was open.
    if (m_s.edit.session.modo != 2 || !m_s.edit.control(QStringLiteral("Command_clear")).enabled)
        return;
    SnapshotPlace place;
    QString error;
    if (m_s.clearSnapshots.storeThenClear(m_s.edit, m_s.engine.titulo_base, &place, &error)) return;
    const QString where = m_s.clearSnapshots.where();
    m_s.messages.show(
        m_captionLanguage == 1
            ? QStringLiteral("Nothing was zeroed: the unit's values could not be stored first.\n"
                             "%1\nCheck that %2 can be written (or that its server can be "
                             "reached), then press Clear again.")
                  .arg(error, where)
            : QStringLiteral("Nada foi posto a zero: não foi possível guardar antes os valores "
                             "da unidade.\n%1\nVerifique se %2 pode ser escrito (ou se o seu "
                             "servidor está ao alcance), e carregue de novo em Clear.")
                  .arg(error, where),
        QStringLiteral("Clear"), MessageSink::Icon::Critical);
}

void FormMain::closeEvent(QCloseEvent *event)
{
    // The close cannot be refused; it runs the closing sequence, which ends
    // the program. A second close while that sequence waits is ignored.
    if (m_s.shutdown.inProgress()) {
        event->ignore();
        return;
    }
    m_s.shutdown.closeWindow();
    event->accept();
}

} // namespace vx
