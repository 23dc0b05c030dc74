// The write pass: the device clock, every confirmed value, and the erase that
// Clear asks for.
#include "clearrequest.h"
#include "clock.h"
#include "editset.h"
#include "engine.h"
#include "link.h"
#include "textforms.h"

namespace vx {

namespace {

void putDate(TxData &d, const QDate &data)
{
    putByte(d, 0, static_cast<uint8_t>(data.day()));
    putByte(d, 1, static_cast<uint8_t>(data.month()));
    putByte(d, 2, static_cast<uint8_t>(data.year() - 2000));
}

} // namespace

bool Engine::writePass()
{
    Session &s = m_edit.session;
    if (s.modo == 2) s.escrever_pedido = true;
    if (!s.escrever_pedido) return true;
    // Only an erase that was asked for before this pass began is served by it:
    // a Clear pressed halfway would otherwise erase first and then have the
    // next pass write the old values back over the zeros.
    const bool clearThisPass = s.limpar_pedido;
    // Nothing of the window goes to a unit that is not known to be the one
    // it was read from.
    if (holdWrites()) {
        s.escrever_pedido = false;
        return !ended();
    }
    m_servingClear = clearThisPass;
    const bool served = servePass(clearThisPass);
    m_servingClear = false;
    return served;
}

bool Engine::servePass(bool clearThisPass)
{
    Session &s = m_edit.session;
    if (clearThisPass && !prepareErase()) return !ended();

    if (m_edit.alteracao_pendente && !writeClockAndMark()) return false;
    s.escrever_pedido = false;

    bool wroteAny = false;
    if (!writeMarkedFields(wroteAny)) return false;
    if (clearThisPass && s.limpar_pedido) {
        if (!eraseCounters()) return false;
        wroteAny = true;
    }
    if (!m_heldForErase.isEmpty()) noteErase(false);
    m_edit.alteracao_pendente = false;
    if (wroteAny) Q_EMIT writeFinished();
    return true;
}

// The device clock set to the PC's, then "ESC." on the display for a moment
// unless the new-unit banner is already there.
bool Engine::writeClockAndMark()
{
    Session &s = m_edit.session;
    const QDateTime now = m_clock.now();
    const QDate d = now.date();
    const QTime t = now.time();
    TxData &txData = m_link.dados_tx;
    putByte(txData, 0, static_cast<uint8_t>(t.minute()));
    putByte(txData, 1, static_cast<uint8_t>(t.hour()));
    putByte(txData, 2, static_cast<uint8_t>(d.dayOfWeek() % 7 + 1)); // Sunday 1 .. Saturday 7
    putByte(txData, 3, static_cast<uint8_t>(d.day()));
    putByte(txData, 4, static_cast<uint8_t>(d.month()));
    putByte(txData, 5, static_cast<uint8_t>(d.year() - 2000));
    send(Command::SetClock, static_cast<uint8_t>(t.second()), 0);
    if (ended()) return false;
    if (s.banner_esc) {
        s.banner_esc = false;
        return true;
    }
    const uint8_t escBanner[][2] = {{4, 'E'}, {3, 'S'}, {2, 'C'}, {1, '.'},
                                    {4, 12},  {3, 12},  {2, 12},  {1, 12}};
    for (const auto &m : escBanner) {
        display(m[0], m[1]);
        if (ended()) return false;
    }
    return true;
}

// Every value confirmed since the last pass, in the field table's order.
bool Engine::writeMarkedFields(bool &wrote)
{
    for (size_t i = 0; i < kFields.size(); ++i) {
        if (!m_edit.take(static_cast<int>(i))) continue;
        switch (writeField(static_cast<int>(i))) {
        case FieldWrite::Ended:
            return false;
        case FieldWrite::OtherUnit:
            wrote = true;
            return true;
        case FieldWrite::NotSent:
            break;
        case FieldWrite::Sent:
            wrote = true;
            break;
        }
    }
    return true;
}

Engine::FieldWrite Engine::writeField(int index)
{
    const Field &c = kFields[static_cast<size_t>(index)];
    const QString name = toQString(c.name);
    const QString text = m_edit.text(name);
    // Bytes no text says go back as the unit held them; a value the device
    // cannot hold is not sent at all, and the pass goes on.
    const bool asHeld = putFieldBytes(c, m_edit.rawBytes(name), m_link.dados_tx);
    if (!asHeld && !encode(c, text, m_edit.checked(name), m_link.dados_tx)) {
        m_edit.reportRefused(index, text);
        return FieldWrite::NotSent;
    }
    if (c.form == TextForm::Serial) m_edit.setText(name, QStringLiteral("-"));
    if (c.form == TextForm::PowerDowns && integer(text).value_or(0) < 0)
        m_edit.setText(name, QStringLiteral("0"));
    const UnitIdentity after = identityAfterWriting(name);
    bool accepted = writeMemory(c.address, c.bytes, &after);
    if (ended()) return FieldWrite::Ended;
    if (m_edit.unitMismatch()) return FieldWrite::OtherUnit;
    if (c.kindAddress != 0 && !asHeld) {
        // A new key-reader setting forgets the kind of key it took; bytes
        // written back as they were are no new setting.
        m_link.dados_tx[0] = '0';
        m_link.dados_tx[1] = '0';
        accepted = writeMemory(c.kindAddress, 1) && accepted;
        if (ended()) return FieldWrite::Ended;
        if (m_edit.unitMismatch()) return FieldWrite::OtherUnit;
    }
    // Only a reply the link accepted makes the value written; the key serial
    // then shows again what the unit now holds.
    if (accepted) {
        m_unit = after;
        if (c.form == TextForm::Serial) m_edit.setText(name, text);
        // Noted from the text the timer was sent, before the window shows
        // it as a read will.
        noteAccepted(index);
        m_edit.reportWritten(index);
    }
    return FieldWrite::Sent;
}

// Clear's erase: sub-totals, counters and memory zeroed, the erase's date and
// time stored, and a read asked for to show the result.
bool Engine::eraseCounters()
{
    Session &s = m_edit.session;
    TxData &txData = m_link.dados_tx;
    txData[0] = '0';
    txData[1] = '0';
    // A write the unit did not take, or another unit on the line, ends the
    // erase where it is; the read asked for below shows what the unit holds.
    auto zeroRange = [this](int from, int to) {
        for (int a = from; a <= to; ++a)
            if (!writeMemory(static_cast<uint8_t>(a), 1)) return false;
        return true;
    };
    const QDateTime now = m_clock.now();
    const bool erased = zeroRange(100, 179) && zeroRange(53, 74) && zeroRange(40, 42) && [&] {
        putDate(txData, now.date());
        return writeMemory(26, 3);
    }() && [&] {
        putByte(txData, 0, static_cast<uint8_t>(now.time().hour()));
        putByte(txData, 1, static_cast<uint8_t>(now.time().minute()));
        return writeMemory(29, 2);
    }();
    if (ended()) return false;
    noteErase(erased);
    if (!erased) {
        abandonClear();
        return true;
    }
    m_readAfterErase = true;
    s.ler_pedido = true;
    s.limpar_pedido = false;
    // Clear took "Sair da Aplicação" away while the erase was pending;
    // give it back with Clear itself.
    m_edit.setEnabled(QStringLiteral("Command_clear"), true);
    m_edit.setEnabled(QStringLiteral("Command_sair"), true);
    return true;
}

// The unit as the erase will find it, read just before and kept by the
// front end: the takings the erase zeroes are always on record, under the
// identity of the unit that held them. Then the window shows those values,
// with what Clear zeroes at zero, for the pass to write.
bool Engine::prepareErase()
{
    EditSet unit(m_messages);
    unit.setChecked(QStringLiteral("mnu_EN"), m_edit.checked(QStringLiteral("mnu_EN")));
    if (readSteps(unit) != ReadOutcome::Complete) {
        if (!ended() && m_edit.session.limpar_pedido) abandonClear();
        return false;
    }
    if (UnitIdentity::of(unit) != m_unit) {
        unitNotOnLine(m_unit, UnitIdentity::of(unit));
        return false;
    }
    if (m_beforeErase && !m_beforeErase(unit)) {
        abandonClear();
        return false;
    }
    keepAsRead(unit);
    m_readBeforeErase = m_asRead;
    for (const Field &c : kFields) {
        const QString name = toQString(c.name);
        if (m_edit.pending(name)) continue;
        if (c.form == TextForm::Flag)
            m_edit.setChecked(name, unit.checked(name));
        else
            m_edit.setText(name, unit.text(name));
    }
    zeroForClear(m_edit, titulo_base);
    return true;
}

} // namespace vx
