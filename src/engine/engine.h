#pragma once

#include "acceptedchange.h"
#include "editset.h"
#include "enginecontrol.h"

#include "frame.h"
#include "unitidentity.h"
#include "valueclipboard.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace vx {

class Link;
class Clock;
class MessageSink;
class ProgramEnd;
struct ReadStep;
struct Field;

// The sequence engine: the only thing that talks to the device during a
// connection. Buttons set the mode and request flags in EditSet::session; every
// expiry of Timer_teste runs one tick that carries the requests out in a fixed
// order. A tick runs inside nested waits of the link, so an expiry that falls
// while a tick is still running does nothing: ticks never overlap.
class Engine : public QObject, public EngineControl
{
    Q_OBJECT
public:
    Engine(EditSet &edit, Link &link, Clock &clock, MessageSink &messages, ProgramEnd &end,
           QObject *parent = nullptr);
    ~Engine() override;

    EditSet &editSet() { return m_edit; }
    Link &link() { return m_link; }

    // Window title of the current language; "Lêr", "Sair" and Clear put it
    // back after a read has added the device version to it.
    QString titulo_base;
    void setBaseTitle(const QString &t);

    // Buttons.
    void Command_ler_Click();        // "Lêr"
    void Command_testar_Click();     // "Sair": stop the connection
    void Command_enviar_Click();     // "Enviar": send impulses
    void Command_teste_disp_Click(); // "Testar Displays"
    void Command_clear_Click();      // "Clear"
    void command_copy1_Click();      // "Pic -> PC"
    void command_paste1_Click();     // "PC -> Pic"

    // Timer_teste.
    void start() override;
    void stop() override;
    bool active() const override { return m_running; }
    bool inTick() const { return m_inTick; }

    // One tick, as Timer_teste runs it (public for tests and tools).
    void tick();

    // The unit the window's values were read from; not known before a read,
    // after "Sair", and while a read is under way.
    const UnitIdentity &unitRead() const { return m_unit; }
    // Whether what the window holds may be used on the timer on the line
    // now (written, printed, saved or kept as its visit): a unit was read,
    // nothing says another is on the line, and the line has not been
    // interrupted since the unit was last confirmed. After an interruption
    // the engine confirms the unit as soon as the timer answers again.
    bool unitTrusted() const;
    // Clear's last step before the erase: a read of the unit made just then,
    // handed over so that the values the erase zeroes are on record under
    // the identity of the unit that held them. False keeps the unit as it
    // is (nothing is written or zeroed); the front end says why.
    using BeforeErase = std::function<bool(const EditSet &unit)>;
    void setBeforeErase(BeforeErase beforeErase) { m_beforeErase = std::move(beforeErase); }

signals:
    void tickFinished();
    void readFinished();  // the full read has filled the window
    void writeFinished(); // a write pass that sent something has ended
    void engineStopped(); // the stop tail has run
    // The full read has taken `done` of its `steps` memory reads (0 when it
    // starts), for progress bars.
    void readProgress(int done, int steps);
    // The timer on the line is not the unit the window's values were read
    // from (`onLine` not known: it could not be read). Every value waiting
    // to be written has been dropped and nothing more is written until a
    // read; the edit set holds the mismatch for the window.
    void unitChanged(const vx::UnitIdentity &read, const vx::UnitIdentity &onLine);
    // The timer has accepted a value that differs from what it held as last
    // read: said once the write's state is shown, before the pass goes on.
    // Clear's zeroed values come when the erase is done, one each.
    void valueAccepted(const vx::AcceptedChange &change);

private:
    // The steps of a tick; each returns false when the program has ended
    // under it and the tick must be abandoned.
    bool displayStep();
    bool pollInputs();
    bool sendImpulses();
    bool displayTest();
    bool pollBattery();
    bool pollIButton();
    bool pollClock();
    bool readPass();
    bool writePass();
    bool servePass(bool clearThisPass);
    // Pieces of the full read and of the write pass; each returns false
    // when the program has ended under it.
    bool clearDisplay();
    bool showReply(const ReadStep &step, EditSet &target);
    bool showTickBox(const Field &box, bool ticked, EditSet &target);
    // The steps of the full read into `target`; false when the program
    // ended under it. A step after which the line had been interrupted is
    // followed by a confirmation that the unit is still the one being read.
    enum class ReadOutcome
    {
        Complete,
        OtherUnit, // the unit changed during the read (the mismatch is set)
        Ended
    };
    ReadOutcome readSteps(EditSet &target);
    // Identity after an interrupted step: `established` is the unit the read
    // is of since its first interruption; `restart` is set when the steps
    // before that one have to be read again.
    ReadOutcome confirmDuringRead(UnitIdentity &established, bool &restart, bool first);
    bool writeMaintenanceStamp();
    bool writeClockAndMark();
    bool writeMarkedFields(bool &wrote);
    enum class FieldWrite
    {
        Sent,
        NotSent,   // the device cannot hold the text: refused, no frame
        OtherUnit, // another unit was found on the line on the way
        Ended
    };
    FieldWrite writeField(int index);
    bool eraseCounters();
    // Clear, once the pass may serve it: the unit read just before the
    // erase, kept by the front end, then the window's values as that read
    // found them with the zeroed ones at zero, all marked for writing. False
    // when Clear must not go on.
    bool prepareErase();
    void abandonClear();
    // A WriteMemory of dados_tx. Sent once; after a time-out or a rejected
    // reply the unit is confirmed before it is sent again, so that it never
    // reaches another timer. `after` is what the unit is once this write is
    // taken (a write of its identity), accepted in the confirmation too.
    bool writeMemory(uint8_t address, uint8_t bytes, const UnitIdentity *after = nullptr);
    // The identity the unit has once the field's write is accepted.
    UnitIdentity identityAfterWriting(const QString &field) const;

    // --- what the unit holds, for the changes it accepts
    void keepAsRead(const EditSet &unit);
    void noteAccepted(int index);
    // Clear's zeroed values once the erase is done; when it was not, the
    // values its pass wrote as they were written.
    void noteErase(bool erased);

    // --- which unit is on the line
    enum class UnitCheck
    {
        Same,
        Other,
        Unanswered, // retries stopped ("Sair") before the timer answered
        Ended
    };
    // Reads the unit's identity (addresses 43 and 96) until two replies come
    // with no interruption between them; an identity that cannot be read so
    // in three tries is not known.
    UnitCheck readIdentity(UnitIdentity *seen);
    // After an interruption: the unit on the line compared with the one
    // read (or with `orAfter`); a different one is handled by unitNotOnLine.
    UnitCheck confirmUnit(const UnitIdentity *orAfter = nullptr);
    // The tick's step: confirms the unit when the line was interrupted and
    // the timer answered the clock poll.
    bool confirmIfInterrupted();
    void unitNotOnLine(const UnitIdentity &read, const UnitIdentity &onLine);
    // What waited for the unit read, dropped when another one answers: the
    // values typed for it, shown again as it holds them, and the requests.
    void dropWaiting(EditSet::UnitMismatch &mismatch);
    // Before impulses or the display test, which change what the timer
    // shows or counts: the unit on the line must be the one read, confirmed
    // first after an interruption. False while it is not known to be.
    bool unitTakesCommand();
    // A button that would send something to the unit while another one is
    // on the line: refused with the message that says so.
    bool refusedForOtherUnit();
    // The write pass finds the line interrupted with the unit not confirmed,
    // or another unit on it: nothing is written.
    bool holdWrites();
    bool lineInterrupted() const;
    bool stopTail();
    void exitTail();
    void closeSessionInWindow();

    bool send(Command comando, uint8_t indice, uint8_t valor);
    bool display(uint8_t position, uint8_t code) { return send(Command::Display, position, code); }
    bool ended() const;

    EditSet &m_edit;
    Link &m_link;
    Clock &m_clock;
    MessageSink &m_messages;
    ProgramEnd &m_end;
    QTimer m_timer;
    bool m_inTick = false;
    int m_impulsesRequested = 0;
    ValueClipboard m_copy;
    bool m_running = false;
    UnitIdentity m_unit;
    // The link's interruptions when the unit was last read or confirmed.
    quint64 m_interruptionsSeen = 0;
    bool m_clockAnswered = false;
    // The read Clear asks for after its erase shows the maintenance stamp
    // it writes: that is what the unit holds then.
    bool m_readAfterErase = false;
    // When the last maintenance stamp was written.
    QDateTime m_lastStamp;
    // The write pass under way serves a Clear.
    bool m_servingClear = false;
    // Field name to its text (a tick box "0" or "1") as last read from the
    // unit or accepted by it; and as read just before Clear's erase.
    QHash<QString, QString> m_asRead;
    QHash<QString, QString> m_readBeforeErase;
    // What Clear's pass wrote of the values the erase zeroes: told with the
    // erase, as what the erase left.
    QList<AcceptedChange> m_heldForErase;
    BeforeErase m_beforeErase;
};

} // namespace vx
