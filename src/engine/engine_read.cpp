// Reading the device: the clock poll of every tick and the full read.
#include "clock.h"
#include "editset.h"
#include "engine.h"
#include "link.h"
#include "readorder.h"
#include "textforms.h"

#include <iterator>

namespace vx {

namespace {

QString maintenanceText(const QDateTime &t)
{
    return stampText(static_cast<unsigned>(t.date().day()), static_cast<unsigned>(t.date().month()),
                     static_cast<unsigned>(t.date().year() - 2000),
                     static_cast<unsigned>(t.time().hour()),
                     static_cast<unsigned>(t.time().minute()));
}

} // namespace

bool Engine::pollClock()
{
    m_clockAnswered = send(Command::ReadClock, 0, 6);
    if (m_clockAnswered) {
        const QByteArray &r = m_link.trama_rx();
        m_edit.setText(fieldName(FieldId::ClockDate),
                       deviceDateText(dataByte(r, 3), dataByte(r, 4), dataByte(r, 5)));
        m_edit.setText(fieldName(FieldId::ClockTime),
                       deviceTimeText(dataByte(r, 1), dataByte(r, 0)));
    }
    return !ended();
}

bool Engine::readPass()
{
    Session &s = m_edit.session;
    s.ler_pedido = false;
    for (const char *n : {"Command_ler", "Command_testar", "Command_novo"})
        m_edit.setEnabled(QLatin1String(n), false);

    if (!clearDisplay()) return false;
    const uint8_t readingBanner[][2] = {{4, 'A'}, {3, ' '}, {2, 'L'}, {1, 'E'}, {0, 'r'},
                                        {9, 13},  {8, 13},  {7, 13},  {6, 13},  {5, 13}};
    for (const auto &a : readingBanner)
        if (!display(a[0], a[1]) && ended()) return false;

    m_unit = {};
    const ReadOutcome outcome = readSteps(m_edit);
    if (outcome == ReadOutcome::Ended) return false;
    m_edit.lowerAll();
    if (outcome == ReadOutcome::OtherUnit) {
        // Values of two units are in the window: none of them is offered for
        // use, and the next read starts again.
        for (const char *n : {"Command_ler", "Command_testar", "Command_novo"})
            m_edit.setEnabled(QLatin1String(n), true);
        return clearDisplay();
    }
    m_unit = UnitIdentity::of(m_edit);
    keepAsRead(m_edit);
    if (!writeMaintenanceStamp()) return false;
    if (m_readAfterErase) {
        m_readAfterErase = false;
        m_edit.setText(fieldName(FieldId::LastMaintenance), maintenanceText(m_lastStamp));
    }

    for (const char *n : {"Command_ler", "Command_testar", "Command_imprimir", "Command_clear",
                          "Command_enviar", "Command_teste_disp", "command_copy1"})
        m_edit.setEnabled(QLatin1String(n), true);
    // A unit with no manufacturing number was never set up: "Novo" is what
    // the technician came for, and stays offered.
    if (m_unit.known() && m_unit.makerNumber() == QLatin1String("-"))
        m_edit.setEnabled(QStringLiteral("Command_novo"), true);
    if (!clearDisplay()) return false;
    s.pos_cursor = 0;
    Q_EMIT readFinished();
    return true;
}

Engine::ReadOutcome Engine::readSteps(EditSet &target)
{
    constexpr int kSteps = static_cast<int>(kReadSteps.size());
    const bool toWindow = &target == &m_edit;
    int done = 0;
    if (toWindow) Q_EMIT readProgress(done, kSteps);
    UnitIdentity established;
    bool restarted = false;
    for (int i = 0; i < kSteps; ++i) {
        const ReadStep &l = kReadSteps[static_cast<size_t>(i)];
        const quint64 before = m_link.interruptions();
        if (!send(Command::ReadMemory, l.address, l.bytes)) {
            // Only an exit request makes a transaction return without a
            // reply; nothing is decoded from a reply that was not accepted.
            if (ended()) return ReadOutcome::Ended;
            continue;
        }
        if (!showReply(l, target)) return ReadOutcome::Ended;
        if (toWindow) Q_EMIT readProgress(++done, kSteps);
        if (m_link.interruptions() == before) continue;
        bool restart = false;
        const ReadOutcome o = confirmDuringRead(established, restart, !restarted && i > 0);
        if (o != ReadOutcome::Complete) return o;
        if (restart) {
            restarted = true;
            i = -1;
            done = 0;
            if (toWindow) Q_EMIT readProgress(done, kSteps);
        }
    }
    const UnitIdentity read = UnitIdentity::of(target);
    if (established.known() && read != established) {
        unitNotOnLine(read, established);
        return ReadOutcome::OtherUnit;
    }
    m_interruptionsSeen = m_link.interruptions();
    return ReadOutcome::Complete;
}

// A step of the read came after an interruption: another unit may have been
// put on the line since the steps before it were read. The first time, the
// unit is confirmed and, when steps were read before, they are read again;
// every later time it must still be that unit.
Engine::ReadOutcome Engine::confirmDuringRead(UnitIdentity &established, bool &restart, bool first)
{
    UnitIdentity seen;
    const UnitCheck c = readIdentity(&seen);
    if (c == UnitCheck::Ended) return ReadOutcome::Ended;
    if (c == UnitCheck::Unanswered) return ReadOutcome::Complete;
    if (!established.known() && seen.known()) {
        established = seen;
        restart = first;
        return ReadOutcome::Complete;
    }
    if (seen.known() && seen == established) return ReadOutcome::Complete;
    unitNotOnLine(established, seen);
    return ReadOutcome::OtherUnit;
}

bool Engine::clearDisplay()
{
    for (uint8_t p = 0; p < 10; ++p)
        if (!display(p, 12) && ended()) return false;
    return true;
}

bool Engine::showReply(const ReadStep &step, EditSet &target)
{
    const QByteArray &r = m_link.trama_rx();
    if (step.field == FieldId::None) {
        target.setTitle(titulo_base + versionSuffix(r));
        return true;
    }
    // The step's own field and those whose bytes its request brings along.
    for (const Field &f : kFieldTable) {
        if (f.id != step.field && f.readWith != step.field) continue;
        const int first = f.address - step.address;
        if (f.form != TextForm::Flag)
            target.setText(toQString(f.name), shownText(f, r, first));
        else if (!showTickBox(f, dataByte(r, first) != 0, target))
            return false;
        target.keepRawBytes(toQString(f.name),
                            isUnprintable(f, r, first) ? fieldBytes(f, r, first) : QByteArray());
    }
    return true;
}

bool Engine::showTickBox(const Field &box, bool ticked, EditSet &target)
{
    const QString name = toQString(box.name);
    target.setChecked(name, ticked);
    if (box.kindAddress == 0) return true;
    if (!ticked) {
        target.setText(name, keyReaderCaption(false, 0));
        return true;
    }
    if (send(Command::ReadMemory, box.kindAddress, 1))
        target.setText(name, keyReaderCaption(true, dataByte(m_link.trama_rx(), 0)));
    return !ended();
}

// The maintenance stamp: what the next read shows as the last maintenance.
bool Engine::writeMaintenanceStamp()
{
    const QDateTime now = m_clock.now();
    m_lastStamp = now;
    putByte(m_link.dados_tx, 0, static_cast<uint8_t>(now.date().day()));
    putByte(m_link.dados_tx, 1, static_cast<uint8_t>(now.date().month()));
    putByte(m_link.dados_tx, 2, static_cast<uint8_t>(now.date().year() - 2000));
    send(Command::WriteMemory, 91, 3);
    if (ended()) return false;
    putByte(m_link.dados_tx, 0, static_cast<uint8_t>(now.time().hour()));
    putByte(m_link.dados_tx, 1, static_cast<uint8_t>(now.time().minute()));
    send(Command::WriteMemory, 94, 2);
    return !ended();
}

} // namespace vx
