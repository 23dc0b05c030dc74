#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <cstdint>

namespace vx {

class Bases;
class Clock;
class EditSet;
class MessageSink;

// "Novo": setting up a new unit on the main window's own buttons.
//
// The first click on Command_novo (preparar) proposes a manufacturing number
// (letter, year, week, running number within the week) and fills the window
// with the stored defaults; the same button, now "Aceitar" (aceitar), logs the
// unit and hands every value to the engine's write pass; Command_sair, now
// "Cancelar" (cancelar), gives up and has the device read again.
//
// Whatever the store cannot do, nothing moves: the files are read and written
// before the window, the flags or the engine are touched, so a failure leaves
// the tool exactly where it was, with a message naming the file.
class NovaUnidade : public QObject
{
    Q_OBJECT
public:
    NovaUnidade(EditSet &edit, Bases &bases, MessageSink &messages, const Clock &clock,
                QObject *parent = nullptr);

    // Command_novo while modo != 1. False when nothing changed (store failure).
    bool preparar();
    // Command_novo while modo == 1. False when refused or the log could not
    // be written; the technician stays in entry with every value as typed.
    bool aceitar();
    // Command_sair while modo == 1. False (and nothing done) in any other mode.
    bool cancelar();

    // The proposal's base, refreshed from the log at every preparar().
    uint8_t seq_semana() const { return m_seq_semana; }
    int n_unidades() const { return m_n_unidades; }
    uint8_t semana_reg() const { return m_semana_reg; }

signals:
    // The view moves the keyboard focus to this field.
    void focoPedido(const QString &campo);

private:
    void iniciarMotorSeParado();

    EditSet &m_edit;
    Bases &m_bases;
    MessageSink &m_messages;
    const Clock &m_clock;

    uint8_t m_seq_semana = 0;
    int m_n_unidades = 0;
    uint8_t m_semana_reg = 0;
};

} // namespace vx
