#pragma once

#include <QObject>
#include <QTimer>

namespace vx {

class EditSet;
class Engine;
class FormMain;
class FrmSplash;
class Shutdown;

// --autotest-read: once the main window is up, press "Lêr" on it, wait for
// the read to finish, print every field of the window as one line of JSON on
// standard output and leave through "Sair da Aplicação", so the device also
// receives its end-of-connection frame. A read that does not finish in time
// prints {"erro": ...} and leaves the same way.
class AutotestRead : public QObject
{
    Q_OBJECT
public:
    AutotestRead(FrmSplash &splash, FormMain &window, EditSet &edit, Engine &engine,
                 Shutdown &shutdown, int deadlineMs = 30000, QObject *parent = nullptr);

    // Before leaving, grab the window in Portuguese and in English into
    // <prefix>-pt.png and <prefix>-en.png, switching through the language
    // menu, and switch back to the language it had.
    void setScreenshot(const QString &prefix) { m_screenshot = prefix; }

    // The fields as JSON: texts of the text boxes, ticks of the tick boxes,
    // the window title, the battery percentage and the button states.
    static QByteArray fieldsJson(const EditSet &edit);

private:
    void pressRead();
    void finish(const QByteArray &row);
    bool capture(QString *error);

    FormMain &m_window;
    EditSet &m_edit;
    Shutdown &m_shutdown;
    QTimer m_deadline;
    QString m_screenshot;
    bool m_done = false;
};

} // namespace vx
