#include "configurationmenu.h"

#include "actionresults.h"
#include "captions.h"
#include "clock.h"
#include "configurationdialog.h"
#include "editset.h"
#include "engine.h"
#include "filedialogs.h"
#include "formmain.h"
#include "messages.h"
#include "messagetexts.h"
#include "visitrecorder.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace vx {

namespace {

const QString kConnectedButton = QStringLiteral("Command_testar");

} // namespace

ConfigurationMenu::ConfigurationMenu(const Services &s, FormMain &window)
    : QObject(&window), m_s(s), m_window(window), m_menu(new QMenu(&window))
{
    m_menu->setObjectName(QStringLiteral("mnu_configuracao"));
    const auto item = [this](const char *name, void (ConfigurationMenu::*handler)()) {
        QAction *a = m_menu->addAction(Captions::text(name));
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, handler);
    };
    item("mnu_guardar_configuracao", &ConfigurationMenu::saveConfiguration);
    item("mnu_comparar_configuracao", &ConfigurationMenu::compareWithFile);
    item("mnu_repor_configuracao", &ConfigurationMenu::restoreConfiguration);

    showDialog = [](ConfigurationDialog &dialog) { return dialog.exec() == QDialog::Accepted; };

    connect(&m_s.edit, &EditSet::controlChanged, this, [this](const QString &name) {
        if (name == kConnectedButton) followConnection();
    });
    followConnection();
}

QString ConfigurationMenu::chooseFile(FileUse use) const
{
    FileDialogs *dialogs = m_window.fileDialogs();
    if (!dialogs) return {};
    const QString filter = ConfigurationDialog::text("filter", m_window.idioma());
    if (use == FileUse::Open) return dialogs->openFileName({}, filter);
    const QString unit = UnitIdentity::shownMakerNumber(m_s.edit);
    return dialogs->saveFileName({}, unit + QStringLiteral(".json"), filter);
}

// The window holds a unit's values, and the write pass runs, only between
// the end of a read and "Sair".
bool ConfigurationMenu::connected() const
{
    return m_s.edit.session.modo == 2 && m_s.edit.control(kConnectedButton).enabled;
}

// Saved, compared or restored, the window's values stand for the unit on the
// line: it must be the one they were read from.
bool ConfigurationMenu::ofUnitOnLine() const
{
    return connected() && m_window.unitUsable();
}

void ConfigurationMenu::followConnection()
{
    const bool on = m_s.edit.control(kConnectedButton).enabled;
    for (QAction *a : m_menu->actions())
        a->setEnabled(on);
}

ConfigFile ConfigurationMenu::timerValues() const
{
    // The title carries the device version as a suffix such as ".5".
    QString firmware = m_s.edit.title().mid(m_s.engine.titulo_base.size());
    if (firmware.startsWith(QLatin1Char('.'))) firmware.remove(0, 1);
    return ConfigFile::fromEditSet(m_s.edit, firmware, m_s.clock.now());
}

void ConfigurationMenu::showError(const QString &text)
{
    m_s.messages.show(text, messageText(MessageId::TitleMaintenance, languageOf(m_s.edit)),
                      MessageSink::Icon::Critical);
}

std::optional<ConfigFile> ConfigurationMenu::openFile(QString *fileName)
{
    const QString path = chooseFile(FileUse::Open);
    if (path.isEmpty()) return std::nullopt;
    *fileName = QFileInfo(path).fileName();
    QString error;
    auto file = ConfigFile::load(path, &error, m_window.idioma());
    if (!file) showError(error);
    return file;
}

void ConfigurationMenu::saveConfiguration()
{
    if (!ofUnitOnLine()) return;
    const QString path = chooseFile(FileUse::Save);
    if (path.isEmpty() || !ofUnitOnLine()) return;
    const QString shown = QDir::toNativeSeparators(path);
    m_window.actionResults().started("configurationSaving", shown);
    QString error;
    const bool saved = timerValues().save(path, &error, m_window.idioma());
    m_window.actionResults().finished(saved ? "configurationSaved" : "configurationNotSaved",
                                      shown);
    if (!saved) showError(error);
}

void ConfigurationMenu::compareWithFile()
{
    if (!ofUnitOnLine()) return;
    QString fileName;
    const auto file = openFile(&fileName);
    if (!file) return;
    ConfigurationDialog dialog(*file, timerValues(), fileName, false, m_window.idioma(), &m_window);
    showDialog(dialog);
}

void ConfigurationMenu::restoreConfiguration()
{
    if (!ofUnitOnLine()) return;
    QString fileName;
    const auto file = openFile(&fileName);
    if (!file) return;
    ConfigurationDialog dialog(*file, timerValues(), fileName, true, m_window.idioma(), &m_window);
    // The read may have ended while the dialog was open ("Sair"): then
    // nothing would write the values, and the next read would replace them.
    if (!showDialog(dialog) || !ofUnitOnLine()) return;
    // Values the timer cannot store stay out, as the dialog said; the write
    // pass writes the rest at its next tick.
    // The power downs go as the count the timer holds, one more than a read
    // shows; once written the window shows them as a read will (EditSet).
    file->applyTo(m_s.edit, dialog.scope());
    m_s.visits.recordOnceWritten(Snapshot::Reason::Restore);
}

} // namespace vx
