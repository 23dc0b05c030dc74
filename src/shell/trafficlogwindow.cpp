#include "trafficlogwindow.h"

#include "captions.h"
#include "filedialogs.h"
#include "messages.h"
#include "safefile.h"
#include "trafficlogwording.h"
#include "traffictrace.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <QVBoxLayout>

namespace vx {

namespace {

QString caption(const char *name, int idioma)
{
    return Captions::caption(QLatin1String(name), idioma);
}

} // namespace

// The lines in the window's language; the filter keeps a line whose shown
// or logged wording holds its text.
class TrafficLogWindow::ShownLines : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setFilterText(const QString &text)
    {
        m_wanted = text;
        invalidateFilter();
    }

    void setLanguage(int idioma)
    {
        if (m_idioma == idioma) return;
        m_idioma = idioma;
        invalidateFilter();
        if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const QVariant logged = QSortFilterProxyModel::data(index, role);
        if (role != Qt::DisplayRole) return logged;
        return TrafficLogWording::inLanguage(logged.toString(), m_idioma);
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        if (m_wanted.isEmpty()) return true;
        const QString logged = sourceModel()->index(row, 0, parent).data().toString();
        return logged.contains(m_wanted, Qt::CaseInsensitive) ||
               TrafficLogWording::inLanguage(logged, m_idioma)
                   .contains(m_wanted, Qt::CaseInsensitive);
    }

private:
    QString m_wanted;
    int m_idioma = 0;
};

TrafficLogWindow::TrafficLogWindow(FileDialogs *dialogs, MessageSink &messages, QWidget *parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs), m_messages(messages),
      m_lines(new QStringListModel(this)), m_shown(new ShownLines(this)),
      m_filter(new QLineEdit(this)), m_view(new QListView(this)), m_save(new QPushButton(this)),
      m_count(new QLabel(this)), m_header(new QLabel(this))
{
    setObjectName(QStringLiteral("Form_registo"));
    m_filter->setObjectName(QStringLiteral("Text_filtro"));
    m_filter->setClearButtonEnabled(true);
    m_view->setObjectName(QStringLiteral("List_registo"));
    m_save->setObjectName(QStringLiteral("Command_guardar"));
    m_count->setObjectName(QStringLiteral("Label_linhas"));
    m_header->setObjectName(QStringLiteral("Label_cabecalho"));
    m_header->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_shown->setSourceModel(m_lines);
    m_view->setModel(m_shown);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setUniformItemSizes(true);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_header->setFont(m_view->font());
    m_save->setEnabled(m_dialogs != nullptr);

    auto *top = new QHBoxLayout;
    top->addWidget(m_filter, 1);
    top->addWidget(m_count);
    top->addWidget(m_save);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_header);
    layout->addWidget(m_view, 1);

    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_shown->setFilterText(text);
        m_view->scrollToBottom();
        updateCount();
    });
    connect(m_save, &QPushButton::clicked, this, [this] { save(); });
    // New rows move the maximum, not the value: only a scroll (the user's
    // or ours) changes whether the view is following.
    const QScrollBar *bar = m_view->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { m_following = value >= bar->maximum(); });
    m_scrollToEnd.setSingleShot(true);
    m_scrollToEnd.setInterval(0);
    connect(&m_scrollToEnd, &QTimer::timeout, m_view, &QListView::scrollToBottom);
    resize(900, 500);
    setLanguage(0);
}

void TrafficLogWindow::setLanguage(int idioma)
{
    m_idioma = knownLanguage(idioma);
    m_shown->setLanguage(m_idioma);
    setWindowTitle(caption("trafficLogTitle", idioma));
    m_filter->setPlaceholderText(caption("trafficLogFilter", idioma));
    m_filter->setAccessibleName(caption("trafficLogFilter", idioma));
    m_view->setAccessibleName(caption("trafficLogTitle", idioma));
    m_save->setText(caption("trafficLogSave", idioma));
    m_header->setText(TrafficTrace::headerLine(m_idioma));
    updateCount();
}

void TrafficLogWindow::appendLine(const QString &line)
{
    const int row = m_lines->rowCount();
    m_lines->insertRows(row, 1);
    m_lines->setData(m_lines->index(row), line);
    if (m_lines->rowCount() >= kMaxLines) m_lines->removeRows(0, kTrimLines);
    // Once the user has scrolled up, new lines must not pull the view away
    // from what is being read.
    if (m_following) m_scrollToEnd.start();
    updateCount();
}

QStringList TrafficLogWindow::shownLines() const
{
    QStringList lines;
    lines.reserve(m_shown->rowCount());
    for (int r = 0; r < m_shown->rowCount(); ++r)
        lines << m_shown->mapToSource(m_shown->index(r, 0)).data().toString();
    return lines;
}

QStringList TrafficLogWindow::displayedLines() const
{
    QStringList lines;
    lines.reserve(m_shown->rowCount());
    for (int r = 0; r < m_shown->rowCount(); ++r)
        lines << m_shown->index(r, 0).data().toString();
    return lines;
}

int TrafficLogWindow::lineCount() const
{
    return m_lines->rowCount();
}

void TrafficLogWindow::updateCount()
{
    m_count->setText(
        caption("trafficLogCount", m_idioma).arg(m_shown->rowCount()).arg(m_lines->rowCount()));
}

bool TrafficLogWindow::save()
{
    if (!m_dialogs) return false;
    const QString suggestion = QDir(QDir::homePath()).filePath(QStringLiteral("vx308-trace.txt"));
    const QString path = m_dialogs->saveFileName(caption("trafficLogSave", m_idioma), suggestion,
                                                 caption("trafficLogFiles", m_idioma));
    if (path.isEmpty()) return false;
    QString error;
    if (writeTo(path, &error)) return true;
    m_messages.show(
        caption("trafficLogNotSaved", m_idioma).arg(QDir::toNativeSeparators(path), error),
        caption("trafficLogTitle", m_idioma), MessageSink::Icon::Critical);
    return false;
}

bool TrafficLogWindow::writeTo(const QString &path, QString *error) const
{
    // Complete or not at all: a failed save leaves an older file of the same
    // name as it was.
    QByteArray text = TrafficTrace::headerLine().toUtf8() + '\n';
    for (const QString &line : shownLines())
        text += line.toUtf8() + '\n';
    return SafeFile::write(path, text, m_idioma, error);
}

} // namespace vx
