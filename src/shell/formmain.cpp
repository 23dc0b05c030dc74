#include "formmain.h"

#include "actionresults.h"
#include "captions.h"
#include "connectionwatcher.h"
#include "databases.h"
#include "editset.h"
#include "engine.h"
#include "fieldfit.h"
#include "fileerror.h"
#include "historywindow.h"
#include "linknotice.h"
#include "messagetexts.h"
#include "modelbinding.h"
#include "newunit.h"
#include "portchooser.h"
#include "portmenu.h"
#include "refusedvaluesnotice.h"
#include "screenfit.h"
#include "shutdown.h"
#include "statusline.h"
#include "takingswindow.h"
#include "unitswapnotice.h"
#include "windowbuilder.h"
#include "windowlayout.h"
#include "writestateview.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QShortcut>

namespace vx {

namespace {

// Alt alone then opens the menu bar's first menu to the arrow keys, as on
// the desktops the technicians know; the application's own style says
// otherwise on some desktops.
class MenuBarKeys : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// An access key for each menu of the bar and each item of a menu; the
// captions themselves stay as they are.
void markAccessKeys(const QList<QAction *> &actions)
{
    QList<QAction *> items;
    QStringList texts;
    for (QAction *a : actions) {
        if (a->isSeparator() || a->text().isEmpty()) continue;
        items << a;
        texts << a->text();
    }
    const QStringList marked = Captions::withMnemonics(texts);
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i]->text() != marked[i]) items[i]->setText(marked[i]);
}

} // namespace

FormMain::FormMain(const Services &s, bool factory, QWidget *parent)
    : QMainWindow(parent), m_s(s), m_binding(new ModelBinding(s.edit, this)),
      m_statusLine(new StatusLine(s.link, s.clock, this)),
      m_actionResults(new ActionResults(
          s.edit, s.engine, s.link, s.newUnit, *m_statusLine, [this] { return m_captionLanguage; },
          this)),
      m_area(new QWidget(this))
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
    // The menus by keyboard: Alt+letter, Alt alone and F10.
    auto *keys = new MenuBarKeys;
    keys->setParent(menuBar());
    menuBar()->setStyle(keys);
    for (QMenu *m : std::as_const(m_menus))
        connect(m, &QMenu::aboutToShow, this, [m] { markAccessKeys(m->actions()); });
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] {
        for (QAction *a : menuBar()->actions())
            if (a->isEnabled() && a->isVisible()) {
                menuBar()->setActiveAction(a);
                return;
            }
    });
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
        showFactoryButtons();
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
    m_linkNotice = new LinkNotice(m_s.connection, m_area);
    m_unitNotice = new UnitSwapNotice(
        m_s.edit, [this](const QString &name) { return control(name); }, m_area);
    // Clear keeps the unit as a read just before the erase finds it.
    m_s.engine.setBeforeErase([this](const EditSet &unit) { return storeBeforeErase(unit); });
    connect(&m_s.engine, &Engine::tickFinished, this, &FormMain::updatePortMenu);
    connect(&m_s.engine, &Engine::engineStopped, this, &FormMain::updatePortMenu);
    connect(&m_statusLine->timer(), &QTimer::timeout, this, &FormMain::updatePortMenu);
    connect(&m_s.newUnit, &NewUnit::focusRequested, this, [this](const QString &field) {
        if (QWidget *w = control(field)) w->setFocus(Qt::OtherFocusReason);
    });
    m_s.ports.setLanguage([this] { return m_captionLanguage; });
    connect(&m_s.connection, &ConnectionWatcher::stateChanged, m_statusLine,
            &StatusLine::showConnection);
    new WriteStateView(
        m_s.edit, *m_statusLine, [this](const QString &name) { return control(name); },
        [this] { return m_captionLanguage; }, this);
    updatePortMenu();
    aplicar_idioma(0);
}

FormMain::~FormMain() = default;

// At the factory a new unit is accepted, and units copied, with the buttons
// on the window beside the others, not only from the menu: "Aceitar" must be
// in sight while a new unit is entered.
void FormMain::showFactoryButtons()
{
    for (const char *name : {"Command_novo", "Label3", "command_copy1", "command_paste1"}) {
        QWidget *w = control(QLatin1String(name));
        w->setProperty("vx_hidden", false);
        if (m_s.edit.has(QLatin1String(name)))
            m_s.edit.setVisible(QLatin1String(name), true);
        else
            w->setVisible(true);
    }
    m_binding->sync(QStringLiteral("Command_novo"));
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
    growFonts(ScreenFit::fontGrowth(e));
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
    // The window opens with the focus on "Lêr", not on the first box of the
    // tab order, whose value a first key would replace.
    control(QStringLiteral("Command_ler"))->setFocus(Qt::OtherFocusReason);
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
    // Eight points is where a caption starts; it steps down from there only
    // when its text does not fit.
    for (auto it = m_controls.constBegin(); it != m_controls.constEnd(); ++it)
        if (Captions::eightPoints(it.key())) WindowBuilder::setDesignPoints(it.value(), 8.0);
}

void FormMain::growFonts(double growth)
{
    if (growth <= 1.0) return;
    for (QWidget *w : std::as_const(m_controls))
        if (WindowBuilder::kindPoints(w) > 0)
            WindowBuilder::setDesignPoints(w, WindowBuilder::kindPoints(w) * growth);
    for (QWidget *w : {static_cast<QWidget *>(menuBar()), static_cast<QWidget *>(m_statusLine)}) {
        QFont f = w->font();
        f.setPointSizeF(QApplication::font().pointSizeF() * growth);
        w->setFont(f);
    }
    m_statusLine->setDesignPoints(QApplication::font().pointSizeF() * growth);
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
    // A hidden window hears of its controls' new sizes only once it shows.
    FieldFit::fitCaptions(m_area);
    // Over the picture, which holds no value.
    m_linkNotice->setGeometry(m_controls.value(QStringLiteral("Image1"))->geometry());
    m_unitNotice->place(m_linkNotice->geometry());
}

void FormMain::setLanguage(int idioma)
{
    m_idioma = knownLanguage(idioma);
    m_s.edit.setLanguage(m_idioma);
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
    for (const std::span<const Text> table :
         {std::span<const Text>(kCaptions), std::span<const Text>(kFactoryCaptions),
          std::span<const Text>(kReportCaptions), std::span<const Text>(kPortCaptions),
          std::span<const Text>(kConfigurationCaptions)})
        for (const Text &l : table)
            changeCaption(Captions::text(l.key), textIn(l, idioma));
    // Menu titles put back by the table above get their access keys again.
    markAccessKeys(menuBar()->actions());
    m_statusLine->setLanguage(idioma);
    FieldFit::fitCaptions(m_area);
    updateAccessibleNames();
    m_linkNotice->setLanguage(idioma);
    m_unitNotice->setLanguage(idioma);
    if (m_historyWindow) m_historyWindow->setLanguage(idioma);
    if (m_takingsWindow) m_takingsWindow->setLanguage(idioma);
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
