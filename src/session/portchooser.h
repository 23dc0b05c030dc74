#pragma once

#include "portinfo.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace vx {

class Clock;
class Databases;
class EditSet;
class MessageSink;
class PortMemory;
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
                const Clock &clock, std::function<bool()> engineRunning = {});

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
    // The same two texts for a port named by its device path.
    static QString msgPort(const QString &path);
    static QString msgPortAtStartUp(const QString &path);

    // --- the system's own ports, offered below "Com 1" .. "Com 4"
    // Without a source the list is empty; without a memory nothing is kept
    // between runs but the stored "Com N".
    void setPortInfoSource(const PortInfoSource *source) { m_infos = source; }
    void setMemory(PortMemory *memory) { m_memory = memory; }
    // The interface language for the texts of its own (0 Portuguese).
    void setLanguage(std::function<int()> language) { m_language = std::move(language); }
    QList<PortInfo> systemPorts() const;
    // Choosing a listed port: the same trial, message and fallback as
    // "Com N", and no "Com N" item stays ticked.
    Result chooseDevice(const QString &path);
    // The device path chosen from the list, empty while a "Com N" is in use.
    QString chosenDevice() const { return m_chosenDevice; }
    // What the port in use opens: a device path, or what "Com N" maps to.
    QString portInUse() const;

    // "Procurar": asks each port in turn, once and harmlessly, whether a
    // VX308 answers, and chooses the first one that does.
    struct SearchOutcome
    {
        QString found;     // the port chosen, empty when none answered
        QStringList tried; // every port asked, in order
        Result result = Result::Refused;
    };
    SearchOutcome search(int timeoutMs = 1000);
    // Tells the technician what a search found, under `title`. A failed
    // choice of the port found has shown its own message already.
    void tellSearchOutcome(const SearchOutcome &outcome, const QString &title) const;
    // "/dev/ttyUSB0  FT232R USB UART (FTDI, A50285BI)": what the technician
    // recognises the adapter by, then the path it is opened by.
    static QString itemText(const PortInfo &p);

private:
    struct Candidate
    {
        int number; // "Com N", 0 for a device path
        QString path;
    };
    void mark(int n);
    bool tryPort();
    bool remember(int n, const QString &path);
    QList<Candidate> searchCandidates();
    // Puts the port back on the choice in force before a search.
    void restore(int number, const QString &device);
    // After the message the technician knows by heart, what exactly kept the
    // port from opening and what to do about it, in the window's language;
    // empty when the port does not say.
    QString whyPortFailed() const;
    // The port messages and their title in the window's language.
    QString portMessage(MessageId id, int n) const;
    QString localErrorTitle() const;
    int language() const { return m_language ? m_language() : 0; }

    EditSet &m_edit;
    SerialPort &m_port;
    Databases &m_databases;
    MessageSink &m_messages;
    const Clock &m_clock;
    std::function<bool()> m_engineRunning;
    const PortInfoSource *m_infos = nullptr;
    PortMemory *m_memory = nullptr;
    QString m_chosenDevice;
    std::function<int()> m_language;
};

} // namespace vx
