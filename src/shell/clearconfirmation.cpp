#include "clearconfirmation.h"

#include "captions.h"
#include "clearrequest.h"
#include "editset.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vx {

ClearConfirmation::ClearConfirmation(const EditSet &edit, int idioma, const QString &snapshotFile,
                                     QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Dialog_clear"));
    setWindowTitle(Captions::caption(QStringLiteral("Command_clear"), idioma));
    auto *text = new QLabel(clearQuestion(edit, idioma, snapshotFile), this);
    text->setObjectName(QStringLiteral("Label_clear_question"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *erase = buttons->addButton(textOf(kClearDialogTexts, "confirm", idioma),
                                            QDialogButtonBox::AcceptRole);
    erase->setObjectName(QStringLiteral("Command_clear_confirm"));
    QPushButton *cancel = buttons->addButton(textOf(kClearDialogTexts, "cancel", idioma),
                                             QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Command_clear_cancel"));
    // A stray Enter must not erase a unit's takings.
    erase->setAutoDefault(false);
    cancel->setAutoDefault(true);
    cancel->setDefault(true);
    cancel->setFocus();
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);

    // The question names one unit's values: once another unit answers, it
    // says so and can only be closed.
    const UnitIdentity asked = UnitIdentity::of(edit);
    connect(&edit, &EditSet::unitMismatchChanged, this,
            [this, &edit, asked, text, erase, cancel, idioma] {
                const auto &mismatch = edit.unitMismatch();
                if (!mismatch) return;
                const QString about = asked.known() ? asked.label() : mismatch->read.label();
                text->setText(textOf(kClearDialogTexts, "noLongerApplies", idioma)
                                  .arg(mismatch->onLine.label(), about));
                erase->setEnabled(false);
                erase->hide();
                cancel->setText(textOf(kClearDialogTexts, "close", idioma));
                adjustSize();
            });
}

} // namespace vx
