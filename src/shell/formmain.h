#pragma once

#include "messagetexts.h"
#include "services.h"

#include <QHash>
#include <QMainWindow>
#include <QRect>

class QAction;
class QMenu;

namespace vx {

class StatusLine;
class FileDialogs;
class HistoryWindow;
class TakingsWindow;
class ModelBinding;
class ConnectionWatcher;
class PortMenu;
class LinkNotice;
class ActionResults;
class EditSet;
class UnitSwapNotice;

// Form_main, the one working window. A view of the edit set: every control
// carries its control name as objectName, shows what the model holds and
// hands clicks, keys and edits to the model, the engine and the shell's
// widget-free services (port choice, shutdown, new unit, report, defaults).
class FormMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit FormMain(const Services &s, bool factory = false, QWidget *parent = nullptr);
    ~FormMain() override;

    // The screen the load sequence fits the window to. Without a call, the
    // primary screen.
    void setScreenSize(QSize screenSize, double dpi = 96.0);
    QSize screenSize() const;
    double dpi() const;

    // The load sequence; runs once, the first time it is asked for.
    void load();
    bool loaded() const { return m_loaded; }
    bool loading() const { return m_loading; }
    // Shows the window maximized, as delivered.
    void present();

    // Language: 0 Portuguese, 1 English.
    int idioma() const { return m_idioma; }
    // The stored language at start: the code and the menu ticks.
    void setLanguage(int idioma);
    void aplicar_idioma(int idioma);
    // The items of the language menu.
    void mnu_pt_Click() { chooseLanguage(0); }
    void mnu_EN_Click() { chooseLanguage(1); }

    QWidget *control(const QString &name) const { return m_controls.value(name); }
    QAction *action(const QString &name) const { return m_actions.value(name); }
    QMenu *menu(const QString &name) const { return m_menus.value(name); }
    StatusLine *statusLine() const { return m_statusLine; }
    // What the actions started from the window do, on the status line.
    ActionResults &actionResults() { return *m_actionResults; }
    PortMenu &portMenu() { return *m_portMenu; }
    ConnectionWatcher &connection() { return m_s.connection; }
    ModelBinding &binding() { return *m_binding; }
    // The defaults window (factory menu).
    void openDefaults();
    // The notice that the timer has stopped answering.
    LinkNotice *linkNotice() const { return m_linkNotice; }
    // The notice that another unit is on the line.
    UnitSwapNotice *unitNotice() const { return m_unitNotice; }
    // Where the history window saves a visit to; without, it cannot save.
    void setFileDialogs(FileDialogs *dialogs) { m_fileDialogs = dialogs; }
    // Where the window asks for a file; none: no file can be asked for.
    FileDialogs *fileDialogs() const { return m_fileDialogs; }
    // Whether the window's values may be used on the unit on the line now;
    // says why not (another unit, or `whenInDoubt` while the unit is not
    // confirmed after an interruption).
    bool unitUsable(MessageId whenInDoubt = MessageId::UnitInDoubt);
    // "Histórico…": the history window, showing the unit in this window.
    void openHistory();
    // Made the first time it is opened.
    HistoryWindow *historyWindow() const { return m_historyWindow; }
    // "Receitas por unidade": the takings of every unit visited in the last
    // year; made the first time it is opened.
    void openTakings();
    TakingsWindow *takingsWindow() const { return m_takingsWindow; }

signals:
    void loadFinished();
    // "Registo de comunicação" was chosen.
    void trafficLogRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The port menu, rebuilt each time it opens.
    static inline const QString kPortMenu = QStringLiteral("mnu_comunicação");
    void createMenus(bool factory);
    void connectButtons();
    void chooseLanguage(int idioma);
    void choosePort(int n);
    void exportPdf();
    void updatePortMenu();
    void applyEightPointFont();
    void growFonts(double growth);
    void fitControls();
    void changeCaption(const QString &name, const QString &text);
    // What a control shows as its caption now: the model's for buttons and
    // tick boxes that hold one, the language's otherwise.
    QString currentCaption(const QString &name) const;
    // Screen-reader names that use the caption of `changed` (all when empty).
    void updateAccessibleNames(const QString &changed = {});
    // "Clear": asks first, then stores the unit's values, then clears.
    void confirmClear();
    // "PC -> Pic", kept in the unit's history once the timer holds the values.
    void paste();
    void newOrAccept();
    void showFactoryButtons();
    void clearConfirmed();
    // What Clear keeps right before its erase: the unit as read then.
    bool storeBeforeErase(const EditSet &unit);

    Services m_s;
    ModelBinding *m_binding;
    StatusLine *m_statusLine;
    ActionResults *m_actionResults;
    QWidget *m_area;
    QHash<QString, QWidget *> m_controls;
    QHash<QString, QRect> m_design;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QSize m_screenSize;
    double m_dpi = 96.0;
    int m_idioma = 0;
    // The language of the captions on the window now (aplicar_idioma's).
    int m_captionLanguage = 0;
    bool m_loaded = false;
    bool m_loading = false;
    PortMenu *m_portMenu = nullptr;
    // The status line names the port in use after every choice.
    void showPortInUse();
    LinkNotice *m_linkNotice = nullptr;
    UnitSwapNotice *m_unitNotice = nullptr;
    FileDialogs *m_fileDialogs = nullptr;
    HistoryWindow *m_historyWindow = nullptr;
    TakingsWindow *m_takingsWindow = nullptr;
};

} // namespace vx
