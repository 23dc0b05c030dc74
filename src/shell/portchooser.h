#pragma once

#include <QString>
#include <functional>

namespace vx {

class Databases;
class EditSet;
class MessageSink;
class SerialPort;
enum class MessageId;

// The port menu ("Com 1" .. "Com 4") and the port check of start-up, without
// any widget: the ticks are the model's mnu_porta1..4.
//
// A choice sets the port number, opens and closes the port once as a trial,
// moves the tick and stores the number for the next start. Two things differ
// from a plain "set and try": a failed trial puts the previous number back,
// so the port in use always matches the tick; and no choice is taken while
// the engine runs or holds the port open, because switching the port under
// a connection would cut it off mid-transaction.
class PortChooser
{
public:
    enum class Result
    {
        Chosen,
        Refused,
        PortFailed,
        SaveFailed
    };

    PortChooser(EditSet &edit, SerialPort &port, Databases &databases, MessageSink &messages,
                std::function<bool()> engineRunning = {});

    // Choosing "Com N" in the port menu.
    Result choose(int n);
    // Whether the port menu may be used now.
    bool available() const;

    // Start-up: set the stored port number, tick its item when it is 1..4,
    // and trial it. False (after the message) when the port cannot be used.
    bool startUp(int comm);

    static QString errorTitle() { return QStringLiteral("Mensagem de Erro!"); }
    static QString msgPort(int n);
    static QString msgPortAtStartUp(int n);

private:
    void mark(int n);
    bool tryPort();
    // After the message the technician knows by heart, what exactly kept the
    // port from opening and what to do about it, in the window's language;
    // empty when the port does not say.
    QString whyPortFailed() const;
    // The port messages and their title in the window's language.
    QString portMessage(MessageId id, int n) const;
    QString localErrorTitle() const;

    EditSet &m_edit;
    SerialPort &m_port;
    Databases &m_databases;
    MessageSink &m_messages;
    std::function<bool()> m_engineRunning;
};

} // namespace vx
