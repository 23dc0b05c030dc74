#include "historywindow.h"

#include "captions.h"
#include "configfile.h"
#include "configurationdialog.h"
#include "editset.h"
#include "filedialogs.h"
#include "historychart.h"
#include "historyvalues.h"
#include "journalpanel.h"
#include "messages.h"
#include "recordsoutbox.h"
#include "tablecell.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vx {

namespace {

// Date, time, PC and reason come before the values of kHistoryColumns.
constexpr int kHostColumn = 2;
constexpr int kValueColumn = 4;
// A PC's long name is cut short (whole in its tooltip) rather than push the
// last columns out of sight.
constexpr int kHostWidth = 100;

const char *reasonCaption(Snapshot::Reason reason)
{
    switch (reason) {
    case Snapshot::Reason::Read:
        return "historyRead";
    case Snapshot::Reason::Clear:
        return "historyClear";
    case Snapshot::Reason::Restore:
        return "historyRestore";
    case Snapshot::Reason::Paste:
        return "historyPaste";
    }
    return "historyRead";
}

} // namespace

HistoryWindow::HistoryWindow(ServiceHistory &history, const EditSet &edit, FileDialogs *dialogs,
                             MessageSink &messages, QWidget *parent)
    : QWidget(parent, Qt::Window), m_history(history), m_edit(edit), m_dialogs(dialogs),
      m_messages(messages), m_unitLabel(new QLabel(this)), m_unitList(new QComboBox(this)),
      m_refresh(new QPushButton(this)), m_notice(new QLabel(this)),
      m_table(new QTableWidget(0, kValueColumn + int(kHistoryColumns.size()), this)),
      m_journal(new JournalPanel(ChangeJournal(history.database()), this)),
      m_tabs(new QTabWidget(this)), m_chart(new HistoryChart(this)), m_count(new QLabel(this)),
      m_save(new QPushButton(this))
{
    setObjectName(QStringLiteral("Form_historico"));
    m_unitList->setObjectName(QStringLiteral("Combo_unidade"));
    m_refresh->setObjectName(QStringLiteral("Command_actualizar"));
    m_notice->setObjectName(QStringLiteral("Label_aviso"));
    m_table->setObjectName(QStringLiteral("Table_visitas"));
    m_count->setObjectName(QStringLiteral("Label_visitas"));
    m_save->setObjectName(QStringLiteral("Command_guardar"));
    m_unitLabel->setBuddy(m_unitList);
    m_notice->setWordWrap(true);
    m_notice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_notice->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setSectionResizeMode(kHostColumn, QHeaderView::Interactive);
    m_save->setEnabled(false);

    auto *top = new QHBoxLayout;
    top->addWidget(m_unitLabel);
    top->addWidget(m_unitList, 1);
    top->addWidget(m_refresh);
    m_tabs->setObjectName(QStringLiteral("Tabs_historico"));
    m_tabs->addTab(m_table, QString());
    m_tabs->addTab(m_journal, QString());
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_tabs);
    split->addWidget(m_chart);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_count);
    bottom->addStretch(1);
    bottom->addWidget(m_save);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_notice);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);

    connect(m_unitList, &QComboBox::activated, this, &HistoryWindow::chooseListedUnit);
    connect(m_refresh, &QPushButton::clicked, this, &HistoryWindow::refresh);
    connect(m_table, &QTableWidget::itemSelectionChanged, this,
            [this] { m_save->setEnabled(m_dialogs && visitAt(m_table->currentRow())); });
    connect(m_save, &QPushButton::clicked, this, [this] { saveVisit(m_table->currentRow()); });
    // Closed from the keyboard as other windows of the desktop are.
    auto *closeWindow = new QAction(this);
    closeWindow->setObjectName(QStringLiteral("mnu_fechar_historico"));
    closeWindow->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);
    addAction(closeWindow);
    // Whole, with its frame, on a 1024 x 768 screen.
    resize(kDefaultSize);
    applyTexts();
}

QString HistoryWindow::text(const char *key) const
{
    return Captions::caption(QLatin1String(key), m_idioma);
}

QString HistoryWindow::windowNumber() const
{
    // No unit until a read has filled the two fields ("-" before and after).
    const QString code = m_edit.text(fieldName(FieldId::MakerCode));
    const QString number = m_edit.text(fieldName(FieldId::MakerNumber));
    const auto blank = [](const QString &t) { return t.isEmpty() || t == QLatin1String("-"); };
    if (blank(code) || blank(number)) return {};
    // As the history keeps it: the log's form of the number.
    return ServiceHistory::unitKey(code, number);
}

QString HistoryWindow::windowSerial() const
{
    return m_edit.text(fieldName(FieldId::ApplicationSerial));
}

void HistoryWindow::setLanguage(int idioma)
{
    m_idioma = knownLanguage(idioma);
    m_journal->setLanguage(m_idioma);
    applyTexts();
    fillUnitList();
    showVisits();
}

void HistoryWindow::applyTexts()
{
    setWindowTitle(text("historyTitle"));
    m_unitLabel->setText(text("historyUnit"));
    m_unitList->setAccessibleName(text("historyUnit"));
    m_refresh->setText(text("historyRefresh"));
    m_save->setText(text("historySave"));
    m_table->setAccessibleName(text("historyTitle"));
    QStringList headers{text("historyDate"), text("historyTime"), text("historyHost"),
                        text("historyReason")};
    for (const HistoryColumn &c : kHistoryColumns)
        headers << Captions::caption(Captions::text(c.caption), m_idioma);
    m_table->setHorizontalHeaderLabels(headers);
    nameTabs();
}

void HistoryWindow::nameTabs()
{
    m_tabs->setTabText(
        0, QStringLiteral("%1 (%2)").arg(text("journalVisitsTab")).arg(m_visits.size()));
    m_tabs->setTabText(
        1, QStringLiteral("%1 (%2)").arg(text("journalTab")).arg(m_journal->changes().size()));
}

void HistoryWindow::setOutboxFolder(const QString &dataFolder)
{
    m_outboxFolder = dataFolder;
    m_journal->setOutboxFolder(dataFolder);
}

void HistoryWindow::showWindowUnit()
{
    const QString number = windowNumber();
    m_number = number;
    m_serial = number.isEmpty() ? QString() : windowSerial();
    refresh();
}

void HistoryWindow::refresh()
{
    QList<SnapshotUnit> units;
    m_unitsError.clear();
    if (!m_history.units(&units, &m_unitsError)) units.clear();
    m_knownUnits = units;
    if (m_number.isEmpty() && !m_knownUnits.isEmpty()) {
        m_number = m_knownUnits.first().manufacturingNumber;
        m_serial = m_knownUnits.first().applicationSerial;
    }
    showUnit(m_number, m_serial);
}

void HistoryWindow::fillUnitList()
{
    const QSignalBlocker block(m_unitList);
    m_unitList->clear();
    const QStringList inWindow{windowNumber(), windowSerial()};
    bool windowUnitListed = false;
    for (const SnapshotUnit &u : std::as_const(m_knownUnits)) {
        const QStringList key{u.manufacturingNumber, u.applicationSerial};
        QString item = unitItem(u.manufacturingNumber, u.applicationSerial, u.visits);
        if (key == inWindow) {
            item = text("historyInWindow").arg(item);
            windowUnitListed = true;
        }
        m_unitList->addItem(item, key);
    }
    if (!windowUnitListed && !inWindow.first().isEmpty())
        m_unitList->insertItem(
            0, text("historyInWindow").arg(unitItem(inWindow[0], inWindow[1], 0)), inWindow);
    m_unitList->setCurrentIndex(m_unitList->findData(QStringList{m_number, m_serial}));
}

QString HistoryWindow::unitItem(const QString &number, const QString &serial, int visits) const
{
    const QString n = printableText(number);
    const QString a = printableText(serial);
    if (visits == 1) return text("historyUnitItemOne").arg(n, a);
    return text("historyUnitItem").arg(n, a).arg(visits);
}

void HistoryWindow::chooseListedUnit(int index)
{
    const QStringList key = m_unitList->itemData(index).toStringList();
    if (key.size() == 2) showUnit(key[0], key[1]);
}

void HistoryWindow::showUnit(const QString &manufacturingNumber, const QString &applicationSerial)
{
    m_number = manufacturingNumber;
    m_serial = applicationSerial;
    m_visits.clear();
    m_visitsError.clear();
    QList<Snapshot> visits;
    if (!m_number.isEmpty() && m_history.visits(m_number, m_serial, &visits, &m_visitsError))
        m_visits = visits;
    m_journal->showUnit(m_number, m_serial);
    fillUnitList();
    showVisits();
}

QString HistoryWindow::notice() const
{
    QStringList lines;
    const QString error = m_visitsError.isEmpty() ? m_unitsError : m_visitsError;
    if (!error.isEmpty())
        lines << Captions::caption(QStringLiteral("historyNotRead"), m_idioma)
                     .arg(m_history.where(), error);
    else if (m_visits.isEmpty())
        lines << Captions::caption(m_number.isEmpty() ? QStringLiteral("historyNoUnits")
                                                      : QStringLiteral("historyNoVisits"),
                                   m_idioma);
    // The history lacks them until they are in: said beside what it shows.
    if (!m_outboxFolder.isEmpty()) {
        const RecordsOutbox outbox(m_outboxFolder);
        const int waiting =
            outbox.count(RecordsOutbox::placeOf(m_history.database()), ServiceHistory::table());
        if (waiting > 0) lines << text("historyWaiting").arg(waiting).arg(outbox.where());
    }
    return lines.join(QLatin1Char('\n'));
}

void HistoryWindow::setNotice(const QString &shown, bool error)
{
    m_notice->setText(shown);
    m_notice->setStyleSheet(error ? QStringLiteral("color: rgb(200,0,0); font-weight: bold;")
                                  : QString());
    m_notice->setVisible(!shown.isEmpty());
}

void HistoryWindow::showVisits()
{
    fillTable();
    m_chart->setVisits(m_visits, m_idioma);
    setNotice(notice(), !m_unitsError.isEmpty() || !m_visitsError.isEmpty());
    m_count->setText(m_visits.size() == 1 ? text("historyCountOne")
                                          : text("historyCount").arg(m_visits.size()));
    nameTabs();
}

void HistoryWindow::fillTable()
{
    m_table->clearContents();
    m_table->setRowCount(static_cast<int>(m_visits.size()));
    // Newest first: the visit looked for is usually a recent one.
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const int index = m_table->rowCount() - 1 - row;
        const Snapshot &v = m_visits.at(index);
        m_table->setItem(row, 0,
                         tableCell(v.taken.date().toString(QStringLiteral("dd-MM-yyyy")), false));
        m_table->setItem(row, 1,
                         tableCell(v.taken.time().toString(QStringLiteral("hh:mm")), false));
        m_table->setItem(row, kHostColumn, tableCell(v.host, false));
        m_table->item(row, kHostColumn)->setToolTip(m_table->item(row, kHostColumn)->text());
        m_table->setItem(row, 3, tableCell(text(reasonCaption(v.reason)), false));
        m_table->item(row, 0)->setData(Qt::UserRole, index);
        int column = kValueColumn;
        for (const HistoryColumn &c : kHistoryColumns)
            m_table->setItem(row, column++,
                             tableCell(v.values.value(Captions::text(c.field)), true));
    }
    m_table->resizeColumnToContents(kHostColumn);
    if (m_table->columnWidth(kHostColumn) > kHostWidth)
        m_table->setColumnWidth(kHostColumn, kHostWidth);
    m_save->setEnabled(false);
}

const Snapshot *HistoryWindow::visitAt(int row) const
{
    const QTableWidgetItem *first = m_table->item(row, 0);
    if (!first) return nullptr;
    const int index = first->data(Qt::UserRole).toInt();
    return index >= 0 && index < m_visits.size() ? &m_visits.at(index) : nullptr;
}

ConfigFile HistoryWindow::configurationOf(const Snapshot &visit)
{
    ConfigFile file;
    file.saved = visit.taken;
    file.toolVersion = QStringLiteral(VX_VERSION);
    file.manufacturingNumber = visit.manufacturingNumber;
    file.applicationSerial = visit.applicationSerial;
    // The history keeps the window's values, not the firmware version that
    // the title showed: left empty, as the file's "unit" part is not written.
    for (const QString &name : ConfigFile::fieldNames(ConfigFile::Scope::All))
        file.setValue(name, visit.values.value(name));
    return file;
}

bool HistoryWindow::saveVisit(int row)
{
    const Snapshot *visit = visitAt(row);
    if (!m_dialogs || !visit) return false;
    const QString suggestion =
        QDir(QDir::homePath())
            .filePath(QStringLiteral("%1-%2.json")
                          .arg(visit->manufacturingNumber,
                               visit->taken.toString(QStringLiteral("yyyyMMdd-HHmm"))));
    const QString path = m_dialogs->saveFileName(text("historySave"), suggestion,
                                                 ConfigurationDialog::text("filter", m_idioma));
    if (path.isEmpty()) return false;
    QString error;
    if (configurationOf(*visit).save(path, &error)) return true;
    m_messages.show(text("historyNotSaved").arg(error), text("historyTitle"),
                    MessageSink::Icon::Critical);
    return false;
}

} // namespace vx
