#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vx {

// What kind of widget a control of the main window is.
enum class WidgetKind : uint8_t
{
    Panel,   // light-blue section panel with a white border
    Heading, // section heading on a small rounded panel
    Group,   // group box
    Label,   // field label
    Text,    // single-line text box
    TickBox, // tick box
    Button,  // push button
    Picture, // the picture Image1
    Circle,  // round indicator
    Rounded, // small rounded-rectangle indicator
    Drawer,  // the rectangle that holds the four round indicators
    Bar,     // battery bar
};

// Background colours of the window's parts.
enum class Color : uint8_t
{
    None,
    Yellow, // field labels and tick boxes (255, 255, 192)
    Orange, // band labels 00-08h, 12-15h, 20-24h (255, 192, 128)
    Peach,  // band labels 08-12h, 15-20h (255, 224, 192)
    Red,    // the last-maintenance box (255, 128, 128)
};

// One control at the design size (1024 x 768). `parent` is the group box or the
// drawer it sits in, empty for the window; positions are relative to it.
// Panels come first so that everything else is drawn above them.
struct Placement
{
    std::string_view name;
    std::string_view parent;
    WidgetKind kind;
    Color color;
    int x, y, w, h;
    bool hidden = false;
};

inline constexpr std::array<Placement, 106> kWindowLayout{{
    // Sections.
    {"Painel_tarifas", {}, WidgetKind::Panel, Color::None, 8, 8, 620, 232},
    {"Painel_totais", {}, WidgetKind::Panel, Color::None, 8, 248, 860, 92},
    {"Painel_configuracao", {}, WidgetKind::Panel, Color::None, 8, 348, 860, 218},
    {"Painel_testes", {}, WidgetKind::Panel, Color::None, 8, 574, 1008, 116},
    {"Label1", {}, WidgetKind::Heading, Color::None, 20, 14, 150, 24},
    {"Label2", {}, WidgetKind::Heading, Color::None, 20, 254, 150, 24},
    {"Label6", {}, WidgetKind::Heading, Color::None, 20, 354, 150, 24},
    {"Label5", {}, WidgetKind::Heading, Color::None, 20, 580, 170, 24},

    // Tariffs.
    {"Frame_semana", {}, WidgetKind::Group, Color::None, 20, 44, 596, 88},
    {"Label_S00", "Frame_semana", WidgetKind::Label, Color::Orange, 12, 26, 104, 20},
    {"Label_S08", "Frame_semana", WidgetKind::Label, Color::Peach, 128, 26, 104, 20},
    {"Label_S12", "Frame_semana", WidgetKind::Label, Color::Orange, 244, 26, 104, 20},
    {"Label_S15", "Frame_semana", WidgetKind::Label, Color::Peach, 360, 26, 104, 20},
    {"Label_S20", "Frame_semana", WidgetKind::Label, Color::Orange, 476, 26, 104, 20},
    {"Text_S00", "Frame_semana", WidgetKind::Text, Color::None, 12, 50, 104, 26},
    {"Text_S08", "Frame_semana", WidgetKind::Text, Color::None, 128, 50, 104, 26},
    {"Text_S12", "Frame_semana", WidgetKind::Text, Color::None, 244, 50, 104, 26},
    {"Text_S15", "Frame_semana", WidgetKind::Text, Color::None, 360, 50, 104, 26},
    {"Text_S20", "Frame_semana", WidgetKind::Text, Color::None, 476, 50, 104, 26},
    {"Frame_Fimdesemana", {}, WidgetKind::Group, Color::None, 20, 140, 596, 88},
    {"Label_F00", "Frame_Fimdesemana", WidgetKind::Label, Color::Orange, 12, 26, 104, 20},
    {"Label_F08", "Frame_Fimdesemana", WidgetKind::Label, Color::Peach, 128, 26, 104, 20},
    {"Label_F12", "Frame_Fimdesemana", WidgetKind::Label, Color::Orange, 244, 26, 104, 20},
    {"Label_F15", "Frame_Fimdesemana", WidgetKind::Label, Color::Peach, 360, 26, 104, 20},
    {"Label_F20", "Frame_Fimdesemana", WidgetKind::Label, Color::Orange, 476, 26, 104, 20},
    {"Text_F00", "Frame_Fimdesemana", WidgetKind::Text, Color::None, 12, 50, 104, 26},
    {"Text_F08", "Frame_Fimdesemana", WidgetKind::Text, Color::None, 128, 50, 104, 26},
    {"Text_F12", "Frame_Fimdesemana", WidgetKind::Text, Color::None, 244, 50, 104, 26},
    {"Text_F15", "Frame_Fimdesemana", WidgetKind::Text, Color::None, 360, 50, 104, 26},
    {"Text_F20", "Frame_Fimdesemana", WidgetKind::Text, Color::None, 476, 50, 104, 26},

    {"Image1", {}, WidgetKind::Picture, Color::None, 637, 8, 379, 130},

    // Sub-totals.
    {"Label_total00", {}, WidgetKind::Label, Color::Yellow, 20, 284, 108, 20},
    {"Label_total08", {}, WidgetKind::Label, Color::Yellow, 138, 284, 108, 20},
    {"Label_total12", {}, WidgetKind::Label, Color::Yellow, 256, 284, 108, 20},
    {"Label_total15", {}, WidgetKind::Label, Color::Yellow, 374, 284, 108, 20},
    {"Label_total20", {}, WidgetKind::Label, Color::Yellow, 492, 284, 108, 20},
    {"Label_a_pagar", {}, WidgetKind::Label, Color::Yellow, 610, 284, 108, 20},
    {"Label_parcial", {}, WidgetKind::Label, Color::Yellow, 728, 284, 108, 20},
    {"Text_total00", {}, WidgetKind::Text, Color::None, 20, 306, 108, 24},
    {"Text_total08", {}, WidgetKind::Text, Color::None, 138, 306, 108, 24},
    {"Text_total12", {}, WidgetKind::Text, Color::None, 256, 306, 108, 24},
    {"Text_total15", {}, WidgetKind::Text, Color::None, 374, 306, 108, 24},
    {"Text_total20", {}, WidgetKind::Text, Color::None, 492, 306, 108, 24},
    {"Text_a_pagar", {}, WidgetKind::Text, Color::None, 610, 306, 108, 24},
    {"Text_parcial", {}, WidgetKind::Text, Color::None, 728, 306, 108, 24},
    {"Label_acumulado", {}, WidgetKind::Label, Color::Yellow, 728, 254, 108, 20, true},
    {"Text_acumulado", {}, WidgetKind::Text, Color::None, 610, 254, 108, 24, true},

    // Buttons at the right edge.
    {"Command_ler", {}, WidgetKind::Button, Color::None, 876, 150, 140, 52},
    {"Command_testar", {}, WidgetKind::Button, Color::None, 876, 212, 140, 52},
    {"Command_imprimir", {}, WidgetKind::Button, Color::None, 876, 274, 140, 52},
    {"Command_sair", {}, WidgetKind::Button, Color::None, 876, 336, 140, 52},
    {"Command_novo", {}, WidgetKind::Button, Color::None, 876, 420, 140, 40, true},
    {"Label3", {}, WidgetKind::Label, Color::Yellow, 876, 470, 140, 20, true},
    {"command_copy1", {}, WidgetKind::Button, Color::None, 876, 494, 140, 34, true},
    {"command_paste1", {}, WidgetKind::Button, Color::None, 876, 532, 140, 34, true},

    // Configuration, row 1.
    // Five columns; the first two are wide enough for the tick boxes'
    // captions ("iButton de Apagar", "Electromechanical") in the labels' font
    // on an 800-pixel screen.
    {"Label_numfab", {}, WidgetKind::Label, Color::Yellow, 20, 384, 158, 20},
    {"text_numfab_ano", {}, WidgetKind::Text, Color::None, 20, 406, 94, 24},
    {"Text_numfab_num", {}, WidgetKind::Text, Color::None, 118, 406, 60, 24},
    {"Label_sn_apl", {}, WidgetKind::Label, Color::Yellow, 182, 384, 160, 20},
    {"Text_sn_apl", {}, WidgetKind::Text, Color::None, 182, 406, 160, 24},
    {"Label_power", {}, WidgetKind::Label, Color::Yellow, 348, 384, 94, 20},
    {"Text_power", {}, WidgetKind::Text, Color::None, 348, 406, 94, 24},
    {"Label_fracao", {}, WidgetKind::Label, Color::Yellow, 450, 384, 90, 20},
    {"Text_fracao", {}, WidgetKind::Text, Color::None, 450, 406, 90, 24},
    {"Label_rtc_data", {}, WidgetKind::Label, Color::Yellow, 548, 384, 92, 20},
    {"Text_rtc_data", {}, WidgetKind::Text, Color::None, 548, 406, 92, 24},
    // Row 2.
    {"Check_ibut", {}, WidgetKind::TickBox, Color::Yellow, 20, 440, 158, 20},
    {"Text_ibut", {}, WidgetKind::Text, Color::None, 20, 462, 158, 24},
    {"Check_contador", {}, WidgetKind::TickBox, Color::Yellow, 182, 440, 160, 20},
    {"Text_contador", {}, WidgetKind::Text, Color::None, 182, 462, 160, 24},
    {"Label_aberturas", {}, WidgetKind::Label, Color::Yellow, 348, 440, 94, 20},
    {"Text_aberturas", {}, WidgetKind::Text, Color::None, 348, 462, 94, 24},
    {"Label_prog", {}, WidgetKind::Label, Color::Yellow, 450, 440, 90, 20},
    {"Text_prog", {}, WidgetKind::Text, Color::None, 450, 462, 90, 24},
    {"Label_rtc_hora", {}, WidgetKind::Label, Color::Yellow, 548, 440, 92, 20},
    {"Text_rtc_hora", {}, WidgetKind::Text, Color::None, 548, 462, 92, 24},
    // Row 3.
    {"Label_master_ibut", {}, WidgetKind::Label, Color::Yellow, 20, 496, 322, 20},
    {"Text_master_ibut", {}, WidgetKind::Text, Color::Red, 20, 518, 322, 24},
    {"Label_baterias", {}, WidgetKind::Label, Color::Yellow, 348, 496, 128, 20},
    {"Label_percentagem", {}, WidgetKind::Label, Color::Yellow, 480, 496, 60, 20},
    {"ProgressBar_baterias", {}, WidgetKind::Bar, Color::None, 348, 518, 192, 24},
    {"Command_clear", {}, WidgetKind::Button, Color::None, 548, 514, 92, 32},
    // Beside the rows.
    {"Frame_actualizacao", {}, WidgetKind::Group, Color::None, 652, 378, 208, 82},
    {"Label_act_data", "Frame_actualizacao", WidgetKind::Label, Color::Yellow, 10, 26, 90, 18},
    {"Text_act_data", "Frame_actualizacao", WidgetKind::Text, Color::None, 10, 48, 90, 24},
    {"Label_act_hora", "Frame_actualizacao", WidgetKind::Label, Color::Yellow, 108, 26, 90, 18},
    {"Text_act_hora", "Frame_actualizacao", WidgetKind::Text, Color::None, 108, 48, 90, 24},
    {"Frame1", {}, WidgetKind::Group, Color::None, 652, 468, 208, 82},
    {"Label_pwdrelogio", "Frame1", WidgetKind::Label, Color::Yellow, 10, 26, 90, 18},
    {"Text_pwdrelogio", "Frame1", WidgetKind::Text, Color::None, 10, 48, 90, 24},
    {"Label_pwdtarifas", "Frame1", WidgetKind::Label, Color::Yellow, 108, 26, 90, 18},
    {"Text_pwdtarifas", "Frame1", WidgetKind::Text, Color::None, 108, 48, 90, 24},

    // Hardware tests.
    {"Label4", {}, WidgetKind::Label, Color::Yellow, 20, 612, 150, 20},
    {"Text_ibutsn", {}, WidgetKind::Text, Color::None, 20, 634, 150, 24},
    {"Shape_memoria", {}, WidgetKind::Rounded, Color::None, 186, 612, 44, 13},
    {"Shape_incremento", {}, WidgetKind::Rounded, Color::None, 186, 629, 44, 13},
    {"Shape_cursor", {}, WidgetKind::Rounded, Color::None, 186, 646, 44, 13},
    {"Shape_gaveta", {}, WidgetKind::Drawer, Color::None, 240, 608, 160, 54},
    {"Shape_bola0", "Shape_gaveta", WidgetKind::Circle, Color::None, 12, 12, 30, 30},
    {"Shape_bola1", "Shape_gaveta", WidgetKind::Circle, Color::None, 48, 12, 30, 30},
    {"Shape_bola2", "Shape_gaveta", WidgetKind::Circle, Color::None, 84, 12, 30, 30},
    {"Shape_bola3", "Shape_gaveta", WidgetKind::Circle, Color::None, 120, 12, 30, 30},
    {"Command_teste_disp", {}, WidgetKind::Button, Color::None, 424, 614, 140, 40},
    {"Label_impulsos", {}, WidgetKind::Label, Color::Yellow, 590, 612, 150, 20},
    {"Text_impulsos", {}, WidgetKind::Text, Color::None, 590, 634, 150, 24},
    {"Command_enviar", {}, WidgetKind::Button, Color::None, 750, 620, 110, 36},
}};

// Every row filled in: a short table would leave nameless controls behind.
constexpr bool windowLayoutComplete()
{
    for (const Placement &l : kWindowLayout)
        if (l.name.empty() || l.w <= 0 || l.h <= 0) return false;
    return true;
}
static_assert(windowLayoutComplete());

} // namespace vx
