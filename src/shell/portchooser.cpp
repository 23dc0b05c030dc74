#include "portchooser.h"

#include "databases.h"
#include "editset.h"
#include "messages.h"
#include "messagetexts.h"
#include "serialport.h"
#include "troublemessages.h"

namespace vx {

PortChooser::PortChooser(EditSet &edit, SerialPort &port, Databases &databases,
                         MessageSink &messages, std::function<bool()> engineRunning)
    : m_edit(edit), m_port(port), m_databases(databases), m_messages(messages),
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
        m_port.setPortNumber(previous);
        m_messages.show(portMessage(MessageId::PortMissingOrInUse, n) + why, localErrorTitle(),
                        MessageSink::Icon::Critical);
        return Result::PortFailed;
    }
    mark(n);
    QString error;
    if (!m_databases.writeComm(n, &error)) {
        m_messages.show(portMessage(MessageId::PortMissingOrInUse, n), localErrorTitle(),
                        MessageSink::Icon::Critical);
        return Result::SaveFailed;
    }
    return Result::Chosen;
}

bool PortChooser::startUp(int comm)
{
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
