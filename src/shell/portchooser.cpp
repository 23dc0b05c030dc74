#include "portchooser.h"

#include "bases.h"
#include "editset.h"
#include "messages.h"
#include "serialport.h"

namespace vx {

PortChooser::PortChooser(EditSet &edit, SerialPort &port, Bases &bases, MessageSink &messages,
                         std::function<bool()> motorActivo)
    : m_edit(edit), m_port(port), m_bases(bases), m_messages(messages),
      m_motorActivo(std::move(motorActivo))
{
}

QString PortChooser::msgPorta(int n)
{
    return QStringLiteral("A porta %1 não existe ou está a ser utilizada!").arg(n);
}

QString PortChooser::msgPortaArranque(int n)
{
    return QStringLiteral("A porta %1 não existe ou está a ser utilizada! Selecione outra porta.")
        .arg(n);
}

bool PortChooser::disponivel() const
{
    if (m_motorActivo && m_motorActivo()) return false;
    return !m_port.isOpen();
}

void PortChooser::marcar(int n)
{
    for (int k = 1; k <= 4; ++k)
        m_edit.setChecked(QStringLiteral("mnu_porta%1").arg(k), k == n);
}

bool PortChooser::experimentar()
{
    if (!m_port.open()) return false;
    m_port.close();
    return true;
}

PortChooser::Resultado PortChooser::escolher(int n)
{
    if (!disponivel()) return Resultado::Recusada;
    const int anterior = m_port.portNumber();
    if (!m_port.setPortNumber(n)) {
        m_messages.show(msgPorta(n), tituloErro(), MessageSink::Icon::Critical);
        return Resultado::PortaFalhou;
    }
    if (!experimentar()) {
        // The tick and the stored number still name the previous port; the
        // port itself goes back to it too, before the technician is told.
        m_port.setPortNumber(anterior);
        m_messages.show(msgPorta(n), tituloErro(), MessageSink::Icon::Critical);
        return Resultado::PortaFalhou;
    }
    marcar(n);
    QString erro;
    if (!m_bases.gravarComm(n, &erro)) {
        m_messages.show(msgPorta(n), tituloErro(), MessageSink::Icon::Critical);
        return Resultado::GravacaoFalhou;
    }
    return Resultado::Escolhida;
}

bool PortChooser::arranque(int comm)
{
    if (!m_port.setPortNumber(comm)) {
        m_messages.show(msgPortaArranque(comm), tituloErro(), MessageSink::Icon::Critical);
        return false;
    }
    if (comm >= 1 && comm <= 4) marcar(comm);
    if (!experimentar()) {
        m_messages.show(msgPortaArranque(comm), tituloErro(), MessageSink::Icon::Critical);
        return false;
    }
    return true;
}

} // namespace vx
