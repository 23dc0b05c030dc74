#pragma once

#include <QLabel>

namespace vx {

class ConnectionWatcher;

// The notice that the timer has stopped answering, drawn over the picture at
// the top right of the main window (which holds no value), so the technician
// keeps every value and button in view. It says what is likely wrong and
// that the tool keeps trying; it goes as soon as a reply is accepted again.
// When to show it is the watch's decision; this only draws it.
class LinkNotice : public QLabel
{
    Q_OBJECT
public:
    LinkNotice(const ConnectionWatcher &watch, QWidget *parent);

    // The language the notice speaks (0 Portuguese, 1 English).
    void setLanguage(int idioma);
    // The notice's text for the watch's state now; empty when there is none.
    static QString textFor(const ConnectionWatcher &watch, int idioma);

private:
    void refresh();

    const ConnectionWatcher &m_watch;
    int m_idioma = 0;
};

} // namespace vx
