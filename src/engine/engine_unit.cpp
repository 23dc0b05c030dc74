// Which unit is on the line. A technician may move the cable to the next
// timer without "Sair"; the link then simply reaches another unit. After any
// interruption of the line the unit is confirmed by its identity before
// anything of the window is written to it, and a different unit gets nothing
// of the one that was read.
#include "editset.h"
#include "engine.h"
#include "fieldtable.h"
#include "link.h"
#include "messages.h"
#include "messagetexts.h"

namespace vx {

namespace {

// The identity is asked for with the read's own requests for it.
constexpr const Field &kMaker = fieldRow(FieldId::MakerNumber);
constexpr uint8_t kMakerAddress = kMaker.address;
constexpr uint8_t kMakerBytes = kMaker.readBytes;
constexpr const Field &kSerial = fieldRow(FieldId::ApplicationSerial);
constexpr uint8_t kSerialAddress = kSerial.address;
constexpr uint8_t kSerialBytes = kSerial.readBytes;
constexpr int kIdentityTries = 3;

} // namespace

bool Engine::lineInterrupted() const
{
    return m_link.interruptions() != m_interruptionsSeen;
}

bool Engine::unitTrusted() const
{
    return m_unit.known() && !m_edit.unitMismatch() && !lineInterrupted();
}

Engine::UnitCheck Engine::readIdentity(UnitIdentity *seen)
{
    for (int attempt = 0; attempt < kIdentityTries; ++attempt) {
        const quint64 before = m_link.interruptions();
        if (!send(Command::ReadMemory, kMakerAddress, kMakerBytes))
            return ended() ? UnitCheck::Ended : UnitCheck::Unanswered;
        const QByteArray maker = m_link.trama_rx();
        if (!send(Command::ReadMemory, kSerialAddress, kSerialBytes))
            return ended() ? UnitCheck::Ended : UnitCheck::Unanswered;
        if (m_link.interruptions() != before) continue;
        *seen = UnitIdentity::fromReplies(maker, m_link.trama_rx());
        return *seen == m_unit ? UnitCheck::Same : UnitCheck::Other;
    }
    *seen = {};
    return UnitCheck::Other;
}

Engine::UnitCheck Engine::confirmUnit(const UnitIdentity *orAfter)
{
    UnitIdentity seen;
    const UnitCheck c = readIdentity(&seen);
    if (c == UnitCheck::Ended || c == UnitCheck::Unanswered) return c;
    if (c == UnitCheck::Other && orAfter && seen.known() && seen == *orAfter) m_unit = *orAfter;
    if (c == UnitCheck::Same || m_unit == seen) {
        m_interruptionsSeen = m_link.interruptions();
        return UnitCheck::Same;
    }
    unitNotOnLine(m_unit, seen);
    return UnitCheck::Other;
}

bool Engine::confirmIfInterrupted()
{
    if (!m_clockAnswered || !m_unit.known() || m_edit.unitMismatch() || !lineInterrupted() ||
        m_edit.session.modo != 2 || m_edit.session.ler_pedido)
        return !ended();
    return confirmUnit() != UnitCheck::Ended;
}

void Engine::unitNotOnLine(const UnitIdentity &read, const UnitIdentity &onLine)
{
    Session &s = m_edit.session;
    EditSet::UnitMismatch mismatch{read, onLine, {}, {}};
    dropWaiting(mismatch);
    m_edit.lowerAll();
    m_edit.alteracao_pendente = false;
    s.escrever_pedido = false;
    for (const char *n : {"Command_clear", "Command_imprimir", "command_copy1", "Command_enviar",
                          "Command_teste_disp"})
        m_edit.setEnabled(QLatin1String(n), false);
    for (const char *n : {"Command_ler", "Command_testar", "Command_sair"})
        m_edit.setEnabled(QLatin1String(n), true);
    m_edit.setTitle(titulo_base);
    m_edit.setUnitMismatch(mismatch);
    m_interruptionsSeen = m_link.interruptions();
    Q_EMIT unitChanged(read, onLine);
}

bool Engine::unitTakesCommand()
{
    if (!m_edit.unitMismatch() && m_unit.known() && lineInterrupted()) confirmUnit();
    return !m_edit.unitMismatch() && !(m_unit.known() && lineInterrupted());
}

bool Engine::refusedForOtherUnit()
{
    const auto &mismatch = m_edit.unitMismatch();
    if (!mismatch) return false;
    m_messages.show(
        messageText(MessageId::UnitNotRead, languageOf(m_edit)).arg(mismatch->onLine.label()),
        messageText(MessageId::TitleMaintenance, languageOf(m_edit)), MessageSink::Icon::Critical);
    return true;
}

bool Engine::holdWrites()
{
    if (!m_edit.unitMismatch()) {
        if (!m_unit.known() || !lineInterrupted()) return false;
        const UnitCheck c = confirmUnit();
        if (c == UnitCheck::Same) return false;
        if (c == UnitCheck::Ended) return true;
    }
    if (!m_edit.unitMismatch()) {
        // Not confirmed: the values stay marked for this unit, Clear is not
        // kept for whatever answers later.
        if (m_edit.session.limpar_pedido) {
            abandonClear();
            m_messages.show(messageText(MessageId::ClearNoReply, languageOf(m_edit)),
                            QStringLiteral("Clear"), MessageSink::Icon::Critical);
        }
        return true;
    }
    // Another unit: what was typed for the unit that was read goes nowhere.
    bool dropped = false;
    for (size_t i = 0; i < kFields.size(); ++i) {
        if (!m_edit.take(static_cast<int>(i))) continue;
        m_edit.setWriteState(toQString(kFields[i].name), WriteState::None);
        dropped = true;
    }
    m_edit.alteracao_pendente = false;
    m_edit.session.escrever_pedido = false;
    if (m_edit.session.limpar_pedido) {
        abandonClear();
        dropped = true;
    }
    if (dropped)
        m_messages.show(messageText(MessageId::UnitNotRead, languageOf(m_edit))
                            .arg(m_edit.unitMismatch()->onLine.label()),
                        messageText(MessageId::TitleMaintenance, languageOf(m_edit)),
                        MessageSink::Icon::Critical);
    return true;
}

bool Engine::writeMemory(uint8_t address, uint8_t bytes, const UnitIdentity *after)
{
    for (;;) {
        m_link.setSingleAttempt(true);
        const bool accepted = send(Command::WriteMemory, address, bytes);
        m_link.setSingleAttempt(false);
        if (accepted) return true;
        if (ended() || m_link.sair_pedido || m_link.retriesStopped()) return false;
        // `after` is accepted too: the write may have been taken before its
        // reply was lost.
        if (m_unit.known() && confirmUnit(after) != UnitCheck::Same) return false;
    }
}

UnitIdentity Engine::identityAfterWriting(const QString &field) const
{
    UnitIdentity u = m_unit;
    const QString text = m_edit.text(field);
    if (field == fieldName(FieldId::MakerNumber))
        u.number = text;
    else if (field == fieldName(FieldId::MakerCode))
        u.code = text;
    else if (field == fieldName(FieldId::ApplicationSerial))
        u.serial = text;
    return u;
}

void Engine::abandonClear()
{
    Session &s = m_edit.session;
    s.limpar_pedido = false;
    const bool sameUnit = !m_edit.unitMismatch();
    for (const char *n : {"Command_ler", "Command_testar", "Command_sair"})
        m_edit.setEnabled(QLatin1String(n), true);
    for (const char *n : {"Command_clear", "Command_imprimir"})
        m_edit.setEnabled(QLatin1String(n), sameUnit);
}

} // namespace vx
