#include "ligacaomodelo.h"

#include "editset.h"
#include "indicador.h"

#include <QAction>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <cmath>

namespace vx {

namespace {

// An input at rest shows white, an active one red. A control that is no
// indicator keeps the view's own colour (setCor ignores an invalid one).
QColor indicatorColour(IndicatorState state)
{
    switch (state) {
    case IndicatorState::Off:
        return QColor(255, 255, 255);
    case IndicatorState::On:
        return QColor(255, 0, 0);
    case IndicatorState::None:
        break;
    }
    return {};
}

} // namespace

LigacaoModelo::LigacaoModelo(EditSet &edit, QObject *parent) : QObject(parent), m_edit(edit)
{
    connect(&m_edit, &EditSet::controlChanged, this, &LigacaoModelo::sincronizar);
}

void LigacaoModelo::ligar(const QString &nome, QObject *vista)
{
    m_vistas.insert(nome, vista);
    connect(vista, &QObject::destroyed, this,
            [this, nome, vista] { m_vistas.remove(nome, vista); });
    if (auto *caixa = qobject_cast<QLineEdit *>(vista)) {
        // Every change of the box's text, not only typing: an assistive tool
        // or an input method may set it directly, and the model must hold
        // what the box shows. The model's own changes reach the box already
        // equal to the model and are let through.
        connect(caixa, &QLineEdit::textChanged, this, [this, nome](const QString &t) {
            if (t != m_edit.text(nome)) aoEditar(nome, t);
        });
        caixa->installEventFilter(this);
    } else if (auto *marca = qobject_cast<QCheckBox *>(vista)) {
        // The box has already flipped itself; the model decides, and the
        // box is put back to what the model holds.
        connect(marca, &QCheckBox::clicked, this, [this, nome] {
            m_edit.userToggle(nome);
            sincronizar(nome);
        });
    }
    mostrar(nome, vista);
}

void LigacaoModelo::sincronizar(const QString &nome)
{
    const QList<QObject *> lista = m_vistas.values(nome);
    for (QObject *v : lista)
        mostrar(nome, v);
}

void LigacaoModelo::sincronizarTudo()
{
    for (auto it = m_vistas.constBegin(); it != m_vistas.constEnd(); ++it)
        mostrar(it.key(), it.value());
}

void LigacaoModelo::mostrar(const QString &nome, QObject *vista)
{
    if (!m_edit.has(nome)) return;
    const ControlState &s = m_edit.control(nome);
    if (auto *caixa = qobject_cast<QLineEdit *>(vista)) {
        if (caixa->text() != s.text) caixa->setText(s.text);
    } else if (auto *marca = qobject_cast<QCheckBox *>(vista)) {
        // A caption the model holds (the key reader's, which a read sets to
        // what the unit's key does) is shown; otherwise the language's stays.
        if (!s.text.isEmpty() && marca->text() != s.text) marca->setText(s.text);
        if (marca->isChecked() != s.checked) marca->setChecked(s.checked);
    } else if (auto *botao = qobject_cast<QPushButton *>(vista)) {
        if (!s.text.isEmpty() && botao->text() != s.text) botao->setText(s.text);
    } else if (auto *ind = qobject_cast<Indicador *>(vista)) {
        ind->setCor(indicatorColour(s.indicator));
    } else if (auto *barra = qobject_cast<QProgressBar *>(vista)) {
        barra->setValue(static_cast<int>(std::lround(std::clamp(s.value, 0.0, 100.0))));
    } else if (auto *rotulo = qobject_cast<QLabel *>(vista)) {
        rotulo->setText(s.text);
    } else if (auto *menu = qobject_cast<QMenu *>(vista)) {
        menu->setEnabled(s.enabled);
        menu->menuAction()->setEnabled(s.enabled);
        return;
    } else if (auto *accao = qobject_cast<QAction *>(vista)) {
        if (!s.text.isEmpty()) accao->setText(s.text);
        if (accao->isCheckable()) accao->setChecked(s.checked);
        accao->setEnabled(s.enabled);
        return;
    } else if (auto *janela = qobject_cast<QWidget *>(vista); janela && janela->isWindow()) {
        janela->setWindowTitle(s.text);
        return;
    }
    if (auto *w = qobject_cast<QWidget *>(vista)) {
        w->setEnabled(s.enabled);
        // Hidden controls stay hidden: the window never shows what the model
        // never showed.
        if (!s.visible)
            w->setVisible(false);
        else if (w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->isHidden() &&
                 !w->property("vx_oculto").toBool())
            w->setVisible(true);
    }
}

void LigacaoModelo::aoEditar(const QString &nome, const QString &texto)
{
    if (m_edit.userEdit(nome, texto)) return;
    // Refused (too long): show the model's text again, keeping the caret
    // where the technician was typing.
    for (QObject *v : m_vistas.values(nome)) {
        if (auto *caixa = qobject_cast<QLineEdit *>(v)) {
            const int pos = caixa->cursorPosition();
            const QString &modelo = m_edit.text(nome);
            const int recuo = static_cast<int>(texto.size() - modelo.size());
            caixa->setText(modelo);
            caixa->setCursorPosition(std::clamp(pos - recuo, 0, static_cast<int>(modelo.size())));
        }
    }
}

bool LigacaoModelo::eventFilter(QObject *obj, QEvent *ev)
{
    const QString nome = obj->objectName();
    if (!qobject_cast<QLineEdit *>(obj) || !m_edit.has(nome)) return false;
    if (ev->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(ev);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            m_edit.keyPress(nome, 13);
            return true;
        }
        if (k->key() == Qt::Key_Escape) {
            m_edit.keyPress(nome, 27);
            return true;
        }
    } else if (ev->type() == QEvent::FocusIn) {
        // Focus that only comes back from a message box or another window
        // must not overwrite the text kept for Escape.
        const Qt::FocusReason r = static_cast<QFocusEvent *>(ev)->reason();
        m_edit.gotFocus(nome, r != Qt::PopupFocusReason && r != Qt::ActiveWindowFocusReason);
    }
    return false;
}

} // namespace vx
