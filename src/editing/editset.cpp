#include "editset.h"

#include "messagetexts.h"

#include "messages.h"
#include "textforms.h"

#include <algorithm>

namespace vx {

namespace {

ControlState withText(const QString &t)
{
    ControlState s;
    s.text = t;
    return s;
}

// The timer keeps cents: a money text with a digit after them that is not
// zero would be rounded ("1,234" would be held as 1,23).
bool dropsDigits(const Field &c, const QString &text)
{
    if (c.form != TextForm::Money2 && c.form != TextForm::Money3) return false;
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0) return false;
    const QString past = text.mid(comma + 3);
    return std::any_of(past.begin(), past.end(), [](QChar d) { return d != QLatin1Char('0'); });
}

} // namespace

QString EditSet::msgInvalid()
{
    return messageText(MessageId::ValueInvalid, 0);
}

EditSet::EditSet(MessageSink &messages, QObject *parent) : QObject(parent), m_messages(messages)
{
    for (const Field &c : kFieldTable) {
        ControlState s = withText(toQString(c.initial));
        // Values only the program writes stay disabled for the whole run.
        s.enabled = !c.disabled;
        s.visible = !c.hidden;
        m_controls.insert(toQString(c.name), s);
    }

    for (const char *n : {"Command_ler", "Command_sair"})
        m_controls.insert(QLatin1String(n), ControlState{});
    for (const char *n : {"Command_testar", "Command_imprimir", "Command_clear",
                          "Command_teste_disp", "Command_enviar"}) {
        ControlState s;
        s.enabled = false;
        m_controls.insert(QLatin1String(n), s);
    }
    // The factory functions exist but are not shown in the delivered window.
    ControlState newButton;
    newButton.text = QStringLiteral("Novo");
    newButton.visible = false;
    m_controls.insert(QStringLiteral("Command_novo"), newButton);
    for (const char *n : {"command_copy1", "command_paste1"}) {
        ControlState s;
        s.enabled = false;
        s.visible = false;
        m_controls.insert(QLatin1String(n), s);
    }
    m_controls[QStringLiteral("command_copy1")].text = QStringLiteral("Pic -> PC");
    m_controls[QStringLiteral("command_paste1")].text = QStringLiteral("PC -> Pic");

    for (const char *n : {"Shape_bola0", "Shape_bola1", "Shape_bola2", "Shape_bola3",
                          "Shape_memoria", "Shape_incremento", "Shape_cursor"}) {
        ControlState s;
        s.indicator = IndicatorState::Off;
        m_controls.insert(QLatin1String(n), s);
    }
    m_controls.insert(QStringLiteral("ProgressBar_baterias"), ControlState{});
    m_controls.insert(QStringLiteral("Form_main"), ControlState{});
    m_controls.insert(QStringLiteral("mnu_comunicação"), ControlState{});
    for (int n = 1; n <= 4; ++n) {
        ControlState s = withText(QStringLiteral("Com %1").arg(n));
        s.checked = n == 1;
        m_controls.insert(QStringLiteral("mnu_porta%1").arg(n), s);
    }
    ControlState pt = withText(QStringLiteral("Português"));
    pt.checked = true;
    m_controls.insert(QStringLiteral("mnu_pt"), pt);
    m_controls.insert(QStringLiteral("mnu_EN"), withText(QStringLiteral("English")));
}

const ControlState &EditSet::control(const QString &name) const
{
    static const ControlState empty;
    const auto it = m_controls.constFind(name);
    return it == m_controls.constEnd() ? empty : *it;
}

ControlState &EditSet::mut(const QString &name)
{
    return m_controls[name];
}

void EditSet::setText(const QString &name, const QString &text)
{
    ControlState &s = mut(name);
    s.held = text;
    // The program's value replaces the bytes the read found (a read keeps
    // them again right after); a tick box's text is only its caption.
    const Field *field = fieldNamed(name);
    const bool dropsRaw = !s.raw.isEmpty() && field && field->form != TextForm::Flag;
    if (dropsRaw) s.raw.clear();
    // What the program puts in a box replaces whatever the technician had
    // typed there, and with it the mark of that typing.
    if (s.write == WriteState::Edited || s.write == WriteState::Invalid ||
        s.write == WriteState::Refused)
        setWriteState(name, WriteState::None);
    if (s.text == text) {
        if (dropsRaw) Q_EMIT controlChanged(name);
        return;
    }
    s.text = text;
    Q_EMIT controlChanged(name);
    if (hasNumericCheck(name)) checkNumeric(name);
}

void EditSet::applyText(const QString &name, const QString &text)
{
    ControlState &s = mut(name);
    if (s.text == text) return;
    s.text = text;
    Q_EMIT controlChanged(name);
}

void EditSet::setChecked(const QString &name, bool on)
{
    ControlState &s = mut(name);
    if (!s.raw.isEmpty()) {
        s.raw.clear();
        if (s.checked == on) Q_EMIT controlChanged(name);
    }
    if (s.checked == on) return;
    s.checked = on;
    Q_EMIT controlChanged(name);
    // A tick box changed by the program counts as a click on it.
    const int i = fieldIndex(name.toStdString());
    if (i >= 0) mark(i);
}

void EditSet::setEnabled(const QString &name, bool on)
{
    ControlState &s = mut(name);
    if (s.enabled != on) {
        s.enabled = on;
        Q_EMIT controlChanged(name);
    }
}

void EditSet::setVisible(const QString &name, bool on)
{
    ControlState &s = mut(name);
    if (s.visible != on) {
        s.visible = on;
        Q_EMIT controlChanged(name);
    }
}

void EditSet::setIndicator(const QString &name, IndicatorState state)
{
    ControlState &s = mut(name);
    if (s.indicator != state) {
        s.indicator = state;
        Q_EMIT controlChanged(name);
    }
}

void EditSet::setValue(const QString &name, double v)
{
    ControlState &s = mut(name);
    if (s.value != v) {
        s.value = v;
        Q_EMIT controlChanged(name);
    }
}

void EditSet::setWriteState(const QString &name, WriteState state)
{
    ControlState &s = mut(name);
    if (s.write != state) {
        s.write = state;
        Q_EMIT controlChanged(name);
    }
}

void EditSet::gotFocus(const QString &name, bool fromOtherControl)
{
    if (!fromOtherControl) return;
    // A value marked invalid or refused is not one to come back to: Escape
    // then brings back what the unit holds.
    const ControlState &s = control(name);
    const bool rejected = s.write == WriteState::Invalid || s.write == WriteState::Refused;
    texto_foco = rejected ? s.held : s.text;
}

void EditSet::restoreValue(const QString &name)
{
    const bool changed = text(name) != texto_foco;
    applyText(name, texto_foco);
    if (pending(name))
        setWriteState(name, WriteState::Pending);
    else
        markTyped(name);
    if (changed && hasNumericCheck(name)) checkNumeric(name);
}

void EditSet::setLanguage(int idioma)
{
    setChecked(QStringLiteral("mnu_pt"), idioma != 1);
    setChecked(QStringLiteral("mnu_EN"), idioma == 1);
}

bool EditSet::userEdit(const QString &name, const QString &text)
{
    const int limit = limitOf(name);
    const QString &before = control(name).text;
    if (limit > 0 && text.size() > limit && text.size() > before.size()) {
        Q_EMIT valueTooLong(name, limit);
        return false;
    }
    if (text == before) return true;
    // The numeric check marks the box and says why on the status line, not
    // in a message box: a box opened by one key takes the keys typed after
    // it, and the field would keep the first character alone.
    applyText(name, text);
    markTyped(name);
    return true;
}

void EditSet::markTyped(const QString &name)
{
    const ControlState &s = control(name);
    if (hasNumericCheck(name) && !isNumber(s.text)) {
        setWriteState(name, WriteState::Invalid);
        Q_EMIT valueInvalid(name, messageText(MessageId::ValueInvalid, languageOf(*this)));
        return;
    }
    // A value typed anew is neither waiting nor written until it is confirmed.
    setWriteState(name, s.text == s.held ? WriteState::None : WriteState::Edited);
}

void EditSet::userToggle(const QString &name)
{
    if (fieldIndex(name.toStdString()) >= 0 && refuseForOtherUnit(name)) return;
    setChecked(name, !checked(name));
}

void EditSet::confirmValue(const QString &name)
{
    const int i = fieldIndex(name.toStdString());
    if (i < 0 || kFields[i].form == TextForm::Flag) return;
    if (refuseForOtherUnit(name)) return;
    const Field &c = kFields[i];
    const QString t = text(name);
    if (c.enter != EnterCheck::None && isNumber(t)) {
        const bool tariff = c.enter == EnterCheck::Tariff;
        if (!withinLimit(t, tariff ? 65535 : 25500)) {
            refuseAtEnter(name, tariff ? MessageId::TariffRange : MessageId::FractionRange, true);
            return;
        }
    }
    if (!isValid(c.form, t)) {
        refuseAtEnter(name, MessageId::ValueInvalid, session.modo != 0);
        return;
    }
    // A value the timer would round is shown at once as it will hold it,
    // and said.
    const bool rounded = dropsDigits(c, t);
    if (rounded) applyText(name, shownAfterWrite(c, t, false));
    mark(i);
    setWriteState(name, WriteState::Pending);
    if (rounded) Q_EMIT valueRounded(name, t);
}

bool EditSet::refuseForOtherUnit(const QString &name)
{
    if (!m_unitMismatch) return false;
    const QString typed = text(name);
    const int idioma = languageOf(*this);
    m_messages.show(messageText(MessageId::UnitNotRead, idioma).arg(m_unitMismatch->onLine.label()),
                    messageText(MessageId::TitleMaintenance, idioma), MessageSink::Icon::Critical);
    // What the technician typed was for the unit read: the field shows what
    // that unit holds again, struck through with every other value. A tick
    // box is left as it is.
    const Field *f = fieldNamed(name);
    if (f && f->form == TextForm::Flag) {
        Q_EMIT valueNotForUnitOnLine(name, {});
        return true;
    }
    applyText(name, control(name).held);
    setWriteState(name, WriteState::None);
    Q_EMIT valueNotForUnitOnLine(name, typed);
    return true;
}

// The text stays as typed for the technician to correct, marked, with the
// reason kept on the status line after the message box has gone.
void EditSet::refuseAtEnter(const QString &name, MessageId why, bool showBox)
{
    const QString reason = messageText(why, languageOf(*this));
    if (showBox)
        m_messages.show(reason, messageText(MessageId::TitleMaintenance, languageOf(*this)),
                        MessageSink::Icon::None);
    setWriteState(name, WriteState::Invalid);
    Q_EMIT valueInvalid(name, reason);
}

void EditSet::checkNumeric(const QString &name)
{
    if (session.modo != 0 && !isNumber(text(name)))
        m_messages.show(messageText(MessageId::ValueInvalid, languageOf(*this)),
                        messageText(MessageId::TitleMaintenance, languageOf(*this)),
                        MessageSink::Icon::None);
}

int EditSet::limitOf(const QString &name) const
{
    const Field *f = fieldNamed(name);
    return f ? f->limit : 0;
}

bool EditSet::hasNumericCheck(const QString &name) const
{
    const Field *f = fieldNamed(name);
    return f && f->numeric;
}

bool EditSet::pending(const QString &name) const
{
    const int i = fieldIndex(name.toStdString());
    return i >= 0 && m_pending[i];
}

void EditSet::mark(int i, ChangeKind kind)
{
    m_pending[i] = true;
    m_markedBy[i] = kind;
    alteracao_pendente = true;
}

void EditSet::mark(const QStringList &names, ChangeKind kind)
{
    for (const QString &n : names) {
        const int i = fieldIndex(n.toStdString());
        if (i >= 0) mark(i, kind);
    }
}

bool EditSet::take(int i)
{
    const bool wasPending = m_pending[i];
    m_pending[i] = false;
    return wasPending;
}

void EditSet::lowerAll()
{
    m_pending.fill(false);
}

void EditSet::reportWritten(int i)
{
    const QString name = toQString(kFields[i].name);
    ControlState &s = mut(name);
    const QString sent = s.text;
    // A value typed again since the write pass took this one is not it.
    if (s.write != WriteState::Edited && s.write != WriteState::Invalid) {
        // The power downs: the timer keeps the count it is sent and a read
        // shows one less; the field shows what a read will.
        const Field &c = kFields[i];
        if (c.shown == Shown::OneLess) applyText(name, shownAfterWrite(c, sent, false));
        mut(name).held = control(name).text;
    }
    // Only what the technician confirmed is shown as written; Clear and paste
    // mark whole groups that were never typed.
    if (control(name).write == WriteState::Pending) setWriteState(name, WriteState::Written);
    Q_EMIT valueWritten(name, sent);
}

void EditSet::reportRefused(int i, const QString &text)
{
    const QString name = toQString(kFields[i].name);
    setWriteState(name, WriteState::Refused);
    Q_EMIT valueRefused(name, text);
}

bool EditSet::anyPending() const
{
    return std::any_of(m_pending.begin(), m_pending.end(), [](bool b) { return b; });
}

const QStringList &EditSet::clearedFields()
{
    static const QStringList list = [] {
        constexpr FieldId order[] = {
            FieldId::Week00,        FieldId::Week08,         FieldId::Week12,
            FieldId::Week15,        FieldId::Week20,         FieldId::Weekend00,
            FieldId::Weekend08,     FieldId::Weekend12,      FieldId::Weekend15,
            FieldId::Weekend20,     FieldId::Total00,        FieldId::Total08,
            FieldId::Total12,       FieldId::Total15,        FieldId::Total20,
            FieldId::Accumulated,   FieldId::Memory,         FieldId::ToPay,
            FieldId::KeyTest,       FieldId::MakerNumber,    FieldId::MakerCode,
            FieldId::KeyReaderOn,   FieldId::KeySerial,      FieldId::LastMaintenance,
            FieldId::ClockPassword, FieldId::TariffPassword, FieldId::KeyUpdateDate,
            FieldId::KeyUpdateTime, FieldId::Impulses,       FieldId::ApplicationSerial,
            FieldId::CounterOn,     FieldId::Counter,        FieldId::Fraction,
            FieldId::Games,         FieldId::Programmings,   FieldId::PowerDowns};
        QStringList names;
        for (FieldId id : order)
            names << fieldName(id);
        return names;
    }();
    return list;
}

void EditSet::keepRawBytes(const QString &name, const QByteArray &bytes)
{
    ControlState &s = mut(name);
    const bool changed = s.raw != bytes;
    s.raw = bytes;
    s.rawText = s.text;
    s.rawChecked = s.checked;
    if (changed) Q_EMIT controlChanged(name);
}

QByteArray EditSet::rawBytes(const QString &name) const
{
    const ControlState &s = control(name);
    return s.text == s.rawText && s.checked == s.rawChecked ? s.raw : QByteArray();
}

void EditSet::clear()
{
    for (const QString &n : clearedFields()) {
        keepRawBytes(n, {});
        setWriteState(n, WriteState::None);
        if (fieldNamed(n)->form == TextForm::Flag)
            setChecked(n, false);
        else
            setText(n, QStringLiteral("-"));
    }
}
} // namespace vx

namespace vx {

void EditSet::setUnitMismatch(const std::optional<UnitMismatch> &mismatch)
{
    const bool changed = mismatch.has_value() != m_unitMismatch.has_value() ||
                         (mismatch && (mismatch->read.label() != m_unitMismatch->read.label() ||
                                       mismatch->onLine.label() != m_unitMismatch->onLine.label()));
    m_unitMismatch = mismatch;
    if (changed) Q_EMIT unitMismatchChanged();
}

} // namespace vx
