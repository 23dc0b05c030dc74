#pragma once

#include "fieldtable.h"

#include <QByteArray>

namespace vx {

// One request of the full read: the field whose step it is (and whose
// neighbours' bytes may come with it), or the device version (FieldId::None).
struct ReadStep
{
    FieldId field;
    uint8_t address;
    uint8_t bytes;
};

// The version byte: the window title's suffix.
inline constexpr uint8_t kVersionAddress = 198;

// The full read in the order the device is asked.
inline constexpr auto kReadSteps = [] {
    constexpr FieldId order[] = {
        FieldId::TariffPassword,  FieldId::ClockPassword,    FieldId::Week00,
        FieldId::Week08,          FieldId::Week12,           FieldId::Week15,
        FieldId::Week20,          FieldId::Weekend00,        FieldId::Weekend08,
        FieldId::Weekend12,       FieldId::Weekend15,        FieldId::Weekend20,
        FieldId::KeyReaderOn,     FieldId::CounterOn,        FieldId::KeyUpdateDate,
        FieldId::LastMaintenance, FieldId::Fraction,         FieldId::Accumulated,
        FieldId::ToPay,           FieldId::Memory,           FieldId::MakerNumber,
        FieldId::KeySerial,       FieldId::Counter,          FieldId::Total00,
        FieldId::Total08,         FieldId::Total12,          FieldId::Total15,
        FieldId::Total20,         FieldId::PowerDowns,       FieldId::Games,
        FieldId::Programmings,    FieldId::ApplicationSerial};
    std::array<ReadStep, std::size(order) + 1> steps{};
    for (size_t i = 0; i < std::size(order); ++i)
        steps[i] = {order[i], fieldRow(order[i]).address, fieldRow(order[i]).readBytes};
    steps.back() = {FieldId::None, kVersionAddress, 1};
    return steps;
}();

// The title's suffix for the version byte's reply: its two characters, high
// digit first, read as a decimal number up to the first that is not a digit.
QString versionSuffix(const QByteArray &reply);

} // namespace vx
