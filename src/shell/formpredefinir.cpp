#include "formpredefinir.h"

#include "predefinicao.h"

#include <QLabel>
#include <QPushButton>

namespace vx {

FormPredefinir::FormPredefinir(Predefinicao &predefinicao, QSize ecra, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_predefinicao(predefinicao)
{
    setObjectName(QStringLiteral("Form_predefinir"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Predefinicao::titulo());
    setStyleSheet(
        QStringLiteral("QWidget#Form_predefinir { background-color: rgb(223,221,253); }"));

    auto *label = new QLabel(Predefinicao::pergunta(), this);
    label->setObjectName(QStringLiteral("Label_Predefinir"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    auto *aceitar = new QPushButton(QStringLiteral("Aceitar"), this);
    aceitar->setObjectName(QStringLiteral("Command_aceitar"));
    auto *cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("Command_cancelar"));
    for (QPushButton *b : {aceitar, cancelar}) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
    }

    setFixedSize(Predefinicao::escalarJanela(kJanela, ecra));
    label->setGeometry(Predefinicao::escalarControlo(kLabel, ecra));
    aceitar->setGeometry(Predefinicao::escalarControlo(kAceitar, ecra));
    cancelar->setGeometry(Predefinicao::escalarControlo(kCancelar, ecra));

    connect(aceitar, &QPushButton::clicked, this, &FormPredefinir::Command_aceitar_Click);
    connect(cancelar, &QPushButton::clicked, this, &FormPredefinir::Command_cancelar_Click);
}

void FormPredefinir::Command_aceitar_Click()
{
    // On a failure the message has been shown and the window stays open, so
    // that the technician can try again or cancel.
    if (m_predefinicao.aceitar()) close();
}

void FormPredefinir::Command_cancelar_Click()
{
    close();
}

} // namespace vx
