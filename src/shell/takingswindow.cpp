#include "takingswindow.h"

#include "captions.h"
#include "clock.h"
#include "fieldtable.h"
#include "filedialogs.h"
#include "messages.h"
#include "report.h"
#include "safefile.h"
#include "servicehistory.h"
#include "tablecell.h"
#include "takingschart.h"
#include "takingsdocument.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vx {

namespace {

// The table's columns: a key of TakingsDocument's captions each. The money
// and counts are right-aligned from kFiguresColumn on, up to the signs. The
// power downs are left to the saved report: with them the signs would not
// fit a 1024 x 768 screen.
const QStringList &columnKeys()
{
    static const QStringList keys{"unit",
                                  "first",
                                  "last",
                                  "visits",
                                  "clears",
                                  "accumulatedFirst",
                                  "accumulatedLast",
                                  "takings",
                                  fieldName(FieldId::Total00),
                                  fieldName(FieldId::Total08),
                                  fieldName(FieldId::Total12),
                                  fieldName(FieldId::Total15),
                                  fieldName(FieldId::Total20),
                                  fieldName(FieldId::Games),
                                  "signs"};
    return keys;
}
constexpr int kFiguresColumn = 3;

// A long caption on two lines, so that the column is as wide as its figures.
QString header(QString caption)
{
    const qsizetype space = caption.indexOf(QLatin1Char(' '));
    if (caption.size() > 10 && space > 0) caption[space] = QLatin1Char('\n');
    return caption;
}
const QColor kSignColour(176, 0, 0);

QString day(const QDateTime &t)
{
    return t.date().toString(QStringLiteral("dd-MM-yyyy"));
}

QDateEdit *dayEdit(const QString &name, QWidget *parent)
{
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

TakingsWindow::TakingsWindow(ServiceHistory &history, Report &report, const Clock &clock,
                             FileDialogs *dialogs, MessageSink &messages, QWidget *parent)
    : QWidget(parent, Qt::Window), m_history(history), m_report(report), m_dialogs(dialogs),
      m_messages(messages), m_fromLabel(new QLabel(this)),
      m_from(dayEdit(QStringLiteral("Date_de"), this)), m_toLabel(new QLabel(this)),
      m_to(dayEdit(QStringLiteral("Date_ate"), this)), m_refresh(new QPushButton(this)),
      m_saveCsv(new QPushButton(this)), m_savePdf(new QPushButton(this)),
      m_notice(new QLabel(this)), m_table(new QTableWidget(0, int(columnKeys().size()), this)),
      m_chart(new TakingsChart(this)), m_summary(new QLabel(this))
{
    setObjectName(QStringLiteral("Form_receitas"));
    m_refresh->setObjectName(QStringLiteral("Command_actualizar"));
    m_saveCsv->setObjectName(QStringLiteral("Command_guardar_csv"));
    m_savePdf->setObjectName(QStringLiteral("Command_guardar_pdf"));
    m_notice->setObjectName(QStringLiteral("Label_aviso"));
    m_table->setObjectName(QStringLiteral("Table_receitas"));
    m_summary->setObjectName(QStringLiteral("Label_resumo"));
    m_fromLabel->setBuddy(m_from);
    m_toLabel->setBuddy(m_to);
    m_notice->setWordWrap(true);
    m_notice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_notice->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The signs take what is left: whole in the row's tooltip.
    m_table->horizontalHeader()->setSectionResizeMode(int(columnKeys().size()) - 1,
                                                      QHeaderView::Stretch);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    auto *top = new QHBoxLayout;
    top->addWidget(m_fromLabel);
    top->addWidget(m_from);
    top->addWidget(m_toLabel);
    top->addWidget(m_to);
    top->addWidget(m_refresh);
    top->addStretch(1);
    top->addWidget(m_saveCsv);
    top->addWidget(m_savePdf);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_table);
    split->addWidget(m_chart);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_notice);
    layout->addWidget(split, 1);
    layout->addWidget(m_summary);

    connect(m_refresh, &QPushButton::clicked, this, &TakingsWindow::refresh);
    connect(m_from, &QDateEdit::editingFinished, this, &TakingsWindow::refresh);
    connect(m_to, &QDateEdit::editingFinished, this, &TakingsWindow::refresh);
    connect(m_saveCsv, &QPushButton::clicked, this, &TakingsWindow::saveCsv);
    connect(m_savePdf, &QPushButton::clicked, this, &TakingsWindow::savePdf);
    auto *closeWindow = new QAction(this);
    closeWindow->setObjectName(QStringLiteral("mnu_fechar_receitas"));
    closeWindow->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);
    addAction(closeWindow);

    const QDate today = clock.now().date();
    m_from->setDate(today.addYears(-1).addDays(1));
    m_to->setDate(today);
    resize(kDefaultSize);
    applyTexts();
}

TakingsWindow::~TakingsWindow()
{
    // Closing the window takes the focus from a day's box, which then says
    // its editing finished: too late to show anything.
    m_from->disconnect(this);
    m_to->disconnect(this);
}

QString TakingsWindow::text(const char *key) const
{
    return Captions::caption(QLatin1String(key), m_idioma);
}

void TakingsWindow::setLanguage(int idioma)
{
    m_idioma = idioma == 1 ? 1 : 0;
    applyTexts();
    showRows();
}

void TakingsWindow::applyTexts()
{
    setWindowTitle(text("takingsTitle"));
    m_fromLabel->setText(text("takingsFrom"));
    m_toLabel->setText(text("takingsTo"));
    m_refresh->setText(text("takingsRefresh"));
    m_saveCsv->setText(text("takingsSaveCsv"));
    m_savePdf->setText(text("takingsSavePdf"));
    m_table->setAccessibleName(text("takingsTitle"));
    QStringList headers;
    for (const QString &key : columnKeys())
        headers << header(TakingsDocument::caption(key, m_idioma));
    m_table->setHorizontalHeaderLabels(headers);
}

void TakingsWindow::setPeriod(const QDate &from, const QDate &to)
{
    m_from->setDate(from);
    m_to->setDate(to);
}

QDate TakingsWindow::from() const
{
    return m_from->date();
}

QDate TakingsWindow::to() const
{
    return m_to->date();
}

void TakingsWindow::refresh()
{
    m_rows.clear();
    m_error.clear();
    m_shownFrom = from();
    m_shownTo = to();
    if (m_shownFrom <= m_shownTo) {
        QList<UnitTakings> rows;
        if (TakingsReport::read(m_history, m_shownFrom, m_shownTo, &rows, &m_error))
            m_rows = std::move(rows);
    }
    showRows();
}

QString TakingsWindow::notice() const
{
    if (m_shownFrom > m_shownTo) return text("takingsBackwards");
    if (!m_error.isEmpty()) return text("historyNotRead").arg(m_history.where(), m_error);
    if (m_rows.isEmpty()) return TakingsDocument::caption(QStringLiteral("none"), m_idioma);
    return {};
}

void TakingsWindow::showRows()
{
    fillTable();
    m_chart->setRows(m_rows, m_idioma);
    const QString shown = notice();
    m_notice->setText(shown);
    const bool failed = !m_error.isEmpty() || m_shownFrom > m_shownTo;
    m_notice->setStyleSheet(failed ? QStringLiteral("color: rgb(200,0,0); font-weight: bold;")
                                   : QString());
    m_notice->setVisible(!shown.isEmpty());
    const auto flagged = std::count_if(m_rows.cbegin(), m_rows.cend(),
                                       [](const UnitTakings &r) { return !r.signs.isEmpty(); });
    m_summary->setText(text("takingsSummary")
                           .arg(m_rows.size())
                           .arg(TakingsReport::money(TakingsReport::total(m_rows).takings))
                           .arg(flagged));
    m_saveCsv->setEnabled(m_dialogs && !m_rows.isEmpty());
    m_savePdf->setEnabled(m_dialogs && !m_rows.isEmpty());
}

void TakingsWindow::fillTable()
{
    m_table->clearContents();
    m_table->setRowCount(int(m_rows.size()));
    for (int row = 0; row < m_table->rowCount(); ++row)
        fillRow(row, m_rows.at(row));
}

void TakingsWindow::fillRow(int row, const UnitTakings &r)
{
    QStringList cells{r.manufacturingNumber + QLatin1Char('/') + r.applicationSerial,
                      day(r.firstVisit),
                      day(r.lastVisit),
                      QString::number(r.visits),
                      QString::number(r.clears),
                      TakingsReport::money(r.accumulatedFirst),
                      TakingsReport::money(r.accumulatedLast),
                      TakingsReport::money(r.takings)};
    for (const qint64 band : r.bands)
        cells << TakingsReport::money(band);
    cells << QString::number(r.games) << TakingsDocument::signWords(r, m_idioma);
    QStringList signs;
    for (const TakingsSign &s : r.signs)
        signs << TakingsDocument::signText(s, m_idioma);
    for (int column = 0; column < cells.size(); ++column) {
        QTableWidgetItem *item =
            tableCell(cells.at(column), column >= kFiguresColumn && column < cells.size() - 1);
        if (!signs.isEmpty()) {
            item->setForeground(kSignColour);
            item->setToolTip(signs.join(QLatin1Char('\n')));
        }
        m_table->setItem(row, column, item);
    }
}

QString TakingsWindow::askFile(const char *caption, const QString &extension, const QString &filter)
{
    if (!m_dialogs || m_rows.isEmpty()) return {};
    const QString suggestion = QDir(QDir::homePath())
                                   .filePath(QStringLiteral("receitas-%1-%2.%3")
                                                 .arg(m_shownFrom.toString(Qt::ISODate),
                                                      m_shownTo.toString(Qt::ISODate), extension));
    return m_dialogs->saveFileName(text(caption), suggestion, filter);
}

bool TakingsWindow::saveCsv()
{
    const QString path = askFile("takingsSaveCsv", QStringLiteral("csv"), text("takingsCsvFiles"));
    if (path.isEmpty()) return false;
    QString error;
    if (SafeFile::write(path, TakingsDocument::csv(m_rows).toUtf8(), m_idioma, &error)) return true;
    m_messages.show(text("takingsNotSaved").arg(error), text("takingsTitle"),
                    MessageSink::Icon::Critical);
    return false;
}

bool TakingsWindow::savePdf()
{
    const QString path =
        askFile("takingsSavePdf", QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return false;
    return m_report.exportPagePdf(TakingsDocument::html(m_rows, m_shownFrom, m_shownTo, m_idioma),
                                  path, m_idioma);
}

} // namespace vx
