// Reading the device: the clock poll of every tick and the full read.
#include "clock.h"
#include "editset.h"
#include "engine.h"
#include "link.h"
#include "textforms.h"

#include <iterator>

namespace vx {

enum class Decoding : uint8_t
{
    Pin4,        // count shown with at least four digits
    Money,       // cents as money text
    Decimal,     // plain count
    MinusOne,    // power-downs: the device counts one more than it shows
    FirstByte,   // only byte 0 counts
    IButton,     // tick box, and where it is on the source of the key
    Contador,    // tick box
    LastUpdate,  // date and time of the last iButton update
    Maintenance, // last maintenance stamp
    MakerNumber, // sequence number and manufacturing code
    Serial,      // registered iButton serial
    Version,     // device version: the window title's suffix
};

// One step of the full read: what to ask the device, and where the answer goes.
struct ReadStep
{
    uint8_t address;
    uint8_t bytes;
    const char *field;
    Decoding decoding;
};

namespace {

// The reads, in the order the device is asked.
constexpr ReadStep kReads[] = {
    {0, 2, "Text_pwdtarifas", Decoding::Pin4},
    {2, 2, "Text_pwdrelogio", Decoding::Pin4},
    {4, 2, "Text_S00", Decoding::Money},
    {6, 2, "Text_S08", Decoding::Money},
    {8, 2, "Text_S12", Decoding::Money},
    {10, 2, "Text_S15", Decoding::Money},
    {12, 2, "Text_S20", Decoding::Money},
    {14, 2, "Text_F00", Decoding::Money},
    {16, 2, "Text_F08", Decoding::Money},
    {18, 2, "Text_F12", Decoding::Money},
    {20, 2, "Text_F15", Decoding::Money},
    {22, 2, "Text_F20", Decoding::Money},
    {24, 1, "Check_ibut", Decoding::IButton},
    {25, 1, "Check_contador", Decoding::Contador},
    {26, 5, "Text_act_data", Decoding::LastUpdate},
    {91, 5, "Text_master_ibut", Decoding::Maintenance},
    {31, 1, "Text_fracao", Decoding::Decimal},
    {32, 3, "Text_acumulado", Decoding::Money},
    {37, 3, "Text_a_pagar", Decoding::Money},
    {40, 3, "Text_parcial", Decoding::Money},
    {43, 4, "Text_numfab_num", Decoding::MakerNumber},
    {47, 6, "Text_ibut", Decoding::Serial},
    {53, 2, "Text_contador", Decoding::Decimal},
    {55, 3, "Text_total00", Decoding::Money},
    {58, 3, "Text_total08", Decoding::Money},
    {61, 3, "Text_total12", Decoding::Money},
    {64, 3, "Text_total15", Decoding::Money},
    {67, 3, "Text_total20", Decoding::Money},
    {70, 2, "Text_power", Decoding::MinusOne},
    {72, 2, "Text_aberturas", Decoding::Decimal},
    {74, 2, "Text_prog", Decoding::FirstByte},
    {96, 3, "Text_sn_apl", Decoding::Decimal},
    {198, 1, "Form_main", Decoding::Version},
};

// The version byte's two characters, high digit first, read as a decimal
// number up to the first character that is not a digit.
int versionNumber(const QByteArray &r)
{
    int n = 0;
    for (int pos : {kDataOffset + 1, kDataOffset}) {
        const char c = r.at(pos);
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
    }
    return n;
}

QString versionSuffix(int n)
{
    switch (n) {
    case 4:
        return QStringLiteral(".5");
    case 3:
        return QStringLiteral(".4");
    case 2:
        return QStringLiteral(".3");
    case 1:
        return QStringLiteral(".2");
    default:
        return QStringLiteral(".1");
    }
}

// The maintenance stamp as the window shows it: "dd-mm-yyyy @ hh:mm".
QString stampText(unsigned day, unsigned month, unsigned yearMinus2000, unsigned hour,
                  unsigned minute)
{
    return dateText(day, month, yearMinus2000) + QStringLiteral(" @ ") + timeText(hour, minute);
}

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
        m_edit.setText(QStringLiteral("Text_rtc_data"),
                       dateText(dataByte(r, 3), dataByte(r, 4), dataByte(r, 5)));
        m_edit.setText(QStringLiteral("Text_rtc_hora"), timeText(dataByte(r, 1), dataByte(r, 0)));
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
    if (!writeMaintenanceStamp()) return false;
    if (m_readAfterErase) {
        m_readAfterErase = false;
        m_edit.setText(QStringLiteral("Text_master_ibut"), maintenanceText(m_lastStamp));
    }

    for (const char *n : {"Command_ler", "Command_testar", "Command_imprimir", "Command_clear",
                          "Command_enviar", "Command_teste_disp", "command_copy1"})
        m_edit.setEnabled(QLatin1String(n), true);
    if (!clearDisplay()) return false;
    s.pos_cursor = 0;
    Q_EMIT readFinished();
    return true;
}

Engine::ReadOutcome Engine::readSteps(EditSet &target)
{
    constexpr int kSteps = static_cast<int>(std::size(kReads));
    const bool toWindow = &target == &m_edit;
    int done = 0;
    if (toWindow) Q_EMIT readProgress(done, kSteps);
    UnitIdentity established;
    bool restarted = false;
    for (int i = 0; i < kSteps; ++i) {
        const ReadStep &l = kReads[i];
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

bool Engine::showReply(const ReadStep &l, EditSet &target)
{
    const QByteArray &r = m_link.trama_rx();
    const QString field = QLatin1String(l.field);
    const uint32_t n = dataNumber(r, l.bytes);
    switch (l.decoding) {
    case Decoding::Pin4:
        target.setText(field, pin4(n));
        break;
    case Decoding::Money:
        target.setText(field, moeda_texto(n));
        break;
    case Decoding::Decimal:
        target.setText(field, QString::number(n));
        break;
    case Decoding::MinusOne:
        target.setText(field, QString::number(static_cast<qint64>(n) - 1));
        break;
    case Decoding::FirstByte:
        target.setText(field, QString::number(dataByte(r, 0)));
        break;
    case Decoding::IButton:
        return showKeyReaderMode(field, dataByte(r, 0) != 0, target);
    case Decoding::Contador:
        target.setChecked(field, dataByte(r, 0) != 0);
        break;
    case Decoding::LastUpdate:
        showLastKeyUpdate(r, target);
        break;
    case Decoding::Maintenance:
        target.setText(field, stampText(dataByte(r, 0), dataByte(r, 1), dataByte(r, 2),
                                        dataByte(r, 3), dataByte(r, 4)));
        break;
    case Decoding::MakerNumber:
        target.setText(QStringLiteral("Text_numfab_num"), UnitIdentity::numberText(r));
        target.setText(QStringLiteral("text_numfab_ano"), UnitIdentity::codeText(r));
        break;
    case Decoding::Serial: {
        const QString sn = reversedData(r);
        target.setText(field, sn == QLatin1String("000000000000") ? QStringLiteral("-") : sn);
        break;
    }
    case Decoding::Version:
        target.setTitle(titulo_base + versionSuffix(versionNumber(r)));
        break;
    }
    return true;
}

bool Engine::showKeyReaderMode(const QString &field, bool enabled, EditSet &target)
{
    if (!enabled) {
        target.setChecked(field, false);
        target.setText(field, QStringLiteral("iButton"));
        return true;
    }
    target.setChecked(field, true);
    // The kind of key the reader takes is a byte of its own.
    if (send(Command::ReadMemory, 187, 1))
        target.setText(field, dataByte(m_link.trama_rx(), 0) != 0
                                  ? QStringLiteral("iButton de Dados")
                                  : QStringLiteral("iButton de Apagar"));
    return !ended();
}

void Engine::showLastKeyUpdate(const QByteArray &r, EditSet &target)
{
    const QString d = dateText(dataByte(r, 0), dataByte(r, 1), dataByte(r, 2));
    const QString h = timeText(dataByte(r, 3), dataByte(r, 4));
    target.setText(QStringLiteral("Text_act_data"),
                   d == QLatin1String("00-00-2000") ? QStringLiteral("-") : d);
    target.setText(QStringLiteral("Text_act_hora"),
                   h == QLatin1String("00:00") ? QStringLiteral("-") : h);
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
