#pragma once

#include "field.h"
#include "frame.h"

#include <QString>
#include <optional>

// The text forms of the window's values, and their conversion to the bytes the
// device stores. Each form has exactly one validator: what Enter accepts is
// what the write pass can encode, and nothing else ever reaches the line.
namespace vx {

// An optional "-", digits, and optionally "," and digits. The same in every
// regional setting: "1.50" is not a number. A trailing comma counts, so that
// typing "7,00" raises no message at "7,".
bool isNumber(const QString &text);

// Money text -> cents, exactly (decimal digits, not binary floating point),
// rounded to the nearest cent with ties to even. nullopt when the text is not
// a number, is negative, or does not fit 32 bits.
std::optional<uint32_t> cents(const QString &text);

// A whole number (optional "-", digits). nullopt otherwise or out of int64.
std::optional<qint64> integer(const QString &text);

// Tariff and fraction checks on Enter: the exact decimal value lies within
// 0..limitHundredths/100. Non-numbers fail.
bool withinLimit(const QString &text, qint64 limitHundredths);

// True when the text of the given form can be written to the device.
bool isValid(TextForm form, const QString &text);

// Encodes the field's text (or tick box) into the data buffer the way the
// device expects it. Characters beyond the value's own are left untouched,
// except for three-byte values, which clear the whole buffer first.
// Returns false and leaves the buffer as it was when the text is refused.
bool encode(const Field &field, const QString &text, bool ticked, TxData &txData);

// True when the field's bytes are none of its form's values: a code whose
// letter is no visible character (a timer never set up holds 0 there, an
// erased memory 0xFF) or whose year or week is past 99, a day, month, hour
// or minute out of range, a tick box other than 0 or 1. Such a value is
// shown as the placeholder "-" wherever its text goes (a tick box as
// ticked), and its bytes are what the unit holds: they are written back as
// they are, never as the placeholder would encode.
bool isUnprintable(const Field &field, const QByteArray &frame, int first = 0);

// The field's bytes as the frame carries them, in address order.
QByteArray fieldBytes(const Field &field, const QByteArray &frame, int first = 0);
// Puts the field's bytes into the data buffer as they are; false (buffer
// untouched) when they are not as many as the field has.
bool putFieldBytes(const Field &field, const QByteArray &bytes, TxData &txData);
// What a read shows of the field's bytes given in address order.
QString shownBytes(const Field &field, const QByteArray &bytes);
// "00 00 FF": bytes as a message or tooltip names them.
QString bytesText(const QByteArray &bytes);

// The text of the field's bytes in its form, the bytes starting at data byte
// `first` of the frame: what encode() turns back into the same bytes. A tick
// box reads its byte; a form the device does not store reads empty; an
// unprintable value reads "-".
QString decode(const Field &field, const QByteArray &frame, int first = 0);

// What a read shows of the field's bytes: decode() and the row's Shown rule.
QString shownText(const Field &field, const QByteArray &frame, int first = 0);

// What a read shows once the device has taken the text (or tick box):
// "1,5" of a tariff reads "1,50", "0" of a sub-total "0,00". The text as it
// is when it cannot be written.
QString shownAfterWrite(const Field &field, const QString &text, bool ticked);

// A manufacturing number as the unit log writes it (NFab) and every list,
// message, report and file names it: the code and the running number
// without leading zeros, "A24127" of "A2412" and "07". A unit whose code is
// the placeholder (none read, or a timer never set up) has none: "-".
QString makerNumberText(const QString &code, const QString &number);

// pad2 / pin4 / date / time text as the window shows device values.
QString pad2(unsigned x);
QString pin4(unsigned x);
QString dateText(unsigned day, unsigned month, unsigned yearMinus2000);
QString timeText(unsigned hour, unsigned minute);
// The same of bytes from the device (its clock): "-" when they are no date
// or time (a month 13, an hour 24), as a field's unprintable bytes are.
QString deviceDateText(unsigned day, unsigned month, unsigned yearMinus2000);
QString deviceTimeText(unsigned hour, unsigned minute);
// The maintenance stamp: "dd-mm-yyyy @ hh:mm".
QString stampText(unsigned day, unsigned month, unsigned yearMinus2000, unsigned hour,
                  unsigned minute);

} // namespace vx
