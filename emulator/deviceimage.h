#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace vx::emu {

class Device;

// What a device holds that outlives a session, as JSON:
//   {"memory": [256 integers 0..255], "inputs": "1111111", "battery": 120,
//    "ibutton": "FFFFFFFFFFFF"}
// Every key is optional on reading; a key that is missing leaves that part of
// the device as it was. A file with any bad key is refused whole, so a typing
// mistake never half-loads a device.
class DeviceImage
{
public:
    std::optional<std::array<uint8_t, 256>> memory;
    std::optional<QString> inputs;
    std::optional<int> battery;
    std::optional<QString> ibutton;

    static DeviceImage of(const Device &device);
    // Empty optional and a message naming the fault when the text is not a
    // valid image.
    static std::optional<DeviceImage> fromJson(const QByteArray &json, QString *error);
    QByteArray toJson() const;
    void applyTo(Device &device) const;

    static std::optional<DeviceImage> load(const QString &path, QString *error);
    // Written to a temporary file and renamed, so a crash never leaves half a
    // file where a good one was.
    bool save(const QString &path, QString *error) const;
};

} // namespace vx::emu
