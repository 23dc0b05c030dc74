// What the timer holds as far as the engine knows, and the changes it
// accepts: one notification for every front end.
#include "clearrequest.h"
#include "editset.h"
#include "engine.h"
#include "messagetexts.h"
#include "textforms.h"

#include <algorithm>
#include <utility>

namespace vx {

namespace {

QString valueOf(const EditSet &edit, const Field &c)
{
    const QString name = toQString(c.name);
    return c.form == TextForm::Flag ? QString::number(edit.checked(name) ? 1 : 0) : edit.text(name);
}

// What the timer holds once it took the window's value, as a read shows it:
// a tariff typed "1,5" over a read "1,50" is no change, and a journal's
// "after" reads as the next read will.
QString heldAfterWrite(const EditSet &edit, const Field &c)
{
    return shownAfterWrite(c, valueOf(edit, c), edit.checked(toQString(c.name)));
}

// The unit the timer is: the window's identity, but for the application
// serial while a new unit is typed ("-" in the window; the timer keeps the
// serial it was read with, nothing writes it).
UnitIdentity unitOnLine(const EditSet &edit, const QHash<QString, QString> &asRead)
{
    UnitIdentity unit = UnitIdentity::of(edit);
    if (unit.serial.isEmpty()) {
        const QString read = asRead.value(fieldName(FieldId::ApplicationSerial));
        if (read != QLatin1String("-")) unit.serial = read;
    }
    return unit;
}

// The button of what marked a value for writing, when it was not typed: a
// swap cuts it off as a whole.
const char *commandOf(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Restore:
        return "mnu_repor_configuracao";
    case ChangeKind::Paste:
        return "command_paste1";
    case ChangeKind::Clear:
        return "Command_clear";
    case ChangeKind::NewUnit:
        return "Command_novo";
    case ChangeKind::Typed:
        break;
    }
    return nullptr;
}

bool typedState(WriteState w)
{
    return w == WriteState::Pending || w == WriteState::Edited || w == WriteState::Invalid ||
           w == WriteState::Refused;
}

bool zeroedByClear(const QString &name)
{
    return std::any_of(kZeroedByClear.cbegin(), kZeroedByClear.cend(),
                       [&](const Text &z) { return toQString(z.key) == name; });
}

} // namespace

void Engine::keepAsRead(const EditSet &unit)
{
    m_asRead.clear();
    for (const Field &c : kFields)
        m_asRead.insert(toQString(c.name), valueOf(unit, c));
}

void Engine::noteAccepted(int index)
{
    const Field &c = kFields[static_cast<size_t>(index)];
    const QString name = toQString(c.name);
    const QString now = heldAfterWrite(m_edit, c);
    const QString before = m_asRead.value(name);
    m_asRead.insert(name, now);
    // Clear and paste write whole groups back as they were: only a value the
    // unit did not hold is a change.
    if (before == now) return;
    const AcceptedChange change{unitOnLine(m_edit, m_asRead), name, before, now,
                                m_edit.markedBy(index)};
    if (change.kind == ChangeKind::Clear && zeroedByClear(name)) {
        m_heldForErase.append(change);
        return;
    }
    Q_EMIT valueAccepted(change);
}

void Engine::dropWaiting(EditSet::UnitMismatch &mismatch)
{
    const auto cutOff = [&](const QString &command) {
        if (!mismatch.notDone.contains(command)) mismatch.notDone << command;
    };
    for (size_t i = 0; i < kFields.size(); ++i) {
        const Field &f = kFields[i];
        const QString name = toQString(f.name);
        const int index = static_cast<int>(i);
        const bool typed = typedState(m_edit.control(name).write);
        // What the unit read holds, as far as the engine knows; while a read
        // is under way there is no unit yet, and only what was typed goes.
        const bool known = m_unit.known() && m_asRead.contains(name);
        if (!known && !typed) continue;
        const QString wasShown = valueOf(m_edit, f);
        const QString held = known ? m_asRead.value(name) : m_edit.control(name).held;
        const bool marked = m_edit.pending(index);
        const char *command = marked ? commandOf(m_edit.markedBy(index)) : nullptr;
        m_edit.setWriteState(name, WriteState::None);
        if (f.form == TextForm::Flag)
            m_edit.setChecked(name, held == QLatin1String("1"));
        else
            m_edit.setText(name, held);
        if (command)
            cutOff(QLatin1String(command));
        else if ((typed || marked) && held != wasShown)
            mismatch.notWritten.append({name, wasShown});
    }
    Session &s = m_edit.session;
    if (s.limpar_pedido) cutOff(QStringLiteral("Command_clear"));
    if (s.teste_disp_pedido) cutOff(QStringLiteral("Command_teste_disp"));
    if (s.impulsos_pedido) {
        cutOff(QStringLiteral("Command_enviar"));
        // "Enviar" lengthened the reply time-out for the impulses.
        m_link.setTimeoutMs(1000);
    }
    s.limpar_pedido = false;
    s.impulsos_pedido = false;
    s.teste_disp_pedido = false;
}

void Engine::noteErase(bool erased)
{
    const QList<AcceptedChange> held = std::exchange(m_heldForErase, {});
    if (!erased) {
        for (const AcceptedChange &c : held)
            Q_EMIT valueAccepted(c);
        return;
    }
    const UnitIdentity unit = unitOnLine(m_edit, m_asRead);
    for (const Text &z : kZeroedByClear) {
        const QString name = toQString(z.key);
        const QString before = m_readBeforeErase.value(name);
        const QString after = shownAfterClear(z.key);
        m_asRead.insert(name, after);
        if (before != after) Q_EMIT valueAccepted({unit, name, before, after, ChangeKind::Clear});
    }
}

} // namespace vx
