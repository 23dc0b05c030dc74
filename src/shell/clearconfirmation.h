#pragma once

#include <QDialog>

namespace vx {

class EditSet;

// "Clear" asks before it zeroes anything: the dialog names the unit and lists
// every value that will end at zero with what the window shows now, says
// that the accumulated takings stay and that the values are stored first.
// "Cancelar" is the default and Escape cancels: nothing is sent then. Once
// another unit answers on the line the question says it no longer applies,
// and only closes.
class ClearConfirmation : public QDialog
{
    Q_OBJECT
public:
    ClearConfirmation(const EditSet &edit, int idioma, const QString &snapshotFile,
                      QWidget *parent);
};

} // namespace vx
