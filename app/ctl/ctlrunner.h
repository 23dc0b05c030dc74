#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>
#include <memory>

namespace vx {
class EditSet;
class Engine;
class Link;
class SerialPort;
class StderrMessages;
class SystemClock;
class RecordingEnd;
} // namespace vx

// Drives the real engine the way a technician drives the window: presses
// "Lêr", waits for the read, types and confirms values, presses "Clear" or
// "Sair". Nothing is simulated; only the window is missing.
class CtlRunner : public QObject
{
    Q_OBJECT
public:
    enum class Accao
    {
        Ler,
        Definir,
        Limpar
    };
    struct Pedido
    {
        Accao accao = Accao::Ler;
        std::unique_ptr<vx::SerialPort> porta;
        QString descricaoPorta;
        bool json = false;
        int timeoutS = 30;
        QList<QPair<QString, QString>> valores; // FIELD=TEXT, for Definir
    };

    explicit CtlRunner(Pedido pedido);
    ~CtlRunner() override;

    // Starts the work; the process exits from inside when it is done.
    void start();

    // Names accepted by `set`: every writable field.
    static bool campoConhecido(const QString &nome);

private:
    void aoLer();
    void aoEscrever();
    void terminar(int status);
    void imprimir();
    // Why the time limit ran out: silence, bad replies only, or too slow.
    QString motivoDoLimite() const;

    Pedido m_pedido;
    std::unique_ptr<vx::StderrMessages> m_messages;
    std::unique_ptr<vx::SystemClock> m_clock;
    std::unique_ptr<vx::RecordingEnd> m_end;
    std::unique_ptr<vx::EditSet> m_edit;
    std::unique_ptr<vx::Link> m_link;
    std::unique_ptr<vx::Engine> m_engine;
    int m_leituras = 0;
    int m_status = 0;
    bool m_aEscrever = false;
    // Values confirmed with Enter whose write the timer has not accepted yet.
    QSet<QString> m_porEscrever;
    bool m_limpo = false;
};
