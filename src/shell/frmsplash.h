#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace vx {

class Bases;
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
class FrmSplash : public QWidget
{
    Q_OBJECT
public:
    FrmSplash(FormMain &principal, Bases &bases, QWidget *parent = nullptr);

    // Steps S1 to S5.
    void iniciar();

    QLabel *lblProductName() const { return m_produto; }
    QLabel *lblVersion() const { return m_versao; }
    QTimer &Timer_apresentacao() { return m_timer; }
    bool terminado() const { return m_terminado; }

signals:
    // The splash has closed and the main window is shown.
    void concluido();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void aoTempo();
    void terminar();

    FormMain &m_principal;
    Bases &m_bases;
    QLabel *m_produto;
    QLabel *m_versao;
    QTimer m_timer;
    bool m_tempoEsgotado = false;
    bool m_aIniciar = false;
    bool m_terminado = false;
};

} // namespace vx
