#pragma once

#include "servicehistory.h"

#include <QList>
#include <QSize>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTabWidget;

namespace vx {

class ConfigFile;
class EditSet;
class FileDialogs;
class HistoryChart;
class JournalPanel;
class MessageSink;

// "Histórico": the visits of a unit from the service history, newest first
// in a table (when, on which PC, why, the takings and counters), its changes
// from the journal beside them, and the takings and counters over time in
// charts. The unit is the one in the main
// window, or any unit with visits chosen from a list. A visit can be saved as
// a configuration file, to compare with a unit or put on one later.
//
// A history that cannot be read (a shared database out of reach) is said in
// the window, naming its place; "Actualizar" tries again.
class HistoryWindow : public QWidget
{
    Q_OBJECT
public:
    // Its size when it opens: whole, frame and title included, on a
    // 1024 x 768 screen.
    static constexpr QSize kDefaultSize{1016, 700};

    // Without file dialogs the window cannot save a visit.
    HistoryWindow(ServiceHistory &history, const EditSet &edit, FileDialogs *dialogs,
                  MessageSink &messages, QWidget *parent = nullptr);

    void setLanguage(int idioma);
    // Shows the unit in the main window, or when it shows none, the unit
    // visited last.
    void showWindowUnit();
    // Reads the list of units and the shown unit's visits again.
    void refresh();
    // Shows one unit's visits; an empty serial matches any.
    void showUnit(const QString &manufacturingNumber, const QString &applicationSerial);

    // The visits shown, oldest first.
    const QList<Snapshot> &visits() const { return m_visits; }
    // What the window says instead of, or before, the visits: why the
    // history could not be read, or that there are none yet.
    QString notice() const;
    QTableWidget *table() const { return m_table; }
    JournalPanel *journal() const { return m_journal; }
    QTabWidget *tabs() const { return m_tabs; }
    // Where the visits and changes that wait on this PC for the records are
    // counted.
    void setOutboxFolder(const QString &dataFolder);
    HistoryChart *chart() const { return m_chart; }
    QComboBox *units() const { return m_unitList; }

    // Asks for a file and saves the visit in the table's row as a
    // configuration file; a failure is reported through the message sink.
    // False when nothing was written.
    bool saveVisit(int row);
    // A visit's values as a configuration file.
    static ConfigFile configurationOf(const Snapshot &visit);

private:
    QString text(const char *key) const;
    // A unit in the list: its numbers and how many visits it has.
    QString unitItem(const QString &number, const QString &serial, int visits) const;
    void applyTexts();
    void fillUnitList();
    void fillTable();
    void showVisits();
    void nameTabs();
    void setNotice(const QString &text, bool error);
    void chooseListedUnit(int index);
    QString windowNumber() const;
    QString windowSerial() const;
    const Snapshot *visitAt(int row) const;

    ServiceHistory &m_history;
    const EditSet &m_edit;
    FileDialogs *m_dialogs;
    MessageSink &m_messages;
    int m_idioma = 0;
    QList<SnapshotUnit> m_knownUnits;
    QList<Snapshot> m_visits;
    QString m_number; // the unit shown
    QString m_serial;
    QString m_unitsError;
    QString m_visitsError;
    QString m_outboxFolder;
    QLabel *m_unitLabel;
    QComboBox *m_unitList;
    QPushButton *m_refresh;
    QLabel *m_notice;
    QTableWidget *m_table;
    JournalPanel *m_journal;
    QTabWidget *m_tabs;
    HistoryChart *m_chart;
    QLabel *m_count;
    QPushButton *m_save;
};

} // namespace vx
