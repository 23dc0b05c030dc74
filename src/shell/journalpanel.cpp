#include "journalpanel.h"

#include "captions.h"
#include "recordsoutbox.h"
#include "tablecell.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <utility>

namespace vx {

namespace {

enum Column
{
    kDate,
    kTime,
    kField,
    kBefore,
    kAfter,
    kHow,
    kHost,
    kUser,
    kColumns
};

struct HowCaption
{
    const char *how;
    const char *caption;
};
constexpr std::array<HowCaption, 6> kHowCaptions{{{"window", "journalByWindow"},
                                                  {"vx308ctl set", "journalByCtl"},
                                                  {"restore", "journalByRestore"},
                                                  {"paste", "journalByPaste"},
                                                  {"clear", "journalByClear"},
                                                  {"new unit", "journalByNewUnit"}}};

QTableWidgetItem *journalCell(const QString &text, bool number)
{
    QTableWidgetItem *item = tableCell(text, number);
    item->setToolTip(item->text());
    return item;
}

} // namespace

JournalPanel::JournalPanel(ChangeJournal journal, QWidget *parent)
    : QWidget(parent), m_journal(std::move(journal)), m_fieldLabel(new QLabel(this)),
      m_fields(new QComboBox(this)), m_notice(new QLabel(this)),
      m_table(new QTableWidget(0, kColumns, this))
{
    setObjectName(QStringLiteral("Panel_alteracoes"));
    m_fields->setObjectName(QStringLiteral("Combo_campo"));
    m_table->setObjectName(QStringLiteral("Table_alteracoes"));
    m_notice->setObjectName(QStringLiteral("Label_aviso_alteracoes"));
    m_fieldLabel->setBuddy(m_fields);
    m_fields->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_notice->setWordWrap(true);
    m_notice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto *top = new QHBoxLayout;
    top->addWidget(m_fieldLabel);
    top->addWidget(m_fields);
    top->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_notice);
    layout->addWidget(m_table, 1);
    connect(m_fields, &QComboBox::activated, this,
            [this](int index) { filterField(m_fields->itemData(index).toString()); });
    applyTexts();
}

QString JournalPanel::text(const char *key) const
{
    return Captions::caption(QLatin1String(key), m_idioma);
}

QString JournalPanel::howCaption(const QString &how) const
{
    for (const HowCaption &h : kHowCaptions)
        if (how == QLatin1String(h.how)) return text(h.caption);
    return how;
}

void JournalPanel::setLanguage(int idioma)
{
    m_idioma = knownLanguage(idioma);
    applyTexts();
    fillFields();
    fillTable();
}

void JournalPanel::applyTexts()
{
    m_fieldLabel->setText(text("journalField"));
    m_fields->setAccessibleName(text("journalField"));
    m_table->setAccessibleName(text("journalTab"));
    m_table->setHorizontalHeaderLabels({text("journalDate"), text("journalTime"),
                                        text("journalFieldColumn"), text("journalBefore"),
                                        text("journalAfter"), text("journalHow"),
                                        text("historyHost"), text("journalUser")});
}

void JournalPanel::showUnit(const QString &manufacturingNumber, const QString &applicationSerial)
{
    m_number = manufacturingNumber;
    m_changes.clear();
    m_error.clear();
    QList<JournalEntry> changes;
    if (!m_number.isEmpty() && m_journal.changes(m_number, applicationSerial, &changes, &m_error))
        m_changes = changes;
    fillFields();
    fillTable();
}

void JournalPanel::filterField(const QString &field)
{
    m_field = field;
    m_fields->setCurrentIndex(std::max(0, m_fields->findData(field)));
    fillTable();
}

void JournalPanel::fillFields()
{
    const QSignalBlocker block(m_fields);
    m_fields->clear();
    m_fields->addItem(text("journalAllFields"), QString());
    QStringList names;
    for (const JournalEntry &e : std::as_const(m_changes))
        if (!names.contains(e.field)) names << e.field;
    names.sort();
    for (const QString &n : std::as_const(names))
        m_fields->addItem(n, n);
    // A field no longer among the unit's changes shows them all again.
    if (m_fields->findData(m_field) < 0) m_field.clear();
    m_fields->setCurrentIndex(std::max(0, m_fields->findData(m_field)));
}

void JournalPanel::fillTable()
{
    m_table->clearContents();
    m_table->setRowCount(0);
    for (const JournalEntry &e : std::as_const(m_changes)) {
        if (!m_field.isEmpty() && e.field != m_field) continue;
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        m_table->setItem(row, kDate,
                         journalCell(e.when.date().toString(QStringLiteral("dd-MM-yyyy")), false));
        m_table->setItem(row, kTime,
                         journalCell(e.when.time().toString(QStringLiteral("hh:mm:ss")), false));
        m_table->setItem(row, kField, journalCell(e.field, false));
        m_table->setItem(row, kBefore, journalCell(e.before, true));
        m_table->setItem(row, kAfter, journalCell(e.after, true));
        m_table->setItem(row, kHow, journalCell(howCaption(e.how), false));
        m_table->setItem(row, kHost, journalCell(e.host, false));
        m_table->setItem(row, kUser, journalCell(e.user, false));
    }
    const QString shown = notice();
    m_notice->setText(shown);
    m_notice->setStyleSheet(
        m_error.isEmpty() ? QString() : QStringLiteral("color: rgb(200,0,0); font-weight: bold;"));
    m_notice->setVisible(!shown.isEmpty());
}

QString JournalPanel::notice() const
{
    QStringList lines;
    if (!m_error.isEmpty())
        lines << text("journalNotRead").arg(m_journal.where(), m_error);
    else if (m_changes.isEmpty() && !m_number.isEmpty())
        lines << text("journalNone");
    if (!m_outboxFolder.isEmpty()) {
        const RecordsOutbox outbox(m_outboxFolder);
        const int waiting =
            outbox.count(RecordsOutbox::placeOf(m_journal.database()), ChangeJournal::table());
        if (waiting > 0) lines << text("journalWaiting").arg(waiting).arg(outbox.where());
    }
    return lines.join(QLatin1Char('\n'));
}

QString JournalPanel::countText() const
{
    const int n = m_table->rowCount();
    return n == 1 ? text("journalCountOne") : text("journalCount").arg(n);
}

} // namespace vx
