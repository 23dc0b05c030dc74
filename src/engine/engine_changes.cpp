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
