#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSortFilterProxyModel;
class QStringListModel;

namespace vx {

class FileDialogs;
class MessageSink;

// "Registo de comunicação": the traffic log's lines as they come, newest at
// the bottom, worded in the window's language (a saved file keeps the log's
// own wording). The view follows new lines while it is scrolled to the bottom
// and stays put once the user scrolls up to read. A filter box keeps only the
// lines that contain its text; "Guardar…" writes the lines shown to a file.
// Above the lines, and first in a saved file, the log's header line says
// that the passwords are masked; no filter hides it.
class TrafficLogWindow : public QWidget
{
    Q_OBJECT
public:
    // At most this many lines are kept, a few megabytes: at the limit the
    // oldest kTrimLines go at once, as one removal is as dear as many.
    static constexpr int kMaxLines = 20000;
    static constexpr int kTrimLines = 1000;

    // Without file dialogs the window cannot save: "Guardar…" is disabled.
    TrafficLogWindow(FileDialogs *dialogs, MessageSink &messages, QWidget *parent = nullptr);

    void appendLine(const QString &line);
    // Titles, buttons and the lines already shown follow at once.
    void setLanguage(int idioma);
    int idioma() const { return m_idioma; }

    // The lines the filter lets through, oldest first, as the log words them.
    QStringList shownLines() const;
    // The same lines as the window shows them, in its language.
    QStringList displayedLines() const;
    int lineCount() const;

    // Asks for a file and writes the shown lines to it; a failure is
    // reported through the message sink. False when nothing was written.
    bool save();

private:
    class ShownLines;
    void updateCount();
    bool writeTo(const QString &path, QString *error) const;

    FileDialogs *m_dialogs;
    MessageSink &m_messages;
    int m_idioma = 0;
    QStringListModel *m_lines;
    ShownLines *m_shown;
    QLineEdit *m_filter;
    QListView *m_view;
    QPushButton *m_save;
    QLabel *m_count;
    QLabel *m_header;
    // The view is at the bottom, following new lines; false once the user
    // scrolls up.
    bool m_following = true;
    // Scrolling lays out every row: done once for a burst of lines.
    QTimer m_scrollToEnd;
};

} // namespace vx
