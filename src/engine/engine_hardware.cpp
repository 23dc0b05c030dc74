// The live polls (inputs, battery, iButton reader), impulses and the display
// test.
#include "editset.h"
#include "engine.h"
#include "fieldtable.h"
#include "link.h"

#include <QLocale>

namespace vx {

namespace {

struct Indicator
{
    int character;
    const char *name;
};
constexpr Indicator kIndicators[] = {
    {2, "Shape_bola0"},   {0, "Shape_bola1"},      {3, "Shape_bola2"},  {1, "Shape_bola3"},
    {4, "Shape_memoria"}, {5, "Shape_incremento"}, {6, "Shape_cursor"},
};

} // namespace

bool Engine::pollInputs()
{
    if (send(Command::ReadInputs, 0, 0)) {
        const QByteArray &r = m_link.trama_rx();
        for (const Indicator &i : kIndicators) {
            // The timer reports an active input as '0'.
            const bool active = hex_nibble(r.at(kDataOffset + i.character)) == 0;
            m_edit.setIndicator(QLatin1String(i.name),
                                active ? IndicatorState::On : IndicatorState::Off);
        }
    }
    return !ended();
}

bool Engine::sendImpulses()
{
    Session &s = m_edit.session;
    // Another unit found on the way drops the request (unitNotOnLine); one
    // not confirmed yet keeps it for a later tick.
    if (!unitTakesCommand()) return !ended();
    send(Command::Impulses, 0, static_cast<uint8_t>(m_impulsesRequested));
    if (ended()) return false;
    s.impulsos_pedido = false;
    m_edit.setEnabled(QStringLiteral("Command_enviar"), true);
    m_edit.setText(fieldName(FieldId::Impulses), QStringLiteral("0"));
    m_link.setTimeoutMs(1000);
    return true;
}

bool Engine::displayTest()
{
    Session &s = m_edit.session;
    if (!unitTakesCommand()) return !ended();
    s.teste_disp_pedido = false;
    for (const char *n : {"Command_ler", "Command_novo", "Command_testar", "Command_imprimir"})
        m_edit.setEnabled(QLatin1String(n), false);
    auto clearDisplay = [this] {
        for (uint8_t p = 0; p < 10; ++p) {
            display(p, 12);
            if (ended()) return false;
        }
        return true;
    };
    if (!clearDisplay()) return false;
    for (uint8_t p = 0; p < 5; ++p) {
        for (uint8_t c : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13}) {
            display(p, c);
            if (ended()) return false;
            display(static_cast<uint8_t>(p + 5), c);
            if (ended()) return false;
            m_link.waitMs(300);
            if (ended()) return false;
        }
    }
    if (!clearDisplay()) return false;
    s.pos_cursor = 0;
    for (const char *n : {"Command_ler", "Command_novo", "Command_testar"})
        m_edit.setEnabled(QLatin1String(n), true);
    for (const char *n : {"Command_imprimir", "Command_teste_disp", "command_copy1"})
        m_edit.setEnabled(QLatin1String(n), !m_edit.unitMismatch());
    return true;
}

bool Engine::pollBattery()
{
    if (send(Command::ReadBattery, 0, 0)) {
        const int level = dataByte(m_link.trama_rx(), 0);
        const QString gauge = QStringLiteral("ProgressBar_baterias");
        const QString label = fieldName(FieldId::Battery);
        if (level >= 130) {
            m_edit.setValue(gauge, 100);
            m_edit.setText(label, QStringLiteral("100%"));
        } else if (level < 90) {
            m_edit.setValue(gauge, 0);
            m_edit.setText(label, QStringLiteral("0%"));
        } else {
            const double v = (level - 90) * 2.5;
            m_edit.setValue(gauge, v);
            // The default locale is the PC's regional settings unless a
            // program (or a test) chose another.
            m_edit.setText(label, QLocale().toString(v) + QStringLiteral(" %"));
        }
    }
    return !ended();
}

bool Engine::pollIButton()
{
    if (send(Command::ReadIButton, 0, 0)) {
        const QString sn = reversedData(m_link.trama_rx());
        m_edit.setText(fieldName(FieldId::KeyTest),
                       sn == QLatin1String("FFFFFFFFFFFF") ? QStringLiteral("-") : sn);
    }
    return !ended();
}

} // namespace vx
