#include "formpredefinir.h"

#include "defaults.h"
#include "screenfit.h"

#include <QLabel>
#include <QPushButton>

namespace vx {

FormPredefinir::FormPredefinir(Defaults &defaults, QSize screenSize, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_defaults(defaults)
{
    setObjectName(QStringLiteral("Form_predefinir"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Defaults::title());
    setStyleSheet(
        QStringLiteral("QWidget#Form_predefinir { background-color: rgb(223,221,253); }"));

    auto *label = new QLabel(Defaults::question(), this);
    label->setObjectName(QStringLiteral("Label_Predefinir"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    auto *accept = new QPushButton(QStringLiteral("Aceitar"), this);
    accept->setObjectName(QStringLiteral("Command_aceitar"));
    auto *cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("Command_cancelar"));
    for (QPushButton *b : {accept, cancel}) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
    }

    setFixedSize(ScreenFit::scale(kWindow, screenSize, kDesignScreen));
    label->setGeometry(ScreenFit::scale(kLabel, screenSize, kDesignScreen));
    accept->setGeometry(ScreenFit::scale(kAccept, screenSize, kDesignScreen));
    cancel->setGeometry(ScreenFit::scale(kCancel, screenSize, kDesignScreen));

    connect(accept, &QPushButton::clicked, this, &FormPredefinir::Command_aceitar_Click);
    connect(cancel, &QPushButton::clicked, this, &FormPredefinir::Command_cancelar_Click);
}

void FormPredefinir::Command_aceitar_Click()
{
    // On a failure the message has been shown and the window stays open, so
    // that the technician can try again or cancel.
    if (m_defaults.accept()) close();
}

void FormPredefinir::Command_cancelar_Click()
{
    close();
}

} // namespace vx
