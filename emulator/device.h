#pragma once

#include "frame.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>

namespace vx::emu {

// The VX308 as the maintenance tool sees it: 256 bytes of memory, seven
// inputs, a battery gauge, an iButton reader, a clock and a ten-digit display.
//
// Pure logic: one request frame in, one reply frame out. Timing, faults and
// transport belong to the ports that carry the frames (EmulatedPort,
// PtyServer), so this class is tested with plain strings.
class Device
{
public:
    // Monotonic milliseconds; the device clock runs on from its last setting.
    using TimeSource = std::function<qint64()>;
    static constexpr int kMemorySize = 256;
    static constexpr int kDisplaySize = 10;
    static constexpr int kHistorySize = 500;
    static constexpr uint8_t kBlank = 12;
    static constexpr uint8_t kCursorMark = 13;
    static constexpr const char *kNoKey = "FFFFFFFFFFFF";

    struct Request
    {
        qint64 ms;
        QByteArray frame;
        Command command;
        uint8_t index;
        uint8_t value;
    };

    explicit Device(TimeSource time = {});

    // The reply to one 29-character request starting with '#', or an empty
    // array when the request is not valid: the device stays silent then.
    QByteArray respond(const QByteArray &request);
    // '#', upper-case hex digits at 1..25, checksum of 1..25 (low digit at
    // 26, high at 27) and '%' at 28.
    static bool requestValid(const QByteArray &request);

    uint8_t byte(int address) const { return m_memory[address & 0xFF]; }
    void setByte(int address, uint8_t value) { m_memory[address & 0xFF] = value; }
    // Little-endian number of `count` bytes (1..4), wrapping at 256.
    uint32_t number(int address, int count) const;
    void setNumber(int address, int count, uint32_t value);
    const std::array<uint8_t, kMemorySize> &memory() const { return m_memory; }
    void setMemory(const std::array<uint8_t, kMemorySize> &memory) { m_memory = memory; }
    // A unit as it might come in for maintenance: every field the tool shows
    // holds a plausible value.
    void loadDefaultMemory();

    // Seven hex digits, input k at data character k; '0' means active.
    QString inputs() const { return m_inputs; }
    bool setInputs(const QString &digits);
    uint8_t battery() const { return m_battery; }
    void setBattery(uint8_t level) { m_battery = level; }
    // The key on the reader as the tool shows it, most significant digit
    // first; kNoKey when the reader is empty.
    QString ibutton() const { return m_ibutton; }
    bool setIbutton(const QString &serial);
    qint64 impulses() const { return m_impulses; }
    void setImpulses(qint64 count) { m_impulses = count; }

    const std::array<uint8_t, kDisplaySize> &displayCodes() const { return m_display; }
    // The display as text: digits for 0..9, ' ' for a blank, '_' for the
    // cursor mark, the character itself for printable codes, '?' otherwise.
    QString displayText() const;

    void setTimeSource(TimeSource time);
    void setClock(const QDateTime &when);
    // What ReadClock answers: minute, hour, weekday (Sunday 1), day, month,
    // year - 2000.
    std::array<uint8_t, 6> clockBytes() const;
    // Invalid while the clock holds a setting that is not a real date.
    QDateTime clock() const;

    const std::deque<Request> &history() const { return m_history; }
    int count(Command command) const { return m_counts[static_cast<uint8_t>(command)]; }
    int answered() const { return m_answered; }
    int rejected() const { return m_rejected; }
    void clearHistory();

private:
    TxData dataFor(const Request &r, const QByteArray &request);
    void setClockFromFrame(const QByteArray &request, uint8_t seconds);
    qint64 nowMs() const { return m_time(); }

    TimeSource m_time;
    std::array<uint8_t, kMemorySize> m_memory{};
    std::array<uint8_t, kDisplaySize> m_display{};
    QString m_inputs = QStringLiteral("1111111");
    uint8_t m_battery = 120;
    QString m_ibutton = QString::fromLatin1(kNoKey);
    qint64 m_impulses = 0;

    // The clock runs from m_clockBase, set at m_clockSetMs. A setting that is
    // no real date is kept as sent and stands still.
    QDateTime m_clockBase;
    qint64 m_clockSetMs = 0;
    int m_weekdayShift = 0;
    std::array<uint8_t, 6> m_frozenClock{};

    std::deque<Request> m_history;
    std::array<int, 256> m_counts{};
    int m_answered = 0;
    int m_rejected = 0;
};

} // namespace vx::emu
