// FormMain's menus and buttons and what they start: the menu bar, the
// buttons bound to the engine, and the actions that open a dialog or another
// window first (report export, port choice, defaults, history, Clear's
// question, paste). The window's layout, captions and language are in
// formmain.cpp.
#include "formmain.h"

#include "actionresults.h"
#include "captions.h"
#include "clearconfirmation.h"
#include "clearsnapshots.h"
#include "clock.h"
#include "configurationmenu.h"
#include "connectionwatcher.h"
#include "databases.h"
#include "editset.h"
#include "engine.h"
#include "filedialogs.h"
#include "fileerror.h"
#include "formpredefinir.h"
#include "historywindow.h"
#include "messagetexts.h"
#include "modelbinding.h"
#include "newunit.h"
#include "portchooser.h"
#include "portmenu.h"
#include "report.h"
#include "shutdown.h"
#include "statusline.h"
#include "takingswindow.h"
#include "visitrecorder.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>

namespace vx {

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
        *ports, m_s.ports, [this] { return m_captionLanguage; }, this);
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
    QAction *takingsAction =
        report->addAction(Captions::caption(QStringLiteral("mnu_receitas"), 0));
    takingsAction->setObjectName(QStringLiteral("mnu_receitas"));
    m_actions.insert(takingsAction->objectName(), takingsAction);
    connect(takingsAction, &QAction::triggered, this, &FormMain::openTakings);

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
    item(QStringLiteral("mnu_novo"), [this] { newOrAccept(); });
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
    bind("Command_enviar", [this] {
        m_s.engine.Command_enviar_Click();
        m_actionResults->impulsesRequested();
    });
    bind("Command_teste_disp", [this] {
        m_s.engine.Command_teste_disp_Click();
        m_actionResults->displayTestRequested();
    });
    bind("Command_clear", [this] { confirmClear(); });
    bind("command_copy1", [this] { m_s.engine.command_copy1_Click(); });
    bind("command_paste1", [this] { paste(); });
    bind("Command_imprimir", [this] {
        if (!unitUsable()) return;
        m_actionResults->started("printing");
        const bool printed =
            m_s.report.print(Report::previousVisit(m_s.history, m_s.edit, m_s.clock.now().date()));
        m_actionResults->finished(printed ? "printed" : "printFailed");
    });
    bind("Command_sair", [this] { m_s.shutdown.exitApplication(); });
    bind("Command_novo", [this] { newOrAccept(); });
}

// "Novo", which becomes "Aceitar" while a new unit is entered.
void FormMain::newOrAccept()
{
    // A new unit is made of the timer on the line: not of one nobody read.
    if (m_s.edit.unitMismatch() && !unitUsable()) return;
    if (m_s.edit.session.modo == 1)
        m_actionResults->unitAcceptRequested(m_s.newUnit.accept());
    else
        m_s.newUnit.prepare();
}

void FormMain::exportPdf()
{
    if (!unitUsable()) return;
    const QString ns = UnitIdentity::shownMakerNumber(m_s.edit);
    const QString suggestion =
        QDir(QDir::homePath()).filePath(QStringLiteral("relatorio-%1.pdf").arg(ns));
    if (!m_fileDialogs) return;
    const QString path =
        m_fileDialogs->saveFileName(Captions::caption(QStringLiteral("mnu_exportar"), m_idioma),
                                    suggestion, QStringLiteral("PDF (*.pdf)"));
    // The unit is confirmed after the file was chosen: the dialog may have
    // stayed open while the cable was moved.
    if (path.isEmpty() || !unitUsable()) return;
    const QString shown = QDir::toNativeSeparators(path);
    m_actionResults->started("pdfExporting", shown);
    const bool saved = m_s.report.exportPdf(
        path, Report::previousVisit(m_s.history, m_s.edit, m_s.clock.now().date()));
    m_actionResults->finished(saved ? "pdfExported" : "pdfFailed", shown);
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
        m_historyWindow->setOutboxFolder(m_s.databases.folder());
        m_historyWindow->setLanguage(m_captionLanguage);
    }
    m_historyWindow->showWindowUnit();
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

void FormMain::openTakings()
{
    if (!m_takingsWindow) {
        m_takingsWindow = new TakingsWindow(m_s.history, m_s.report, m_s.clock, m_fileDialogs,
                                            m_s.messages, this);
        m_takingsWindow->setLanguage(m_captionLanguage);
    }
    m_takingsWindow->refresh();
    m_takingsWindow->show();
    m_takingsWindow->raise();
    m_takingsWindow->activateWindow();
}

void FormMain::confirmClear()
{
    if (!unitUsable(MessageId::ClearNoReply)) return;
    auto *dialog =
        new ClearConfirmation(m_s.edit, m_captionLanguage, m_s.clearSnapshots.where(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, &FormMain::clearConfirmed);
    dialog->open();
}

bool FormMain::unitUsable(MessageId whenInDoubt)
{
    const int language = m_captionLanguage;
    if (const auto &mismatch = m_s.edit.unitMismatch()) {
        m_s.messages.show(
            messageText(MessageId::UnitNotRead, language).arg(mismatch->onLine.label()),
            messageText(MessageId::TitleMaintenance, language), MessageSink::Icon::Critical);
        return false;
    }
    if (m_s.engine.unitTrusted() &&
        m_s.connection.state().phase != ConnectionState::Phase::NotAnswering)
        return true;
    m_s.messages.show(messageText(whenInDoubt, language),
                      messageText(MessageId::TitleMaintenance, language),
                      MessageSink::Icon::Critical);
    return false;
}

void FormMain::paste()
{
    if (!unitUsable()) return;
    m_s.engine.command_paste1_Click();
    m_s.visits.recordOnceWritten(Snapshot::Reason::Paste);
}

void FormMain::clearConfirmed()
{
    // The connection may have ended, or the unit changed, while the question
    // was open; Clear is never kept for a timer that does not answer, and
    // another unit on the line is said.
    if (m_s.edit.unitMismatch() && !unitUsable()) return;
    if (m_s.edit.session.modo != 2 || !m_s.edit.control(QStringLiteral("Command_clear")).enabled)
        return;
    if (!unitUsable(MessageId::ClearNoReply)) return;
    m_s.engine.Command_clear_Click();
}

bool FormMain::storeBeforeErase(const EditSet &unit)
{
    SnapshotPlace place;
    QString error;
    if (m_s.clearSnapshots.store(unit, &place, &error)) return true;
    const QString where = m_s.clearSnapshots.where();
    m_s.messages.show(textOf(kClearDialogTexts, "notStored", m_captionLanguage).arg(error, where),
                      QStringLiteral("Clear"), MessageSink::Icon::Critical);
    return false;
}

} // namespace vx
