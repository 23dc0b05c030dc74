#pragma once

#include "databases.h"
#include "unitrecords.h"

#include <QDate>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace vx {

class Clock;
class EditSet;
class EngineControl;
class MessageSink;

// "Novo": setting up a new unit on the main window's own buttons.
//
// The first click on Command_novo (prepare) proposes a manufacturing number
// (letter, year, week, running number within the week) and fills the window
// with the stored defaults; the same button, now "Aceitar" (accept), logs the
// unit and hands every value to the engine's write pass; Command_sair, now
// "Cancelar" (cancel), gives up and has the device read again.
//
// Whatever the store cannot do, nothing moves: the files are read before the
// window, the flags or the engine are touched, so a failure leaves the tool
// exactly where it was, with a message naming the file.
//
// "Aceitar" gives the unit its numbers from the records, which several
// benches may share: the log number and the manufacturing number are
// allocated there at once and held for this unit, so that no other bench
// gets them; without the records no unit is accepted (a number is never
// guessed). The unit is logged only once the timer holds it: its row is
// appended when the device has accepted the write of every value the
// acceptance marked. A value the write pass refuses keeps the unit
// waiting until the technician corrects it and confirms it with Enter; a
// program that ends first logs nothing, and its numbers stay held for the
// timer: "Novo" on the same timer later finishes the same unit with them.
//
// Once the timer holds the unit its row is never lost: it is first kept on
// the PC (RecordsOutbox, in the data folder), then added to the records; when
// the records cannot take it then, it waits there and is added later (at the
// next start, after the next new unit, by vx308ctl), once.
class NewUnit : public QObject
{
    Q_OBJECT
public:
    NewUnit(EditSet &edit, EngineControl &engine, Databases &databases, UnitRecords &records,
            MessageSink &messages, const Clock &clock, QObject *parent = nullptr);

    // Command_novo while modo != 1. False when nothing changed (store
    // failure, or a read still pending that would replace the proposal).
    bool prepare();
    // Command_novo while modo == 1. False when refused or the log cannot be
    // used; the technician stays in entry with every value as typed. A read
    // requested meanwhile waits until the unit has been written, so that it
    // shows what the timer then holds instead of replacing the proposal.
    bool accept();
    // Command_sair while modo == 1. False (and nothing done) in any other mode.
    bool cancel();

    // The proposal's base, refreshed from the log at every prepare().
    uint8_t seq_semana() const { return m_seq_semana; }
    qint64 n_unidades() const { return m_n_unidades; }
    uint8_t semana_reg() const { return m_semana_reg; }

    // An accepted unit whose values the timer has not all accepted yet.
    bool unitPending() const { return m_unit.has_value(); }
    // Fields of that unit still to be written, and those the timer has
    // accepted, in the order of the device's table.
    QStringList unwrittenFields() const;
    QStringList writtenFields() const;
    // This program gives up on the unit being written (a time-out, a new
    // "Novo"): its numbers are left for the same timer, whose next new unit
    // is then this one, finished. False when there is none or the records
    // cannot be told (the numbers are then a gap).
    bool abandon();
    // The numbers of the unit accepted last (pending, logged or waiting).
    const UnitNumbers &lastNumbers() const { return m_lastNumbers; }

    // Adds the rows that wait on this PC for the records; true when none
    // waits any more. Says nothing: *added and *waiting tell what happened.
    bool addWaitingRows(int *added = nullptr, int *waiting = nullptr);

    static QString msgReadPending();

signals:
    // The view moves the keyboard focus to this field.
    void focusRequested(const QString &field);
    // The timer holds the accepted unit and its row is in the log, with
    // these numbers.
    void unitLogged(const QString &NFab, qint64 NMec);
    // The timer holds the accepted unit, and the records could not take its
    // row: it waits on this PC with `waiting` rows in all.
    void unitWaiting(const QString &NFab, qint64 NMec, int waiting);

private:
    void startEngineIfStopped();
    // The log's last row; false, with the file named to the technician, when
    // the log cannot be read.
    bool readLastLogRow(LastLogRow *last);
    // The numbers of the unit being accepted, from the records; false, with
    // the reason shown, when the records cannot give them.
    bool allocateNumbers(const QString &code, int number, UnitNumbers *numbers);
    void sayNumberTaken(const QString &typed, const UnitNumbers &numbers);
    void onValueWritten(const QString &field);
    // The unit's row kept on the PC, then added to the records; said when it
    // has to wait.
    void logUnit(const UnitNumbers &unit);
    void sayResumed(const UnitNumbers &numbers);

    EditSet &m_edit;
    EngineControl &m_engine;
    Databases &m_databases;
    UnitRecords &m_records;
    MessageSink &m_messages;
    const Clock &m_clock;

    uint8_t m_seq_semana = 0;
    qint64 m_n_unidades = 0;
    uint8_t m_semana_reg = 0;

    // The unit on the line when "Novo" was pressed, in the log's form.
    QString m_forUnit;
    QString m_forSerial;

    std::optional<UnitNumbers> m_unit;
    UnitNumbers m_lastNumbers;
    QSet<QString> m_unwritten;
    bool m_readAfterUnit = false;
};

} // namespace vx
