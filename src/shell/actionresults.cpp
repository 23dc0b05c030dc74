#include "actionresults.h"

#include "captions.h"
#include "editset.h"
#include "engine.h"
#include "fieldtable.h"
#include "link.h"
#include "newunit.h"
#include "statusline.h"
#include "textforms.h"

#include <utility>

namespace vx {

ActionResults::ActionResults(EditSet &edit, Engine &engine, const Link &link, NewUnit &newUnit,
                             StatusLine &status, std::function<int()> language, QObject *parent)
    : QObject(parent), m_edit(edit), m_link(link), m_status(status), m_language(std::move(language))
{
    connect(&m_edit, &EditSet::controlChanged, this, &ActionResults::followButton);
    connect(&engine, &Engine::engineStopped, this, &ActionResults::followStop);
    connect(&engine, &Engine::unitChanged, this, &ActionResults::followSwap);
    connect(&newUnit, &NewUnit::unitLogged, this, [this](const QString &NFab, qint64 NMec) {
        if (!m_newUnit) return;
        m_newUnit = false;
        // Said until the next action: the numbers are what the technician
        // writes on the unit's plate.
        m_status.showActivity(text("unitAccepted").arg(NFab).arg(NMec));
    });
}

QString ActionResults::text(const char *key) const
{
    return Captions::caption(QLatin1String(key), m_language());
}

bool ActionResults::lastAnswered() const
{
    const LinkStats &s = m_link.stats;
    return !s.lastAttemptUnsent && s.timeoutsSinceAccepted == 0 && s.rejectedSinceAccepted == 0;
}

void ActionResults::impulsesRequested()
{
    // A count the engine refused was said in its own message.
    if (!m_edit.session.impulsos_pedido) return;
    m_impulses = integer(m_edit.text(fieldName(FieldId::Impulses))).value_or(0);
    m_status.showActivity(text("impulsesSending").arg(m_impulses));
}

void ActionResults::displayTestRequested()
{
    if (!m_edit.session.teste_disp_pedido) return;
    m_displayTest = true;
    m_status.showActivity(text("displayTestRunning"));
}

void ActionResults::unitAcceptRequested(bool accepted)
{
    // A refusal was said in the flow's own message; the line says what
    // became of the unit.
    if (!accepted) {
        m_status.showNotice(text("unitNotAccepted"));
        return;
    }
    m_newUnit = true;
    m_status.showActivity(text("unitAccepting"));
}

void ActionResults::started(const char *key, const QString &what)
{
    const QString t = text(key);
    m_status.showActivity(what.isEmpty() ? t : t.arg(what));
}

void ActionResults::finished(const char *key, const QString &what)
{
    const QString t = text(key);
    m_status.endActivity();
    m_status.showNotice(what.isEmpty() ? t : t.arg(what));
}

// The engine gives "Enviar" and "Testar Displays" back when the timer has
// been sent the impulses, or has shown the whole test.
void ActionResults::followButton(const QString &name)
{
    if (!m_edit.control(name).enabled) return;
    if (name == QLatin1String("Command_enviar") && m_impulses >= 0 &&
        !m_edit.session.impulsos_pedido) {
        const int n = std::exchange(m_impulses, -1);
        finished(lastAnswered() ? "impulsesSent" : "impulsesFailed", QString::number(n));
    } else if (name == QLatin1String("Command_teste_disp") && m_displayTest &&
               !m_edit.session.teste_disp_pedido) {
        m_displayTest = false;
        finished(lastAnswered() ? "displayTestDone" : "displayTestFailed");
    }
}

// Another unit on the line: what was asked for the unit read is not done.
void ActionResults::followSwap()
{
    const char *key = m_impulses >= 0 ? "impulsesOtherUnit"
                      : m_displayTest ? "displayTestOtherUnit"
                                      : "unitSwapped";
    m_impulses = -1;
    m_displayTest = false;
    finished(key);
}

void ActionResults::followStop()
{
    const char *key = m_impulses >= 0 ? "impulsesStopped"
                      : m_displayTest ? "displayTestStopped"
                      : m_newUnit     ? "unitNotLogged"
                                      : nullptr;
    m_impulses = -1;
    m_displayTest = false;
    m_newUnit = false;
    if (key) finished(key);
}

} // namespace vx
