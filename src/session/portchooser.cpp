#include "portchooser.h"

#include "databases.h"
#include "editset.h"
#include "messages.h"
#include "messagetexts.h"
#include "portmemory.h"
#include "portprobe.h"
#include "serialport.h"
#include "sessiontexts.h"
#include "text.h"
#include "troublemessages.h"

namespace vx {

PortChooser::PortChooser(EditSet &edit, SerialPort &port, Databases &databases,
                         MessageSink &messages, const Clock &clock,
                         std::function<bool()> engineRunning)
    : m_edit(edit), m_port(port), m_databases(databases), m_messages(messages), m_clock(clock),
      m_engineRunning(std::move(engineRunning))
{
}

QString PortChooser::msgPort(int n)
{
    return messageText(MessageId::PortMissingOrInUse, 0).arg(n);
}

QString PortChooser::msgPortAtStartUp(int n)
{
    return messageText(MessageId::PortMissingOrInUseAtStartUp, 0).arg(n);
}

QString PortChooser::msgPort(const QString &path)
{
    return messageText(MessageId::PortMissingOrInUse, 0).arg(path);
}

QString PortChooser::msgPortAtStartUp(const QString &path)
{
    return messageText(MessageId::PortMissingOrInUseAtStartUp, 0).arg(path);
}

bool PortChooser::available() const
{
    if (m_engineRunning && m_engineRunning()) return false;
    return !m_port.isOpen();
}

void PortChooser::mark(int n)
{
    for (int k = 1; k <= 4; ++k)
        m_edit.setChecked(QStringLiteral("mnu_porta%1").arg(k), k == n);
}

bool PortChooser::tryPort()
{
    if (!m_port.open()) return false;
    m_port.close();
    return true;
}

PortChooser::Result PortChooser::choose(int n)
{
    if (!available()) return Result::Refused;
    const int previous = m_port.portNumber();
    if (!m_port.setPortNumber(n)) {
        m_messages.show(portMessage(MessageId::PortMissingOrInUse, n), localErrorTitle(),
                        MessageSink::Icon::Critical);
        return Result::PortFailed;
    }
    if (!tryPort()) {
        // The tick and the stored number still name the previous port; the
        // port itself goes back to it too, before the technician is told.
        const QString why = whyPortFailed();
        restore(previous, m_chosenDevice);
        m_messages.show(portMessage(MessageId::PortMissingOrInUse, n) + why, localErrorTitle(),
                        MessageSink::Icon::Critical);
        return Result::PortFailed;
    }
    m_chosenDevice.clear();
    mark(n);
    QString error;
    if (!m_databases.writeComm(n, &error)) {
        m_messages.show(portMessage(MessageId::PortMissingOrInUse, n), localErrorTitle(),
                        MessageSink::Icon::Critical);
        return Result::SaveFailed;
    }
    return remember(n, {}) ? Result::Chosen : Result::SaveFailed;
}

PortChooser::Result PortChooser::chooseDevice(const QString &path)
{
    if (!available()) return Result::Refused;
    const int previous = m_port.portNumber();
    const QString previousDevice = m_chosenDevice;
    if (!m_port.setDevicePath(path)) {
        m_messages.show(msgPort(path), errorTitle(), MessageSink::Icon::Critical);
        return Result::PortFailed;
    }
    if (!tryPort()) {
        restore(previous, previousDevice);
        m_messages.show(msgPort(path), errorTitle(), MessageSink::Icon::Critical);
        return Result::PortFailed;
    }
    m_chosenDevice = path;
    mark(0);
    return remember(0, path) ? Result::Chosen : Result::SaveFailed;
}

bool PortChooser::remember(int n, const QString &path)
{
    if (!m_memory) return true;
    const bool stored = n > 0 ? m_memory->rememberComm(n) : m_memory->rememberDevice(path);
    if (!stored)
        m_messages.show(
            textOf(kSessionTexts, "portNotRemembered", language()).arg(m_memory->file()),
            errorTitle(), MessageSink::Icon::Critical);
    return stored;
}

void PortChooser::restore(int number, const QString &device)
{
    if (device.isEmpty() || !m_port.setDevicePath(device)) m_port.setPortNumber(number);
}

QList<PortInfo> PortChooser::systemPorts() const
{
    return m_infos ? m_infos->ports() : QList<PortInfo>{};
}

QString PortChooser::portInUse() const
{
    return m_port.devicePath();
}

QList<PortChooser::Candidate> PortChooser::searchCandidates()
{
    // What "Com 1" .. "Com 4" open first (they may be mapped to adapters or
    // to the demo timer), then the system's ports not already among them.
    QList<Candidate> list;
    QStringList paths;
    for (int n = 1; n <= 4; ++n) {
        if (!m_port.setPortNumber(n)) continue;
        const QString path = m_port.devicePath();
        if (paths.contains(path)) continue;
        paths << path;
        list.append({n, path});
    }
    for (const PortInfo &info : systemPorts()) {
        if (paths.contains(info.path)) continue;
        paths << info.path;
        list.append({0, info.path});
    }
    return list;
}

PortChooser::SearchOutcome PortChooser::search(int timeoutMs)
{
    SearchOutcome outcome;
    if (!available()) return outcome;
    const int previous = m_port.portNumber();
    const QString previousDevice = m_chosenDevice;
    PortProbe probe(m_port, m_clock);
    probe.setTimeoutMs(timeoutMs);
    for (const Candidate &c : searchCandidates()) {
        if (c.number > 0 ? !m_port.setPortNumber(c.number) : !m_port.setDevicePath(c.path))
            continue;
        outcome.tried << c.path;
        if (probe.probe() != PortProbe::Outcome::Answered) continue;
        restore(previous, previousDevice);
        outcome.found = c.path;
        outcome.result = c.number > 0 ? choose(c.number) : chooseDevice(c.path);
        return outcome;
    }
    restore(previous, previousDevice);
    outcome.result = Result::PortFailed;
    return outcome;
}

void PortChooser::tellSearchOutcome(const SearchOutcome &outcome, const QString &title) const
{
    const int idioma = language();
    if (!outcome.found.isEmpty()) {
        if (outcome.result == Result::Chosen)
            m_messages.show(textOf(kSessionTexts, "searchFound", idioma).arg(outcome.found), title,
                            MessageSink::Icon::Information);
    } else if (outcome.tried.isEmpty()) {
        m_messages.show(textOf(kSessionTexts, "searchNoPorts", idioma), title,
                        MessageSink::Icon::Information);
    } else {
        m_messages.show(textOf(kSessionTexts, "searchNone", idioma)
                            .arg(outcome.tried.join(QStringLiteral(", "))),
                        title, MessageSink::Icon::Information);
    }
}

QString PortChooser::itemText(const PortInfo &p)
{
    QStringList maker;
    if (!p.manufacturer.isEmpty()) maker << p.manufacturer;
    if (!p.serialNumber.isEmpty()) maker << p.serialNumber;
    QString t = p.path;
    if (!p.description.isEmpty()) t += QStringLiteral("  ") + p.description;
    if (!maker.isEmpty()) t += QStringLiteral(" (%1)").arg(maker.join(QStringLiteral(", ")));
    // What an adapter says of itself is the adapter's; a menu item shows it
    // readable.
    return printableText(t);
}

bool PortChooser::startUp(int comm)
{
    const QString device = m_memory ? m_memory->devicePath() : QString();
    if (!device.isEmpty() && m_port.setDevicePath(device)) {
        m_chosenDevice = device;
        mark(0);
        if (tryPort()) return true;
        m_messages.show(msgPortAtStartUp(device), errorTitle(), MessageSink::Icon::Critical);
        return false;
    }
    if (!m_port.setPortNumber(comm)) {
        m_messages.show(portMessage(MessageId::PortMissingOrInUseAtStartUp, comm),
                        localErrorTitle(), MessageSink::Icon::Critical);
        return false;
    }
    if (comm >= 1 && comm <= 4) mark(comm);
    if (!tryPort()) {
        m_messages.show(portMessage(MessageId::PortMissingOrInUseAtStartUp, comm) + whyPortFailed(),
                        localErrorTitle(), MessageSink::Icon::Critical);
        return false;
    }
    return true;
}

QString PortChooser::portMessage(MessageId id, int n) const
{
    return messageText(id, languageOf(m_edit)).arg(n);
}

QString PortChooser::localErrorTitle() const
{
    return messageText(MessageId::TitleError, languageOf(m_edit));
}

QString PortChooser::whyPortFailed() const
{
    const SerialPort::OpenFailure failure = m_port.openFailure();
    if (failure == SerialPort::OpenFailure::None) return {};
    const int idioma = m_edit.checked(QStringLiteral("mnu_EN")) ? 1 : 0;
    return QStringLiteral("\n\n") +
           troubleMessage(troubleOf(failure), idioma, m_port.deviceName(), m_port.errorText());
}

} // namespace vx
