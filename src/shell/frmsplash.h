#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace vx {

class Clock;
class Databases;
class FormMain;

// frmSplash: the start of the program. It takes the language from the
// settings, has the main window load in it, shows itself for three seconds
// and then hands over to the main window.
//
// The hand-over waits for the main window's load sequence: when the stored
// port cannot be opened, its message may still be open when the three
// seconds are up, and the main window must not appear behind an unanswered
// message. The order is always: load finished, splash shown, then (at the
// earliest three seconds after the splash was made) splash closed and main
// window shown. With an unrecognised language the load runs at the hand-over,
// still before the splash closes.
//
// Any message shown before start() (records that cannot be used) runs a
// nested event loop in which the three seconds may end: the hand-over then
// waits for start(), so that the main window is loaded in the stored language
// and the splash, once shown, is always closed again.
class FrmSplash : public QWidget
{
    Q_OBJECT
public:
    // The three seconds are nominal: the clock says how long they last.
    FrmSplash(FormMain &mainWindow, Databases &databases, const Clock &clock,
              QWidget *parent = nullptr);

    // Reads the stored language, builds the main window in it when it is
    // known (its load sequence runs now, hidden), then shows the splash.
    void start();

    QLabel *lblProductName() const { return m_product; }
    QLabel *lblVersion() const { return m_version; }
    QTimer &Timer_apresentacao() { return m_timer; }
    bool finished() const { return m_finished; }

signals:
    // The splash has closed and the main window is shown.
    void handedOver();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void onTimeUp();
    void finish();

    FormMain &m_mainWindow;
    Databases &m_databases;
    QLabel *m_product;
    QLabel *m_version;
    QTimer m_timer;
    bool m_timeUp = false;
    // start() has read the language, loaded the main window and shown the
    // splash: only then may the splash hand over.
    bool m_started = false;
    bool m_finished = false;
};

} // namespace vx
