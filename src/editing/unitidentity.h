#pragma once

#include <QByteArray>
#include <QString>

namespace vx {

class EditSet;

// Which timer values belong to: its manufacturing code and number and its
// application serial, in the texts the window shows them in ("A2415", "03",
// "123456"). A cable moved from one timer to the next without "Sair" must
// never let one unit's values be written, printed or recorded as another's;
// the engine compares this with what the unit on the line says it is.
struct UnitIdentity
{
    QString code;   // the manufacturing code: letter, week and year
    QString number; // the manufacturing number, the week's sequence
    QString serial; // the application serial

    // Nothing known: no unit read yet, or one whose identity could not be
    // read.
    bool known() const { return !code.isEmpty() && !number.isEmpty() && !serial.isEmpty(); }
    // The manufacturing number as the unit log and the history write it
    // ("A24153"; "-" for a timer never set up).
    QString makerNumber() const;
    // "A24153 / 123456", for messages; "?" when not known.
    QString label() const;

    // The unit the window's values were read from.
    static UnitIdentity of(const EditSet &edit);
    // The manufacturing number of the window's values, as makerNumber()
    // writes it ("-" while none is shown).
    static QString shownMakerNumber(const EditSet &edit);
    // From the replies to the reads of address 43 (4 bytes: number, then
    // the code's week, year and letter) and of address 96 (3 bytes: the
    // serial).
    static UnitIdentity fromReplies(const QByteArray &makerReply, const QByteArray &serialReply);

    // Two units are one when every part is the same number or text: a typed
    // "0123" and a read "123" are the same serial.
    bool operator==(const UnitIdentity &other) const;
    bool operator!=(const UnitIdentity &other) const { return !(*this == other); }
};

} // namespace vx
