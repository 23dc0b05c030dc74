#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

namespace vx {

// A name from the tables (fields, controls, files) as Qt text. The tables are
// UTF-8 source text; most names are plain ASCII.
inline QString toQString(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Every value of the main window that comes from the timer or goes to it, in
// the order of the field table: the writable ones in the order the write pass
// sends them, then those the window only shows.
enum class FieldId : uint8_t
{
    TariffPassword,
    ClockPassword,
    Week00,
    Week08,
    Week12,
    Week15,
    Week20,
    Weekend00,
    Weekend08,
    Weekend12,
    Weekend15,
    Weekend20,
    KeyReaderOn,
    CounterOn,
    KeyUpdateDate,
    KeyUpdateTime,
    Fraction,
    Accumulated,
    ToPay,
    Memory,
    MakerNumber,
    MakerCode,
    KeySerial,
    Counter,
    Total00,
    Total08,
    Total12,
    Total15,
    Total20,
    PowerDowns,
    Games,
    Programmings,
    ApplicationSerial,
    LastMaintenance,
    ClockDate,
    ClockTime,
    KeyTest,
    Impulses,
    Battery,
    None // no field: the end of the table
};

// How a value is held as text in the window and as bytes in the device.
enum class TextForm : uint8_t
{
    Money2,     // money, 2 bytes of cents (tariffs): "12,50"
    Money3,     // money, 3 bytes of cents (takings)
    Count1,     // count, 1 byte
    Count2,     // count, 2 bytes
    Count3,     // count, 3 bytes
    PowerDowns, // power-down count, 2 bytes; a negative text is written as 0
    Flag,       // tick box, 1 byte 0/1
    Date,       // dd-mm-yyyy or "-", 3 bytes day, month, year-2000
    Time,       // hh:mm or "-", 2 bytes hour, minute
    Code,       // manufacturing code "A0715": week, year, letter code
    Serial,     // 12 hex digits or "-", 6 bytes
    Stamp,      // "dd-mm-yyyy @ hh:mm", 5 bytes; only ever read
    Text,       // what the program puts there; nothing the device stores as such
};

enum class EnterCheck : uint8_t
{
    None,
    Tariff,
    Fraction
};

// What a read shows of the form's text: some fields show the value as the
// device's own display does, not as the bytes say.
enum class Shown : uint8_t
{
    AsRead,
    Pin4,         // at least four digits
    Pad2,         // at least two digits
    OneLess,      // the device counts one power-down more than it shows
    DashWhenZero, // an all-zero date, time, stamp or serial shows the placeholder
};

// How a report column is made from the row's field.
enum class ReportSource : uint8_t
{
    Text,        // the field's text
    MakerNumber, // the manufacturing number of the field's code and `with`'s number
    AtSign,      // the field's text, " @ ", the text of `with`
    TickBox,     // "Activado" / "Desactivado" from the tick box
    DataSys,     // the PC's date and time in the system's short formats
};

// What Clear does with a field.
enum class ClearRule : uint8_t
{
    Untouched, // not written (the application serial, the values only shown)
    Kept,      // written back as the window shows it
    Zeroed,    // set to "0" in the window, then written
    Erased,    // written as shown, then zeroed by the erase
};

// What the proposal for a new unit puts into a field.
enum class NewUnitFill : uint8_t
{
    None,    // left as the new unit's own steps set it
    Default, // the stored default of the row's TbValoresPre1 column
    Date,    // the PC's date
    Time,    // the PC's time
    Dash,    // the placeholder
    Blank,   // unticked or the placeholder, after the others: a new unit has none yet
};

// Everything the product knows about one field.
struct Field
{
    FieldId id = FieldId::None;
    std::string_view name = {}; // the control
    // Where the device keeps it: the index and value of the memory requests.
    uint8_t address = 0;
    uint8_t bytes = 0;
    TextForm form = TextForm::Text;
    uint8_t limit = 0; // typing limit, 0 = none
    EnterCheck enter = EnterCheck::None;
    bool numeric = false; // numeric check on every change
    bool copied = false;  // kept by "Pic -> PC", carried by a configuration file with --all
    // What a unit is set up with, rather than what it counted or who it is:
    // what a configuration file restores without --all.
    bool setting = false;
    bool writable = false; // sent by the write pass, at its place in the table
    // A password: a traffic log goes out with problem reports, so it never
    // shows the value, not in words and not in the frame's characters.
    bool secret = false;

    // The read: the request this field's own step of the full read makes, or
    // nothing (readBytes 0) when another field's step brings its bytes.
    uint8_t readBytes = 0;
    FieldId readWith = FieldId::None; // that other field
    Shown shown = Shown::AsRead;
    // A tick box whose caption says the kind of key it takes, held in a byte
    // of its own that the read asks for when the box is ticked.
    uint8_t kindAddress = 0;

    // The caption that names it on the window: the control that carries it
    // and its text in each language.
    std::string_view label = {};
    std::string_view pt = {};
    std::string_view en = {};
    // The English label with the frame where the label alone is ambiguous,
    // as a configuration file's differences name the field.
    std::string_view fileCaption = {};

    std::string_view reportColumn = {}; // of TbReport
    ReportSource reportHow = ReportSource::Text;
    FieldId reportWith = FieldId::None;

    std::string_view defaultsColumn = {}; // of TbValoresPre1
    std::string_view defaultsInitial = {};
    NewUnitFill fill = NewUnitFill::None;

    ClearRule clear = ClearRule::Untouched;
    // How Clear's question names a value that ends at zero.
    std::string_view zeroedPt = {};
    std::string_view zeroedEn = {};

    std::string_view history = {}; // caption key of its history column

    bool disabled = false; // only the program writes it
    bool readOnly = false; // shown for reading, never disabled
    bool hidden = false;
    std::string_view initial = "-"; // what the window starts with
};

} // namespace vx
