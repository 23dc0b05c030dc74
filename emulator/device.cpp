#include "device.h"

#include "frame.h"

#include <QElapsedTimer>
#include <algorithm>
#include <memory>

namespace vx::emu {

namespace {

// The unit that greets a technician: tariffs in cents, sub-totals, counters,
// passwords, manufacturing code A2415 number 03, registered key, last
// maintenance and last iButton update, device version 4.
struct Initial
{
    int address;
    int bytes;
    uint64_t value;
};

constexpr Initial kDefaultMemory[] = {
    {0, 2, 1234}, // tariff password
    {2, 2, 4321}, // clock password
    {4, 2, 200},  // weekday tariffs 00-08 .. 20-24h
    {6, 2, 250},
    {8, 2, 300},
    {10, 2, 350},
    {12, 2, 400},
    {14, 2, 250}, // weekend tariffs
    {16, 2, 300},
    {18, 2, 350},
    {20, 2, 400},
    {22, 2, 450},
    {24, 1, 1},  // iButton in use
    {25, 1, 1},  // electromechanical counter in use
    {26, 1, 12}, // last iButton update: 12-03-2025 10:30
    {27, 1, 3},
    {28, 1, 25},
    {29, 1, 10},
    {30, 1, 30},
    {31, 1, 15},             // fraction
    {32, 3, 1588125},        // accumulated
    {37, 3, 45000},          // to pay
    {40, 3, 23456},          // partial
    {43, 1, 3},              // manufacturing number
    {44, 1, 15},             // week
    {45, 1, 24},             // year
    {46, 1, 'A'},            // letter
    {47, 6, 0x00001A2B3C01}, // registered key, shown 00001A2B3C01
    {53, 2, 4821},           // electromechanical counter
    {55, 3, 152300},         // sub-totals per band
    {58, 3, 310250},
    {61, 3, 280000},
    {64, 3, 455500},
    {67, 3, 390075},
    {70, 2, 6},  // power failures + 1
    {72, 2, 14}, // openings
    {74, 1, 3},  // programs
    {91, 1, 2},  // last maintenance: 02-09-2025 16:45
    {92, 1, 9},
    {93, 1, 25},
    {94, 1, 16},
    {95, 1, 45},
    {96, 3, 104233}, // application serial number
    {187, 1, 1},     // data iButton
    {198, 1, 0x04},  // version
};

bool upperHex(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

bool allUpperHex(const QString &s)
{
    for (QChar c : s)
        if (!upperHex(c)) return false;
    return true;
}

int sundayFirst(const QDate &d)
{
    return d.dayOfWeek() % 7 + 1;
}

Device::TimeSource elapsedSource()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

} // namespace

Device::Device(TimeSource time) : m_time(time ? std::move(time) : elapsedSource())
{
    m_display.fill(kBlank);
    loadDefaultMemory();
    setClock(QDateTime::currentDateTime());
}

void Device::loadDefaultMemory()
{
    m_memory.fill(0);
    for (const Initial &f : kDefaultMemory)
        for (int k = 0; k < f.bytes; ++k)
            setByte(f.address + k, static_cast<uint8_t>(f.value >> (8 * k)));
}

uint32_t Device::number(int address, int count) const
{
    uint32_t n = 0;
    for (int k = count - 1; k >= 0; --k)
        n = (n << 8) | byte(address + k);
    return n;
}

void Device::setNumber(int address, int count, uint32_t value)
{
    for (int k = 0; k < count; ++k)
        setByte(address + k, static_cast<uint8_t>(value >> (8 * k)));
}

bool Device::setInputs(const QString &digits)
{
    const QString d = digits.toUpper();
    if (d.size() != 7 || !allUpperHex(d)) return false;
    m_inputs = d;
    return true;
}

bool Device::setIbutton(const QString &serial)
{
    const QString s = serial.toUpper();
    if (s.size() != 12 || !allUpperHex(s)) return false;
    m_ibutton = s;
    return true;
}

QString Device::displayText() const
{
    QString s;
    for (uint8_t code : m_display) {
        if (code <= 9)
            s += QLatin1Char(static_cast<char>('0' + code));
        else if (code == kBlank)
            s += QLatin1Char(' ');
        else if (code == kCursorMark)
            s += QLatin1Char('_');
        else if (code >= 32 && code < 127)
            s += QLatin1Char(static_cast<char>(code));
        else
            s += QLatin1Char('?');
    }
    return s;
}

void Device::setTimeSource(TimeSource time)
{
    // Keep the device's time of day across the change of source.
    const QDateTime now = clock();
    m_time = time ? std::move(time) : elapsedSource();
    if (now.isValid()) setClock(now);
}

void Device::setClock(const QDateTime &when)
{
    // The device has no time zone and no summer time: it counts wall time.
    m_clockBase = QDateTime(when.date(), when.time(), Qt::UTC);
    m_clockSetMs = nowMs();
    m_weekdayShift = 0;
}

QDateTime Device::clock() const
{
    if (!m_clockBase.isValid()) return {};
    return m_clockBase.addMSecs(nowMs() - m_clockSetMs);
}

std::array<uint8_t, 6> Device::clockBytes() const
{
    const QDateTime now = clock();
    if (!now.isValid()) return m_frozenClock;
    const QDate d = now.date();
    const QTime t = now.time();
    const int weekday = (sundayFirst(d) - 1 + m_weekdayShift) % 7 + 1;
    return {static_cast<uint8_t>(t.minute()), static_cast<uint8_t>(t.hour()),
            static_cast<uint8_t>(weekday),    static_cast<uint8_t>(d.day()),
            static_cast<uint8_t>(d.month()),  static_cast<uint8_t>(d.year() - 2000)};
}

void Device::setClockFromFrame(const QByteArray &request, uint8_t seconds)
{
    std::array<uint8_t, 6> b{};
    for (int k = 0; k < 6; ++k)
        b[k] = dataByte(request, k);
    const QDate date(2000 + b[5], b[4], b[3]);
    const QTime time(b[1], b[0], seconds);
    if (!date.isValid() || !time.isValid()) {
        m_clockBase = QDateTime();
        m_frozenClock = b;
        return;
    }
    setClock(QDateTime(date, time));
    if (b[2] >= 1 && b[2] <= 7) m_weekdayShift = (b[2] - sundayFirst(date) + 7) % 7;
}

bool Device::requestValid(const QByteArray &request)
{
    if (request.size() < kFrameLength || request.at(0) != '#' || request.at(28) != '%')
        return false;
    for (int i = 1; i <= 25; ++i)
        if (!upperHex(QLatin1Char(request.at(i)))) return false;
    const int sum = nibbleSum(request);
    return request.at(26) == nibble_hex(sum % 16) && request.at(27) == nibble_hex(sum / 16);
}

QByteArray Device::respond(const QByteArray &request)
{
    if (!requestValid(request)) {
        ++m_rejected;
        return {};
    }
    const QByteArray frame = request.left(kFrameLength);
    const RequestHeader h = requestHeader(frame);
    const Request req{nowMs(), frame, h.comando, h.indice, h.valor};
    m_history.push_back(req);
    if (m_history.size() > static_cast<size_t>(kHistorySize)) m_history.pop_front();
    ++m_counts[static_cast<uint8_t>(req.command)];
    ++m_answered;
    const TxData data = dataFor(req, frame);
    return buildReply(frame.mid(1, 13), QByteArray(data.data(), kDataLength));
}

TxData Device::dataFor(const Request &r, const QByteArray &request)
{
    TxData data;
    data.fill('0');
    const int bytes = std::min<int>(r.value, 6);
    switch (r.command) {
    case Command::ReadMemory:
        for (int k = 0; k < bytes; ++k)
            putByte(data, k, byte(r.index + k));
        break;
    case Command::WriteMemory:
        for (int k = 0; k < bytes; ++k)
            setByte(r.index + k, dataByte(request, k));
        break;
    case Command::ReadInputs:
        for (int k = 0; k < 7; ++k)
            data[k] = m_inputs.at(k).toLatin1();
        break;
    case Command::Impulses:
        m_impulses += r.value;
        break;
    case Command::SetClock:
        setClockFromFrame(request, r.index);
        break;
    case Command::ReadBattery:
        putByte(data, 0, m_battery);
        break;
    case Command::ReadIButton:
        for (int i = 0; i < kDataLength; ++i)
            data[i] = m_ibutton.at(kDataLength - 1 - i).toLatin1();
        break;
    case Command::ReadClock: {
        const auto c = clockBytes();
        for (int k = 0; k < 6; ++k)
            putByte(data, k, c[k]);
        break;
    }
    case Command::Display:
        if (r.index < kDisplaySize) m_display[r.index] = r.value;
        break;
    case Command::End:
    default: // and the numbers the device does not know
        break;
    }
    return data;
}

void Device::clearHistory()
{
    m_history.clear();
    m_counts.fill(0);
    m_answered = 0;
    m_rejected = 0;
}

} // namespace vx::emu
