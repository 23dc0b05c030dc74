#include "newunit.h"

#include "enginecontrol.h"

#include "calendar.h"
#include "clock.h"
#include "databases.h"
#include "editset.h"
#include "fieldtable.h"
#include "fileerror.h"
#include "messages.h"
#include "messagetexts.h"
#include "recordsoutbox.h"
#include "recordstexts.h"
#include "tables.h"
#include "textforms.h"

#include <QSysInfo>

#include <algorithm>
#include <array>
#include <string_view>

namespace vx {

namespace {

// The fields the proposal fills from the defaults, the PC's clock or the
// placeholder (the rows' fill roles), in the order it fills them.
constexpr FieldId kFillOrder[] = {
    FieldId::Week00,        FieldId::Week08,         FieldId::Week12,
    FieldId::Week15,        FieldId::Week20,         FieldId::Weekend00,
    FieldId::Weekend08,     FieldId::Weekend12,      FieldId::Weekend15,
    FieldId::Weekend20,     FieldId::Total00,        FieldId::Total08,
    FieldId::Total12,       FieldId::Total15,        FieldId::Total20,
    FieldId::Accumulated,   FieldId::ToPay,          FieldId::Memory,
    FieldId::KeyUpdateDate, FieldId::KeyUpdateTime,  FieldId::LastMaintenance,
    FieldId::ClockPassword, FieldId::TariffPassword, FieldId::Counter,
    FieldId::Games,         FieldId::PowerDowns,     FieldId::Fraction,
    FieldId::Programmings};

const QString kMakerCodeControl = fieldName(FieldId::MakerCode);
const QString kMakerNumberControl = fieldName(FieldId::MakerNumber);
// The year-week code of a manufacturing number: "A", year and week.
constexpr int kCodeLength = 5;

QString text(std::string_view key, int idioma)
{
    return textOf(kNewUnitTexts, key, idioma);
}

// A number as the log writes it: "03" read from the timer is "3".
QString logForm(const QString &number)
{
    const auto n = integer(number);
    return n ? QString::number(*n) : QString();
}

QString twoDigits(int n)
{
    return (n < 10 ? QStringLiteral("0") : QString()) + QString::number(n);
}

// "A", the year as two digits, the week as two digits: A0705.
QString yearWeekCode(int year, int week)
{
    return QStringLiteral("A") + twoDigits(year - 2000) + twoDigits(week);
}

} // namespace

NewUnit::NewUnit(EditSet &edit, EngineControl &engine, Databases &databases, UnitRecords &records,
                 MessageSink &messages, const Clock &clock, QObject *parent)
    : QObject(parent), m_edit(edit), m_engine(engine), m_databases(databases), m_records(records),
      m_messages(messages), m_clock(clock)
{
    connect(&m_edit, &EditSet::valueWritten, this, &NewUnit::onValueWritten);
}

QString NewUnit::msgReadPending()
{
    return messageText(MessageId::ReadPending, 0);
}

QStringList NewUnit::unwrittenFields() const
{
    QStringList l;
    for (const Field &c : kFields)
        if (m_unwritten.contains(toQString(c.name))) l << toQString(c.name);
    return l;
}

QStringList NewUnit::writtenFields() const
{
    QStringList l;
    if (!m_unit) return l;
    for (const Field &c : kFields) {
        const QString name = toQString(c.name);
        if (c.id != FieldId::ApplicationSerial && !m_unwritten.contains(name)) l << name;
    }
    return l;
}

bool NewUnit::addWaitingRows(int *added, int *waiting)
{
    RecordsOutbox outbox(m_databases.folder(), languageOf(m_edit));
    const RecordsOutbox::Delivery d = outbox.deliver(m_records.database());
    if (added) *added = d.added;
    if (waiting) *waiting = d.waiting;
    return d.waiting == 0;
}

void NewUnit::logUnit(const UnitNumbers &unit)
{
    const int idioma = languageOf(m_edit);
    RecordsOutbox outbox(m_databases.folder(), idioma);
    const OutboxRow row =
        UnitRecords::waitingRow(unit, RecordsOutbox::placeOf(m_records.database()));
    // Kept first: a program that ends, or records that hang, while the row
    // goes in lose nothing.
    QString keepError;
    const bool kept = outbox.keep(row, &keepError);
    QString error;
    if (m_records.log(unit, &error)) {
        QString ignored; // left behind, it is added again later: once, by its key
        if (kept) outbox.remove(row, &ignored);
        emit unitLogged(unit.row.NFab, unit.row.NMec);
        addWaitingRows();
        return;
    }
    if (!kept) {
        showFileError(m_messages, m_records.where(),
                      error + QStringLiteral("\n") + keepError + QStringLiteral("\n") +
                          messageText(MessageId::UnitWrittenNotLogged, idioma).arg(unit.row.NFab),
                      idioma);
        return;
    }
    const int waiting = outbox.count(row.records);
    m_messages.show(text("waiting", idioma)
                        .arg(unit.row.NFab)
                        .arg(unit.row.NMec)
                        .arg(m_records.where(), error, outbox.waitingText(waiting)),
                    messageText(MessageId::TitleMaintenance, idioma),
                    MessageSink::Icon::Information);
    emit unitWaiting(unit.row.NFab, unit.row.NMec, waiting);
}

void NewUnit::onValueWritten(const QString &field)
{
    if (!m_unit || !m_unwritten.remove(field) || !m_unwritten.isEmpty()) return;
    const UnitNumbers unit = *m_unit;
    m_unit.reset();
    logUnit(unit);
    if (m_readAfterUnit) {
        m_readAfterUnit = false;
        m_edit.session.ler_pedido = true;
    }
}

void NewUnit::startEngineIfStopped()
{
    if (!m_engine.active()) m_engine.start();
}

bool NewUnit::readLastLogRow(LastLogRow *last)
{
    QString error;
    if (m_records.readLastLogRow(last, &error)) return true;
    showFileError(m_messages, m_records.where(),
                  error + QStringLiteral("\n") +
                      messageText(MessageId::RecordsUnavailable, languageOf(m_edit)),
                  languageOf(m_edit));
    return false;
}

bool NewUnit::allocateNumbers(const QString &code, int number, UnitNumbers *numbers)
{
    const QDateTime now = m_clock.now();
    const QDate today = now.date();
    UnitRequest request;
    request.code = code;
    request.number = number;
    request.proposed = m_seq_semana + 1;
    request.basis = m_seq_semana;
    request.week = semana_do_ano(today.day(), today.month(), today.year());
    request.date = today;
    request.time = now.time();
    request.host = QSysInfo::machineHostName();
    request.forUnit = m_forUnit;
    request.forSerial = m_forSerial;
    m_records.setLanguage(languageOf(m_edit));
    QString error;
    if (!m_records.allocate(request, numbers, &error)) {
        if (numbers->takenBy != 0 && numbers->nextFree != 0) {
            sayNumberTaken(code + QString::number(number), *numbers);
            return false;
        }
        showFileError(m_messages, m_records.where(),
                      error + QStringLiteral("\n") +
                          messageText(MessageId::RecordsUnavailable, languageOf(m_edit)),
                      languageOf(m_edit));
        return false;
    }
    if (numbers->moved)
        m_messages.show(messageText(MessageId::UnitNumberMoved, languageOf(m_edit))
                            .arg(code + QString::number(number), numbers->row.NFab),
                        messageText(MessageId::TitleMaintenance, languageOf(m_edit)),
                        MessageSink::Icon::None);
    return true;
}

// A running number the technician typed that another unit has: not a fault
// of the records. The unit that has it is named and the next free number is
// put in the box, for "Aceitar" again or for another number.
void NewUnit::sayNumberTaken(const QString &typed, const UnitNumbers &numbers)
{
    m_edit.setText(kMakerNumberControl, QString::number(numbers.nextFree));
    m_messages.show(messageText(MessageId::UnitNumberTaken, languageOf(m_edit))
                        .arg(typed)
                        .arg(numbers.takenBy)
                        .arg(numbers.nextFree),
                    messageText(MessageId::TitleMaintenance, languageOf(m_edit)),
                    MessageSink::Icon::None);
}

bool NewUnit::prepare()
{
    Session &s = m_edit.session;
    if (s.modo == 1) return false;
    // The read asked for would run on the engine's next tick and replace the
    // proposal; "Novo" waits for it (the read gives the button back).
    if (s.ler_pedido) {
        m_messages.show(messageText(MessageId::ReadPending, languageOf(m_edit)),
                        messageText(MessageId::TitleMaintenance, languageOf(m_edit)),
                        MessageSink::Icon::None);
        return false;
    }

    // Rows that waited on this PC go in first: the proposal counts them.
    addWaitingRows();
    // Everything the proposal needs is read first: a file that cannot be
    // read leaves the window, the flags and the engine as they were.
    LastLogRow last;
    if (!readLastLogRow(&last)) return false;
    QString error;
    QStringList fields;
    for (FieldId id : kFillOrder)
        if (fieldRow(id).fill == NewUnitFill::Default)
            fields << toQString(fieldRow(id).defaultsColumn);
    QVariantMap defaults;
    if (!m_databases.readSettings(fields, &defaults, &error)) {
        showFileError(m_messages, m_databases.settingsFile(), error, languageOf(m_edit));
        return false;
    }

    // The unit on the line, before the proposal replaces what was read: a
    // new unit cut off on this timer earlier is found by it.
    const QString code = m_edit.text(kMakerCodeControl);
    const QString number = logForm(m_edit.text(kMakerNumberControl));
    const QString serial = logForm(m_edit.text(fieldName(FieldId::ApplicationSerial)));
    const bool known = code.size() == kCodeLength && !number.isEmpty() && !serial.isEmpty();
    m_forUnit = known ? code + number : QString();
    m_forSerial = known ? serial : QString();

    // A unit accepted earlier whose values never all reached the timer is
    // not logged: this one takes its place, and finishes it when it is the
    // same timer.
    abandon();
    m_unit.reset();
    m_unwritten.clear();
    m_readAfterUnit = false;

    m_engine.stop();
    s.escrever_pedido = false;
    s.modo = 1;

    m_seq_semana = static_cast<uint8_t>(std::clamp(last.NAct, 0, 255));
    m_n_unidades = last.NMec;
    m_semana_reg = static_cast<uint8_t>(std::clamp(last.SAct, 0, 53));

    const QDateTime now = m_clock.now();
    const QDate today = now.date();
    const int week = semana_do_ano(today.day(), today.month(), today.year());
    // Week numbers start again every year, so the year of the last row must
    // match too; an old row without a date can only be judged by its week.
    const bool sameWeek =
        week == m_semana_reg && (!last.Data.isValid() || last.Data.year() == today.year());
    if (!sameWeek) m_seq_semana = 0;

    const bool changed = m_edit.alteracao_pendente;
    m_edit.setText(kMakerNumberControl, QString::number(m_seq_semana + 1));
    m_edit.setText(kMakerCodeControl, yearWeekCode(today.year(), week));

    for (FieldId id : kFillOrder) {
        const Field &f = fieldRow(id);
        QString text;
        switch (f.fill) {
        case NewUnitFill::Default:
            text = defaults.value(toQString(f.defaultsColumn)).toString();
            break;
        case NewUnitFill::Date: // the device's form, whatever the regional settings say
            text = today.toString(QStringLiteral("dd-MM-yyyy"));
            break;
        case NewUnitFill::Time:
            text = now.time().toString(QStringLiteral("HH:mm"));
            break;
        case NewUnitFill::Dash:
        case NewUnitFill::Blank:
        case NewUnitFill::None:
            text = QStringLiteral("-");
            break;
        }
        m_edit.setText(toQString(f.name), text);
    }
    // What a new unit has none of yet.
    for (const Field &f : kFields) {
        if (f.fill != NewUnitFill::Blank) continue;
        if (f.form == TextForm::Flag)
            m_edit.setChecked(toQString(f.name), false);
        else
            m_edit.setText(toQString(f.name), QStringLiteral("-"));
    }
    // Unticking the boxes counts as clicks; nothing of the proposal is to be
    // written before "Aceitar", which marks everything itself. A clock set or
    // an erase that was already pending stays pending.
    m_edit.lowerAll();
    m_edit.alteracao_pendente = changed;

    m_edit.setEnabled(QStringLiteral("Command_ler"), false);
    m_edit.setText(QStringLiteral("Command_novo"), QStringLiteral("Aceitar"));
    m_edit.setText(QStringLiteral("Command_sair"), QStringLiteral("Cancelar"));
    m_edit.setEnabled(QStringLiteral("Command_testar"), false);
    m_edit.setEnabled(QStringLiteral("Command_imprimir"), false);
    m_edit.setEnabled(kMakerCodeControl, true);
    m_edit.setEnabled(kMakerNumberControl, true);

    s.sessao_activa = true;
    m_edit.gotFocus(kMakerCodeControl);
    emit focusRequested(kMakerCodeControl);
    return true;
}

bool NewUnit::accept()
{
    Session &s = m_edit.session;
    if (s.modo != 1) return false;

    // The running number is one byte in the device and in the log, and the
    // code must be one the write pass can send.
    const QString code = m_edit.text(kMakerCodeControl);
    const auto n = integer(m_edit.text(kMakerNumberControl));
    if (!n || *n < 0 || *n > 255 || !isValid(TextForm::Code, code)) {
        m_messages.show(messageText(MessageId::ValueInvalid, languageOf(m_edit)),
                        messageText(MessageId::TitleMaintenance, languageOf(m_edit)),
                        MessageSink::Icon::None);
        return false;
    }

    // The numbers come from the records before anything is written to the
    // timer: a unit in the timer that the log cannot take is the worse outcome.
    UnitNumbers numbers;
    if (!allocateNumbers(code, static_cast<int>(*n), &numbers)) return false;
    // Another bench may have taken the proposed number meanwhile: the timer
    // gets the one the records gave.
    if (numbers.moved) m_edit.setText(kMakerNumberControl, numbers.row.NFab.mid(code.size()));
    if (numbers.resumed) sayResumed(numbers);

    s.modo = 2;
    m_edit.setEnabled(QStringLiteral("Command_ler"), false);
    m_edit.setEnabled(QStringLiteral("Command_testar"), false);
    m_edit.setEnabled(QStringLiteral("Command_novo"), false);

    QStringList all;
    for (const Field &c : kFields)
        if (c.id != FieldId::ApplicationSerial) all << toQString(c.name);
    m_edit.mark(all, ChangeKind::NewUnit);
    // The row waits for the timer to take every one of these values.
    m_unit = numbers;
    m_lastNumbers = numbers;
    m_unwritten = QSet<QString>(all.begin(), all.end());
    // A read requested meanwhile (the end of an erase that was under way at
    // "Novo") would run before the write pass and replace the unit's values;
    // it runs once they are in the timer.
    m_readAfterUnit = s.ler_pedido;
    s.ler_pedido = false;

    m_edit.setText(QStringLiteral("Command_sair"), QStringLiteral("Fechar"));
    m_edit.setText(QStringLiteral("Command_novo"), QStringLiteral("&Novo"));
    m_edit.setEnabled(QStringLiteral("command_copy1"), true);
    m_edit.setEnabled(kMakerCodeControl, false);
    m_edit.setEnabled(kMakerNumberControl, false);

    startEngineIfStopped();
    s.escrever_pedido = true;
    s.banner_esc = true;
    return true;
}

bool NewUnit::abandon()
{
    if (!m_unit) return false;
    QString error;
    return m_records.release(*m_unit, &error);
}

void NewUnit::sayResumed(const UnitNumbers &numbers)
{
    // The same unit again: its manufacturing number as it was given, which
    // may be of an earlier week.
    m_edit.setText(kMakerCodeControl, numbers.row.NFab.left(kCodeLength));
    m_edit.setText(kMakerNumberControl, numbers.row.NFab.mid(kCodeLength));
    const int idioma = languageOf(m_edit);
    m_messages.show(text("resumed", idioma)
                        .arg(numbers.row.NFab)
                        .arg(numbers.row.NMec)
                        .arg(numbers.row.Data.toString(QStringLiteral("yyyy-MM-dd"))),
                    messageText(MessageId::TitleMaintenance, idioma), MessageSink::Icon::None);
}

bool NewUnit::cancel()
{
    Session &s = m_edit.session;
    if (s.modo != 1) return false;
    s.modo = 2;
    m_edit.setText(QStringLiteral("Command_sair"), QStringLiteral("Fechar"));
    m_edit.setText(QStringLiteral("Command_novo"), QStringLiteral("Novo"));
    m_edit.setEnabled(QStringLiteral("Command_ler"), true);
    m_edit.setEnabled(QStringLiteral("Command_testar"), true);
    m_edit.setEnabled(kMakerCodeControl, false);
    m_edit.setEnabled(kMakerNumberControl, false);
    s.ler_pedido = true;
    startEngineIfStopped();
    return true;
}

} // namespace vx
