#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vx {

// How a value is held as text in the window and as bytes in the device.
enum class Forma : uint8_t
{
    Moeda2,    // money, 2 bytes of cents (tariffs): "12,50"
    Moeda3,    // money, 3 bytes of cents (takings)
    Contagem1, // count, 1 byte
    Contagem2, // count, 2 bytes
    Contagem3, // count, 3 bytes
    Potencia,  // power-down count, 2 bytes; a negative text is written as 0
    Flag,      // tick box, 1 byte 0/1
    Data,      // dd-mm-yyyy or "-", 3 bytes day, month, year-2000
    Hora,      // hh:mm or "-", 2 bytes hour, minute
    Codigo,    // manufacturing code "A0715": week, year, letter code
    Serie,     // 12 hex digits or "-", 6 bytes
};

enum class VerificacaoEnter : uint8_t
{
    Nenhuma,
    Tarifa,
    Fracao
};

struct Campo
{
    std::string_view nome;
    uint8_t endereco;
    uint8_t bytes;
    Forma forma;
    uint8_t limite; // typing limit, 0 = none
    VerificacaoEnter enter;
    bool numerico; // numeric check on every change
};

// The writable values, in the order the write pass sends them.
inline constexpr std::array<Campo, 33> kCampos{{
    {"Text_pwdtarifas", 0, 2, Forma::Contagem2, 4, VerificacaoEnter::Nenhuma, true},
    {"Text_pwdrelogio", 2, 2, Forma::Contagem2, 0, VerificacaoEnter::Nenhuma, true},
    {"Text_S00", 4, 2, Forma::Moeda2, 6, VerificacaoEnter::Tarifa, true},
    {"Text_S08", 6, 2, Forma::Moeda2, 6, VerificacaoEnter::Tarifa, true},
    {"Text_S12", 8, 2, Forma::Moeda2, 6, VerificacaoEnter::Tarifa, true},
    {"Text_S15", 10, 2, Forma::Moeda2, 6, VerificacaoEnter::Tarifa, true},
    {"Text_S20", 12, 2, Forma::Moeda2, 6, VerificacaoEnter::Tarifa, true},
    {"Text_F00", 14, 2, Forma::Moeda2, 6, VerificacaoEnter::Tarifa, true},
    {"Text_F08", 16, 2, Forma::Moeda2, 6, VerificacaoEnter::Tarifa, true},
    {"Text_F12", 18, 2, Forma::Moeda2, 6, VerificacaoEnter::Tarifa, true},
    {"Text_F15", 20, 2, Forma::Moeda2, 6, VerificacaoEnter::Tarifa, true},
    {"Text_F20", 22, 2, Forma::Moeda2, 6, VerificacaoEnter::Tarifa, true},
    {"Check_ibut", 24, 1, Forma::Flag, 0, VerificacaoEnter::Nenhuma, false},
    {"Check_contador", 25, 1, Forma::Flag, 0, VerificacaoEnter::Nenhuma, false},
    {"Text_act_data", 26, 3, Forma::Data, 0, VerificacaoEnter::Nenhuma, false},
    {"Text_act_hora", 29, 2, Forma::Hora, 0, VerificacaoEnter::Nenhuma, false},
    {"Text_fracao", 31, 1, Forma::Contagem1, 2, VerificacaoEnter::Fracao, true},
    {"Text_acumulado", 32, 3, Forma::Moeda3, 0, VerificacaoEnter::Nenhuma, true},
    {"Text_a_pagar", 37, 3, Forma::Moeda3, 0, VerificacaoEnter::Nenhuma, false},
    {"Text_parcial", 40, 3, Forma::Moeda3, 0, VerificacaoEnter::Nenhuma, true},
    {"Text_numfab_num", 43, 1, Forma::Contagem1, 3, VerificacaoEnter::Nenhuma, false},
    {"text_numfab_ano", 44, 3, Forma::Codigo, 5, VerificacaoEnter::Nenhuma, false},
    {"Text_ibut", 47, 6, Forma::Serie, 12, VerificacaoEnter::Nenhuma, false},
    {"Text_contador", 53, 2, Forma::Contagem2, 5, VerificacaoEnter::Nenhuma, true},
    {"Text_total00", 55, 3, Forma::Moeda3, 0, VerificacaoEnter::Nenhuma, true},
    {"Text_total08", 58, 3, Forma::Moeda3, 0, VerificacaoEnter::Nenhuma, true},
    {"Text_total12", 61, 3, Forma::Moeda3, 0, VerificacaoEnter::Nenhuma, true},
    {"Text_total15", 64, 3, Forma::Moeda3, 0, VerificacaoEnter::Nenhuma, true},
    {"Text_total20", 67, 3, Forma::Moeda3, 0, VerificacaoEnter::Nenhuma, true},
    {"Text_power", 70, 2, Forma::Potencia, 5, VerificacaoEnter::Nenhuma, true},
    {"Text_aberturas", 72, 2, Forma::Contagem2, 5, VerificacaoEnter::Nenhuma, true},
    {"Text_prog", 74, 1, Forma::Contagem1, 5, VerificacaoEnter::Nenhuma, true},
    {"Text_sn_apl", 96, 3, Forma::Contagem3, 5, VerificacaoEnter::Nenhuma, true},
}};

// Text fields of the window that the program fills but never writes back.
struct CampoVisor
{
    std::string_view nome;
    uint8_t limite;
    bool numerico;
};
inline constexpr std::array<CampoVisor, 5> kCamposVisor{{
    {"Text_master_ibut", 0, false},
    {"Text_rtc_data", 0, false},
    {"Text_rtc_hora", 0, false},
    {"Text_ibutsn", 12, false},
    {"Text_impulsos", 5, true},
}};

// Index into kCampos, or -1.
int indiceCampo(std::string_view nome);

} // namespace vx
