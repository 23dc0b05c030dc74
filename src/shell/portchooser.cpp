#include "portchooser.h"

#include "databases.h"
#include "editset.h"
#include "messages.h"
#include "serialport.h"

namespace vx {

PortChooser::PortChooser(EditSet &edit, SerialPort &port, Databases &databases,
                         MessageSink &messages, std::function<bool()> engineRunning)
    : m_edit(edit), m_port(port), m_databases(databases), m_messages(messages),
      m_engineRunning(std::move(engineRunning))
{
}

QString PortChooser::msgPort(int n)
{
    return QStringLiteral("A porta %1 não existe ou está a ser utilizada!").arg(n);
}

QString PortChooser::msgPortAtStartUp(int n)
{
    return QStringLiteral("A porta %1 não existe ou está a ser utilizada! Selecione outra porta.")
        .arg(n);
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
        m_messages.show(msgPort(n), errorTitle(), MessageSink::Icon::Critical);
        return Result::PortFailed;
    }
    if (!tryPort()) {
        // The tick and the stored number still name the previous port; the
        // port itself goes back to it too, before the technician is told.
        m_port.setPortNumber(previous);
        m_messages.show(msgPort(n), errorTitle(), MessageSink::Icon::Critical);
        return Result::PortFailed;
    }
    mark(n);
    QString error;
    if (!m_databases.writeComm(n, &error)) {
        m_messages.show(msgPort(n), errorTitle(), MessageSink::Icon::Critical);
        return Result::SaveFailed;
    }
    return Result::Chosen;
}

bool PortChooser::startUp(int comm)
{
    if (!m_port.setPortNumber(comm)) {
        m_messages.show(msgPortAtStartUp(comm), errorTitle(), MessageSink::Icon::Critical);
        return false;
    }
    if (comm >= 1 && comm <= 4) mark(comm);
    if (!tryPort()) {
        m_messages.show(msgPortAtStartUp(comm), errorTitle(), MessageSink::Icon::Critical);
        return false;
    }
    return true;
}

} // namespace vx
