#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vx {

// What kind of widget a control of the main window is.
enum class Tipo : uint8_t
{
    Painel,      // light-blue section panel with a white border
    Cabecalho,   // section heading on a small rounded panel
    Grupo,       // group box
    Rotulo,      // field label
    Texto,       // single-line text box
    Marca,       // tick box
    Botao,       // push button
    Imagem,      // the picture Image1
    Circulo,     // round indicator
    Arredondado, // small rounded-rectangle indicator
    Gaveta,      // the rectangle that holds the four round indicators
    Barra,       // battery bar
};

// Background colours of the window's parts.
enum class Cor : uint8_t
{
    Nenhuma,
    Amarelo,  // field labels and tick boxes (255, 255, 192)
    Laranja,  // band labels 00-08h, 12-15h, 20-24h (255, 192, 128)
    Pessego,  // band labels 08-12h, 15-20h (255, 224, 192)
    Vermelho, // the last-maintenance box (255, 128, 128)
};

// One control at the design size (1024 x 768). `pai` is the group box or the
// drawer it sits in, empty for the window; positions are relative to it.
// Panels come first so that everything else is drawn above them.
struct Lugar
{
    std::string_view nome;
    std::string_view pai;
    Tipo tipo;
    Cor cor;
    int x, y, w, h;
    bool oculto = false;
};

inline constexpr std::array<Lugar, 106> kDisposicao{{
    // Sections.
    {"Painel_tarifas", {}, Tipo::Painel, Cor::Nenhuma, 8, 8, 620, 232},
    {"Painel_totais", {}, Tipo::Painel, Cor::Nenhuma, 8, 248, 860, 92},
    {"Painel_configuracao", {}, Tipo::Painel, Cor::Nenhuma, 8, 348, 860, 218},
    {"Painel_testes", {}, Tipo::Painel, Cor::Nenhuma, 8, 574, 1008, 116},
    {"Label1", {}, Tipo::Cabecalho, Cor::Nenhuma, 20, 14, 150, 24},
    {"Label2", {}, Tipo::Cabecalho, Cor::Nenhuma, 20, 254, 150, 24},
    {"Label6", {}, Tipo::Cabecalho, Cor::Nenhuma, 20, 354, 150, 24},
    {"Label5", {}, Tipo::Cabecalho, Cor::Nenhuma, 20, 580, 170, 24},

    // Tariffs.
    {"Frame_semana", {}, Tipo::Grupo, Cor::Nenhuma, 20, 44, 596, 88},
    {"Label_S00", "Frame_semana", Tipo::Rotulo, Cor::Laranja, 12, 26, 104, 20},
    {"Label_S08", "Frame_semana", Tipo::Rotulo, Cor::Pessego, 128, 26, 104, 20},
    {"Label_S12", "Frame_semana", Tipo::Rotulo, Cor::Laranja, 244, 26, 104, 20},
    {"Label_S15", "Frame_semana", Tipo::Rotulo, Cor::Pessego, 360, 26, 104, 20},
    {"Label_S20", "Frame_semana", Tipo::Rotulo, Cor::Laranja, 476, 26, 104, 20},
    {"Text_S00", "Frame_semana", Tipo::Texto, Cor::Nenhuma, 12, 50, 104, 26},
    {"Text_S08", "Frame_semana", Tipo::Texto, Cor::Nenhuma, 128, 50, 104, 26},
    {"Text_S12", "Frame_semana", Tipo::Texto, Cor::Nenhuma, 244, 50, 104, 26},
    {"Text_S15", "Frame_semana", Tipo::Texto, Cor::Nenhuma, 360, 50, 104, 26},
    {"Text_S20", "Frame_semana", Tipo::Texto, Cor::Nenhuma, 476, 50, 104, 26},
    {"Frame_Fimdesemana", {}, Tipo::Grupo, Cor::Nenhuma, 20, 140, 596, 88},
    {"Label_F00", "Frame_Fimdesemana", Tipo::Rotulo, Cor::Laranja, 12, 26, 104, 20},
    {"Label_F08", "Frame_Fimdesemana", Tipo::Rotulo, Cor::Pessego, 128, 26, 104, 20},
    {"Label_F12", "Frame_Fimdesemana", Tipo::Rotulo, Cor::Laranja, 244, 26, 104, 20},
    {"Label_F15", "Frame_Fimdesemana", Tipo::Rotulo, Cor::Pessego, 360, 26, 104, 20},
    {"Label_F20", "Frame_Fimdesemana", Tipo::Rotulo, Cor::Laranja, 476, 26, 104, 20},
    {"Text_F00", "Frame_Fimdesemana", Tipo::Texto, Cor::Nenhuma, 12, 50, 104, 26},
    {"Text_F08", "Frame_Fimdesemana", Tipo::Texto, Cor::Nenhuma, 128, 50, 104, 26},
    {"Text_F12", "Frame_Fimdesemana", Tipo::Texto, Cor::Nenhuma, 244, 50, 104, 26},
    {"Text_F15", "Frame_Fimdesemana", Tipo::Texto, Cor::Nenhuma, 360, 50, 104, 26},
    {"Text_F20", "Frame_Fimdesemana", Tipo::Texto, Cor::Nenhuma, 476, 50, 104, 26},

    {"Image1", {}, Tipo::Imagem, Cor::Nenhuma, 637, 8, 379, 130},

    // Sub-totals.
    {"Label_total00", {}, Tipo::Rotulo, Cor::Amarelo, 20, 284, 108, 20},
    {"Label_total08", {}, Tipo::Rotulo, Cor::Amarelo, 138, 284, 108, 20},
    {"Label_total12", {}, Tipo::Rotulo, Cor::Amarelo, 256, 284, 108, 20},
    {"Label_total15", {}, Tipo::Rotulo, Cor::Amarelo, 374, 284, 108, 20},
    {"Label_total20", {}, Tipo::Rotulo, Cor::Amarelo, 492, 284, 108, 20},
    {"Label_a_pagar", {}, Tipo::Rotulo, Cor::Amarelo, 610, 284, 108, 20},
    {"Label_parcial", {}, Tipo::Rotulo, Cor::Amarelo, 728, 284, 108, 20},
    {"Text_total00", {}, Tipo::Texto, Cor::Nenhuma, 20, 306, 108, 24},
    {"Text_total08", {}, Tipo::Texto, Cor::Nenhuma, 138, 306, 108, 24},
    {"Text_total12", {}, Tipo::Texto, Cor::Nenhuma, 256, 306, 108, 24},
    {"Text_total15", {}, Tipo::Texto, Cor::Nenhuma, 374, 306, 108, 24},
    {"Text_total20", {}, Tipo::Texto, Cor::Nenhuma, 492, 306, 108, 24},
    {"Text_a_pagar", {}, Tipo::Texto, Cor::Nenhuma, 610, 306, 108, 24},
    {"Text_parcial", {}, Tipo::Texto, Cor::Nenhuma, 728, 306, 108, 24},
    {"Label_acumulado", {}, Tipo::Rotulo, Cor::Amarelo, 728, 254, 108, 20, true},
    {"Text_acumulado", {}, Tipo::Texto, Cor::Nenhuma, 610, 254, 108, 24, true},

    // Buttons at the right edge.
    {"Command_ler", {}, Tipo::Botao, Cor::Nenhuma, 876, 150, 140, 52},
    {"Command_testar", {}, Tipo::Botao, Cor::Nenhuma, 876, 212, 140, 52},
    {"Command_imprimir", {}, Tipo::Botao, Cor::Nenhuma, 876, 274, 140, 52},
    {"Command_sair", {}, Tipo::Botao, Cor::Nenhuma, 876, 336, 140, 52},
    {"Command_novo", {}, Tipo::Botao, Cor::Nenhuma, 876, 420, 140, 40, true},
    {"Label3", {}, Tipo::Rotulo, Cor::Amarelo, 876, 470, 140, 20, true},
    {"command_copy1", {}, Tipo::Botao, Cor::Nenhuma, 876, 494, 140, 34, true},
    {"command_paste1", {}, Tipo::Botao, Cor::Nenhuma, 876, 532, 140, 34, true},

    // Configuration, row 1.
    {"Label_numfab", {}, Tipo::Rotulo, Cor::Amarelo, 20, 384, 150, 20},
    {"text_numfab_ano", {}, Tipo::Texto, Cor::Nenhuma, 20, 406, 88, 24},
    {"Text_numfab_num", {}, Tipo::Texto, Cor::Nenhuma, 112, 406, 58, 24},
    {"Label_sn_apl", {}, Tipo::Rotulo, Cor::Amarelo, 180, 384, 130, 20},
    {"Text_sn_apl", {}, Tipo::Texto, Cor::Nenhuma, 180, 406, 130, 24},
    {"Label_power", {}, Tipo::Rotulo, Cor::Amarelo, 320, 384, 100, 20},
    {"Text_power", {}, Tipo::Texto, Cor::Nenhuma, 320, 406, 100, 24},
    {"Label_fracao", {}, Tipo::Rotulo, Cor::Amarelo, 430, 384, 100, 20},
    {"Text_fracao", {}, Tipo::Texto, Cor::Nenhuma, 430, 406, 100, 24},
    {"Label_rtc_data", {}, Tipo::Rotulo, Cor::Amarelo, 540, 384, 100, 20},
    {"Text_rtc_data", {}, Tipo::Texto, Cor::Nenhuma, 540, 406, 100, 24},
    // Row 2.
    {"Check_ibut", {}, Tipo::Marca, Cor::Amarelo, 20, 440, 150, 20},
    {"Text_ibut", {}, Tipo::Texto, Cor::Nenhuma, 20, 462, 150, 24},
    {"Check_contador", {}, Tipo::Marca, Cor::Amarelo, 180, 440, 130, 20},
    {"Text_contador", {}, Tipo::Texto, Cor::Nenhuma, 180, 462, 130, 24},
    {"Label_aberturas", {}, Tipo::Rotulo, Cor::Amarelo, 320, 440, 100, 20},
    {"Text_aberturas", {}, Tipo::Texto, Cor::Nenhuma, 320, 462, 100, 24},
    {"Label_prog", {}, Tipo::Rotulo, Cor::Amarelo, 430, 440, 100, 20},
    {"Text_prog", {}, Tipo::Texto, Cor::Nenhuma, 430, 462, 100, 24},
    {"Label_rtc_hora", {}, Tipo::Rotulo, Cor::Amarelo, 540, 440, 100, 20},
    {"Text_rtc_hora", {}, Tipo::Texto, Cor::Nenhuma, 540, 462, 100, 24},
    // Row 3.
    {"Label_master_ibut", {}, Tipo::Rotulo, Cor::Amarelo, 20, 496, 290, 20},
    {"Text_master_ibut", {}, Tipo::Texto, Cor::Vermelho, 20, 518, 290, 24},
    {"Label_baterias", {}, Tipo::Rotulo, Cor::Amarelo, 320, 496, 146, 20},
    {"Label_percentagem", {}, Tipo::Rotulo, Cor::Amarelo, 470, 496, 60, 20},
    {"ProgressBar_baterias", {}, Tipo::Barra, Cor::Nenhuma, 320, 518, 210, 24},
    {"Command_clear", {}, Tipo::Botao, Cor::Nenhuma, 540, 514, 100, 32},
    // Beside the rows.
    {"Frame_actualizacao", {}, Tipo::Grupo, Cor::Nenhuma, 652, 378, 208, 82},
    {"Label_act_data", "Frame_actualizacao", Tipo::Rotulo, Cor::Amarelo, 10, 26, 90, 18},
    {"Text_act_data", "Frame_actualizacao", Tipo::Texto, Cor::Nenhuma, 10, 48, 90, 24},
    {"Label_act_hora", "Frame_actualizacao", Tipo::Rotulo, Cor::Amarelo, 108, 26, 90, 18},
    {"Text_act_hora", "Frame_actualizacao", Tipo::Texto, Cor::Nenhuma, 108, 48, 90, 24},
    {"Frame1", {}, Tipo::Grupo, Cor::Nenhuma, 652, 468, 208, 82},
    {"Label_pwdrelogio", "Frame1", Tipo::Rotulo, Cor::Amarelo, 10, 26, 90, 18},
    {"Text_pwdrelogio", "Frame1", Tipo::Texto, Cor::Nenhuma, 10, 48, 90, 24},
    {"Label_pwdtarifas", "Frame1", Tipo::Rotulo, Cor::Amarelo, 108, 26, 90, 18},
    {"Text_pwdtarifas", "Frame1", Tipo::Texto, Cor::Nenhuma, 108, 48, 90, 24},

    // Hardware tests.
    {"Label4", {}, Tipo::Rotulo, Cor::Amarelo, 20, 612, 150, 20},
    {"Text_ibutsn", {}, Tipo::Texto, Cor::Nenhuma, 20, 634, 150, 24},
    {"Shape_memoria", {}, Tipo::Arredondado, Cor::Nenhuma, 186, 612, 44, 13},
    {"Shape_incremento", {}, Tipo::Arredondado, Cor::Nenhuma, 186, 629, 44, 13},
    {"Shape_cursor", {}, Tipo::Arredondado, Cor::Nenhuma, 186, 646, 44, 13},
    {"Shape_gaveta", {}, Tipo::Gaveta, Cor::Nenhuma, 240, 608, 160, 54},
    {"Shape_bola0", "Shape_gaveta", Tipo::Circulo, Cor::Nenhuma, 12, 12, 30, 30},
    {"Shape_bola1", "Shape_gaveta", Tipo::Circulo, Cor::Nenhuma, 48, 12, 30, 30},
    {"Shape_bola2", "Shape_gaveta", Tipo::Circulo, Cor::Nenhuma, 84, 12, 30, 30},
    {"Shape_bola3", "Shape_gaveta", Tipo::Circulo, Cor::Nenhuma, 120, 12, 30, 30},
    {"Command_teste_disp", {}, Tipo::Botao, Cor::Nenhuma, 424, 614, 140, 40},
    {"Label_impulsos", {}, Tipo::Rotulo, Cor::Amarelo, 590, 612, 150, 20},
    {"Text_impulsos", {}, Tipo::Texto, Cor::Nenhuma, 590, 634, 150, 24},
    {"Command_enviar", {}, Tipo::Botao, Cor::Nenhuma, 750, 620, 110, 36},
}};

// Every row filled in: a short table would leave nameless controls behind.
constexpr bool disposicaoCompleta()
{
    for (const Lugar &l : kDisposicao)
        if (l.nome.empty() || l.w <= 0 || l.h <= 0) return false;
    return true;
}
static_assert(disposicaoCompleta());

} // namespace vx
