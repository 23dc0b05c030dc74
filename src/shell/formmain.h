#pragma once

#include "servicos.h"

#include <QHash>
#include <QMainWindow>
#include <QRect>

class QAction;
class QMenu;

namespace vx {

class BarraEstado;
class LigacaoModelo;

// Form_main, the one working window. A view of the edit set: every control
// carries its control name as objectName, shows what the model holds and
// hands clicks, keys and edits to the model, the engine and the shell's
// widget-free services (port choice, shutdown, new unit, report, defaults).
class FormMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit FormMain(const Servicos &s, bool fabrica = false, QWidget *parent = nullptr);
    ~FormMain() override;

    // The screen the load sequence fits the window to. Without a call, the
    // primary screen.
    void setEcra(QSize ecra, double dpi = 96.0);
    QSize ecra() const;
    double dpi() const;

    // The load sequence; runs once, the first time it is asked for.
    void carregar();
    bool carregado() const { return m_carregado; }
    bool aCarregar() const { return m_aCarregar; }
    // Shows the window maximized, as delivered.
    void mostrar();

    // Language: 0 Portuguese, 1 English.
    int idioma() const { return m_idioma; }
    // The stored language at start: the code and the menu ticks.
    void definirIdioma(int idioma);
    void aplicar_idioma(int idioma);
    // The items of the language menu.
    void mnu_pt_Click() { escolherIdioma(0); }
    void mnu_EN_Click() { escolherIdioma(1); }

    QWidget *controlo(const QString &nome) const { return m_controlos.value(nome); }
    QAction *accao(const QString &nome) const { return m_accoes.value(nome); }
    QMenu *menu(const QString &nome) const { return m_menus.value(nome); }
    BarraEstado *barraEstado() const { return m_barra; }
    LigacaoModelo &ligacao() { return *m_ligacao; }
    // The defaults window (factory menu).
    void abrirPredefinir();

signals:
    void carregamentoTerminado();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void criarMenus(bool fabrica);
    void ligarBotoes();
    void escolherIdioma(int idioma);
    void escolherPorta(int n);
    void exportarPdf();
    void actualizarMenuPortas();
    void aplicarFonteOito();
    void ajustarControlos();
    void mudarLegenda(const QString &nome, const QString &texto);
    // What a control shows as its caption now: the model's for buttons and
    // tick boxes that hold one, the language's otherwise.
    QString currentCaption(const QString &nome) const;
    // Screen-reader names that use the caption of `changed` (all when empty).
    void updateAccessibleNames(const QString &changed = {});
    // Values the write pass refused: told to the technician once the pass
    // is over, all in one message.
    void showRefusedValues();

    Servicos m_s;
    LigacaoModelo *m_ligacao;
    BarraEstado *m_barra;
    QWidget *m_area;
    QHash<QString, QWidget *> m_controlos;
    QHash<QString, QRect> m_desenho;
    QHash<QString, QAction *> m_accoes;
    QHash<QString, QMenu *> m_menus;
    QSize m_ecra;
    double m_dpi = 96.0;
    int m_idioma = 0;
    // The language of the captions on the window now (aplicar_idioma's).
    int m_captionLanguage = 0;
    QList<QPair<QString, QString>> m_refused; // field, text
    bool m_carregado = false;
    bool m_aCarregar = false;
};

} // namespace vx
