#pragma once

#include "acceptedchange.h"
#include "fieldtable.h"
#include "messagetexts.h"
#include "session.h"
#include "unitidentity.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <utility>

namespace vx {

class MessageSink;

// What an indicator shows of one device input. The model holds the state
// only; the window picks the colours.
enum class IndicatorState
{
    None, // not an indicator: the view keeps its own look
    Off,  // the input is at rest
    On    // the input is active
};

// What became of a value the technician confirmed with Enter. The model holds
// the state only; the window picks the colours.
enum class WriteState
{
    None,    // nothing confirmed since the value was read or typed
    Pending, // confirmed, waiting for the write pass
    Written, // the timer has stored it
    Refused, // the write pass could not store it (valueRefused says why)
    Edited,  // typed, not confirmed: the unit still holds its earlier value
    Invalid  // not a value the field can take (valueInvalid says why)
};

// What the window shows of one control. Text boxes use `text`; labels, group
// boxes, buttons, tick boxes and menus use `text` for their caption.
struct ControlState
{
    QString text;
    bool enabled = true;
    bool visible = true;
    bool checked = false; // tick boxes and menu items
    IndicatorState indicator = IndicatorState::None;
    double value = 0;                    // the battery gauge, 0..100
    WriteState write = WriteState::None; // text boxes confirmed with Enter
    // The text the unit holds as far as the window knows: the last one the
    // program put in the box or the timer stored. Escape on a value marked
    // invalid or refused brings it back.
    QString held;
    // The bytes the unit holds where no text of the field says them (a
    // timer never set up, see isUnprintable), with the text and tick they
    // were shown with: written back as they are while the value still shows
    // so, and named in the box's tooltip.
    QByteArray raw;
    QString rawText;
    bool rawChecked = false;
};

// The main window's state without any widget: every control the engine or the
// handlers touch, by its control name (a field of the table, "Command_ler",
// "mnu_porta1", "Form_main" for the window title), plus the write-pending
// flags. The window is a view of this model and forwards every click, key,
// focus change and edit to the handlers below.
class EditSet : public QObject
{
    Q_OBJECT
public:
    explicit EditSet(MessageSink &messages, QObject *parent = nullptr);

    Session session;

    // --- the controls
    const ControlState &control(const QString &name) const;
    bool has(const QString &name) const { return m_controls.contains(name); }
    QStringList names() const { return m_controls.keys(); }
    QString text(const QString &name) const { return control(name).text; }
    bool checked(const QString &name) const { return control(name).checked; }

    // Programmatic changes. They behave like the technician's: a text change
    // runs the numeric check, a tick box that changes raises its flags.
    void setText(const QString &name, const QString &text);
    void setChecked(const QString &name, bool on);
    void setEnabled(const QString &name, bool on);
    void setVisible(const QString &name, bool on);
    void setIndicator(const QString &name, IndicatorState state);
    void setValue(const QString &name, double v);
    void setWriteState(const QString &name, WriteState state);
    // The language of the messages and captions, as the language menu
    // chooses it (0 Portuguese, 1 English).
    void setLanguage(int idioma);
    // Window title ("Form_main").
    void setTitle(const QString &t) { setText(QStringLiteral("Form_main"), t); }
    QString title() const { return text(QStringLiteral("Form_main")); }

    // --- from the view
    // Focus arrives in a field. `fromOtherControl` is false when it only comes
    // back from a message box, which must not overwrite the backup.
    void gotFocus(const QString &name, bool fromOtherControl = true);
    // Enter in a box: the value is marked for the next write pass when the
    // field takes it, and refused with the check's message when not.
    void confirmValue(const QString &name);
    // Escape in a box: the text it had when focus came in comes back.
    void restoreValue(const QString &name);
    // What the technician typed or pasted. The typing limit applies here only;
    // returns false when the edit is refused (the view shows the model again).
    bool userEdit(const QString &name, const QString &text);
    // A click on a tick box by the technician.
    void userToggle(const QString &name);

    // --- write-pending flags
    bool pending(int index) const { return m_pending[index]; }
    bool pending(const QString &name) const;
    // Raise one flag and alteracao_pendente; `kind` is what the journal
    // calls the change once the timer takes it.
    void mark(int index, ChangeKind kind = ChangeKind::Typed);
    void mark(const QStringList &names, ChangeKind kind = ChangeKind::Typed);
    // What last marked the field; kept after the write pass takes the flag.
    ChangeKind markedBy(int index) const { return m_markedBy[index]; }
    bool take(int index); // read and lower one flag
    void lowerAll();      // lower every write-pending flag
    bool anyPending() const;
    bool alteracao_pendente = false;

    // --- what became of a value the write pass took; the engine reports it,
    // and whoever waits on a write (the new-unit log, the window) hears it.
    void reportWritten(int index);                      // the device accepted it
    void reportRefused(int index, const QString &text); // not storable, not sent
    QString texto_foco;

    // Fields cleared by "Lêr" and "Sair", in their order.
    static const QStringList &clearedFields();
    // The bytes a read found for a field whose text cannot say them (empty:
    // it had none); rawBytes gives them while the field still shows what it
    // showed then, and nothing once the value was changed.
    void keepRawBytes(const QString &name, const QByteArray &bytes);
    QByteArray rawBytes(const QString &name) const;

    // Clears the edit set to "-" and unticks both tick boxes.
    void clear();

    // Field validators share their wording.
    static QString msgInvalid();

    // --- which unit the values belong to
    // Set when the unit on the line is not the one the window's values were
    // read from (or says nothing of who it is): every value is then shown as
    // not the unit's, and nothing that would use them on the unit (Clear,
    // the report, "Pic -> PC", a saved configuration) is offered until it is
    // read.
    struct UnitMismatch
    {
        UnitIdentity read;
        UnitIdentity onLine;
        // What waited for the unit read when the other one answered, dropped
        // then and never sent later: each value typed for it (its field and
        // the text, brought back to what the unit read holds), and the
        // commands cut off, by their button ("Command_clear",
        // "Command_enviar", "Command_teste_disp").
        QList<std::pair<QString, QString>> notWritten;
        QStringList notDone;
    };
    const std::optional<UnitMismatch> &unitMismatch() const { return m_unitMismatch; }
    void setUnitMismatch(const std::optional<UnitMismatch> &mismatch);

signals:
    void controlChanged(const QString &name);
    // The timer took `sent`; the field now shows it as a read will, which
    // for the power downs is one less than `sent`.
    void valueWritten(const QString &name, const QString &sent);
    void valueRefused(const QString &name, const QString &text);
    // A value typed or confirmed that the field cannot take: `reason` is the
    // check's message. The field is marked Invalid until it is corrected.
    void valueInvalid(const QString &name, const QString &reason);
    // A value confirmed (or a tick box clicked) while another unit is on the
    // line: `text` was not written, and the field shows the read unit's
    // value again (a tick box, `text` empty, stays as it was).
    void valueNotForUnitOnLine(const QString &name, const QString &text);
    // A money value confirmed with more decimals than the cents the timer
    // keeps: the field shows it rounded, as the timer will hold it, and
    // `typed` is what was typed.
    void valueRounded(const QString &name, const QString &typed);
    // Typing past the field's limit of `limit` characters: the characters
    // past it were not taken.
    void valueTooLong(const QString &name, int limit);
    void unitMismatchChanged();

private:
    ControlState &mut(const QString &name);
    void checkNumeric(const QString &name);
    void refuseAtEnter(const QString &name, MessageId why, bool showBox);
    // Enter or a click on a tick box while another unit is on the line:
    // refused with the message that says so. False when the unit is not in
    // doubt.
    bool refuseForOtherUnit(const QString &name);
    // What a text the technician put in the box is: not a number where one
    // is needed, the unit's value again, or a change not yet confirmed.
    void markTyped(const QString &name);
    void applyText(const QString &name, const QString &text);
    int limitOf(const QString &name) const;
    bool hasNumericCheck(const QString &name) const;

    MessageSink &m_messages;
    QHash<QString, ControlState> m_controls;
    std::array<bool, kFields.size()> m_pending{};
    std::array<ChangeKind, kFields.size()> m_markedBy{};
    std::optional<UnitMismatch> m_unitMismatch;
};

} // namespace vx
