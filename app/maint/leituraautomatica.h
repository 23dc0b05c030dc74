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
class LeituraAutomatica : public QObject
{
    Q_OBJECT
public:
    LeituraAutomatica(FrmSplash &splash, FormMain &janela, EditSet &edit, Engine &engine,
                      Shutdown &saida, int prazoMs = 30000, QObject *parent = nullptr);

    // Before leaving, grab the window in Portuguese and in English into
    // <prefixo>-pt.png and <prefixo>-en.png, switching through the language
    // menu, and switch back to the language it had.
    void setCaptura(const QString &prefixo) { m_captura = prefixo; }

    // The fields as JSON: texts of the text boxes, ticks of the tick boxes,
    // the window title, the battery percentage and the button states.
    static QByteArray camposJson(const EditSet &edit);

private:
    void premirLer();
    void terminar(const QByteArray &linha);
    bool capturar(QString *erro);

    FormMain &m_janela;
    EditSet &m_edit;
    Shutdown &m_saida;
    QTimer m_prazo;
    QString m_captura;
    bool m_feito = false;
};

} // namespace vx
