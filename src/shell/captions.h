#pragma once

#include "fieldtable.h"
#include "shelltexts.h"
#include "text.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <span>
#include <string_view>

namespace vx {

// The captions of the main window. Every table is data, walked by one loop
// where it is used; both languages sit side by side so that a missing
// translation shows up as an empty cell in review and in the caption test.

// The captions that follow the interface language, keyed by control, in the
// order aplicar_idioma puts them on the window.
// The caption of a field's label, as the field table gives it.
constexpr Text fieldCaption(FieldId id)
{
    const Field &f = fieldRow(id);
    return {f.label, f.pt, f.en};
}

inline constexpr std::array<Text, 37> kCaptions{{
    {"mnu_comunicação", "Comunicação", "Communication"},
    {"mnu_idioma", "Idioma", "Language"},
    {"Label1", "Tarifas", "Costs per Hour"},
    {"Frame_semana", "Semana", "Week"},
    {"Frame_Fimdesemana", "Fim de Semana", "Weekend"},
    {"Label2", "Totais", "Sub Totals"},
    {"Label6", "Configuração", "Configuration"},
    fieldCaption(FieldId::MakerNumber),
    fieldCaption(FieldId::ApplicationSerial),
    fieldCaption(FieldId::ToPay),
    fieldCaption(FieldId::Memory),
    fieldCaption(FieldId::PowerDowns),
    fieldCaption(FieldId::Fraction),
    fieldCaption(FieldId::ClockDate),
    fieldCaption(FieldId::KeyReaderOn),
    fieldCaption(FieldId::CounterOn),
    fieldCaption(FieldId::Games),
    fieldCaption(FieldId::Programmings),
    fieldCaption(FieldId::ClockTime),
    fieldCaption(FieldId::LastMaintenance),
    fieldCaption(FieldId::Battery),
    {"Command_clear", "Clear", "Clear"},
    {"Frame_actualizacao", "Última Actualizacao do iButton", "Last iButton Update"},
    {"Frame1", "Password", "Password"},
    fieldCaption(FieldId::KeyUpdateDate),
    fieldCaption(FieldId::KeyUpdateTime),
    fieldCaption(FieldId::ClockPassword),
    fieldCaption(FieldId::TariffPassword),
    {"Command_ler", "Lêr", "Read"},
    {"Command_testar", "Sair", "Exit"},
    {"Command_imprimir", "Imprimir", "Print"},
    {"Command_sair", "Sair da Aplicação", "Close Application"},
    {"Label5", "Teste de Hardware", "Hardware Test"},
    fieldCaption(FieldId::KeyTest),
    {"Command_teste_disp", "Testar Displays", "Display Test"},
    fieldCaption(FieldId::Impulses),
    {"Command_enviar", "Enviar", "Send"},
}};

// The factory menu, offered only with --factory. Its items mirror the hidden
// buttons ("Novo", "Pic -> PC", "PC -> Pic"), whose captions are Portuguese in
// both languages, and open the defaults window.
inline constexpr std::array<Text, 2> kFactoryCaptions{{
    {"mnu_fabrica", "Fábrica", "Factory"},
    {"mnu_predefinir", "Predefinição de valores...", "Default Values..."},
}};

// The report menu: the printed report saved as a PDF file instead, the
// traffic log, the service history and the takings of every unit.
inline constexpr std::array<Text, 5> kReportCaptions{{
    {"mnu_relatorio", "Relatório", "Report"},
    {"mnu_exportar", "Exportar PDF...", "Export PDF..."},
    {"mnu_registo", "Registo de comunicação", "Traffic log"},
    {"mnu_historico", "Histórico…", "History…"},
    {"mnu_receitas", "Receitas por unidade", "Takings by unit"},
}};

// The port menu's search item, below the ports.
inline constexpr std::array<Text, 1> kPortCaptions{{
    {"mnu_search", "Procurar", "Search"},
}};

// The configuration menu: a unit's values saved to a file, compared with one
// and put back from one.
inline constexpr std::array<Text, 4> kConfigurationCaptions{{
    {"mnu_configuracao", "Configuração", "Configuration"},
    {"mnu_guardar_configuracao", "Guardar configuração…", "Save configuration…"},
    {"mnu_comparar_configuracao", "Comparar com ficheiro…", "Compare with file…"},
    {"mnu_repor_configuracao", "Repor configuração…", "Restore configuration…"},
}};

// Captions that read the same in both languages.
// A band label or the hidden accumulated takings' label, from the field's
// row; the battery percentage starts with the field's initial text.
constexpr Text fixedFieldCaption(FieldId id)
{
    const Field &f = fieldRow(id);
    return id == FieldId::Battery ? Text{f.name, f.initial, f.initial} : Text{f.label, f.pt, f.pt};
}

inline constexpr std::array<Text, 24> kFixedCaptions{{
    fixedFieldCaption(FieldId::Week00),      fixedFieldCaption(FieldId::Weekend00),
    fixedFieldCaption(FieldId::Week08),      fixedFieldCaption(FieldId::Weekend08),
    fixedFieldCaption(FieldId::Total08),     fixedFieldCaption(FieldId::Week12),
    fixedFieldCaption(FieldId::Weekend12),   fixedFieldCaption(FieldId::Total12),
    fixedFieldCaption(FieldId::Week15),      fixedFieldCaption(FieldId::Weekend15),
    fixedFieldCaption(FieldId::Total15),     fixedFieldCaption(FieldId::Week20),
    fixedFieldCaption(FieldId::Weekend20),   fixedFieldCaption(FieldId::Total20),
    fixedFieldCaption(FieldId::Total00),     fixedFieldCaption(FieldId::Battery),
    {"mnu_porta1", "Com 1", "Com 1"},        {"mnu_porta2", "Com 2", "Com 2"},
    {"mnu_porta3", "Com 3", "Com 3"},        {"mnu_porta4", "Com 4", "Com 4"},
    {"mnu_pt", "Português", "Português"},    {"mnu_EN", "English", "English"},
    fixedFieldCaption(FieldId::Accumulated), {"Label3", "Backup Informação", "Backup Informação"},
}};

// Names read out by screen readers: the caption of the control's group, then
// the caption of its label, then a word of its own (kAccessibleWords) where
// the label is shared (the two boxes of the manufacturing number) or missing
// (the indicators).
struct AccessibleName
{
    std::string_view control;
    std::string_view group;   // control whose caption names the group, or empty
    std::string_view caption; // control whose caption labels it, or empty
};

// A field's name: its group and the label the field table gives it.
constexpr AccessibleName fieldAccessible(FieldId id, std::string_view group)
{
    const Field &f = fieldRow(id);
    return {f.name, group, f.label};
}

inline constexpr std::array<AccessibleName, 55> kAccessibleNames{{
    fieldAccessible(FieldId::Week00, "Frame_semana"),
    fieldAccessible(FieldId::Week08, "Frame_semana"),
    fieldAccessible(FieldId::Week12, "Frame_semana"),
    fieldAccessible(FieldId::Week15, "Frame_semana"),
    fieldAccessible(FieldId::Week20, "Frame_semana"),
    fieldAccessible(FieldId::Weekend00, "Frame_Fimdesemana"),
    fieldAccessible(FieldId::Weekend08, "Frame_Fimdesemana"),
    fieldAccessible(FieldId::Weekend12, "Frame_Fimdesemana"),
    fieldAccessible(FieldId::Weekend15, "Frame_Fimdesemana"),
    fieldAccessible(FieldId::Weekend20, "Frame_Fimdesemana"),
    fieldAccessible(FieldId::Total00, "Label2"),
    fieldAccessible(FieldId::Total08, "Label2"),
    fieldAccessible(FieldId::Total12, "Label2"),
    fieldAccessible(FieldId::Total15, "Label2"),
    fieldAccessible(FieldId::Total20, "Label2"),
    fieldAccessible(FieldId::ToPay, "Label2"),
    fieldAccessible(FieldId::Memory, "Label2"),
    fieldAccessible(FieldId::Accumulated, {}),
    fieldAccessible(FieldId::MakerCode, "Label6"),
    fieldAccessible(FieldId::MakerNumber, "Label6"),
    fieldAccessible(FieldId::ApplicationSerial, "Label6"),
    fieldAccessible(FieldId::PowerDowns, "Label6"),
    fieldAccessible(FieldId::Fraction, "Label6"),
    fieldAccessible(FieldId::ClockDate, "Label6"),
    fieldAccessible(FieldId::KeyReaderOn, "Label6"),
    fieldAccessible(FieldId::KeySerial, "Label6"),
    fieldAccessible(FieldId::CounterOn, "Label6"),
    fieldAccessible(FieldId::Counter, "Label6"),
    fieldAccessible(FieldId::Games, "Label6"),
    fieldAccessible(FieldId::Programmings, "Label6"),
    fieldAccessible(FieldId::ClockTime, "Label6"),
    fieldAccessible(FieldId::LastMaintenance, "Label6"),
    {"ProgressBar_baterias", "Label6", "Label_baterias"},
    fieldAccessible(FieldId::KeyUpdateDate, "Frame_actualizacao"),
    fieldAccessible(FieldId::KeyUpdateTime, "Frame_actualizacao"),
    fieldAccessible(FieldId::ClockPassword, "Frame1"),
    fieldAccessible(FieldId::TariffPassword, "Frame1"),
    {"Command_clear", "Label6", "Command_clear"},
    {"Command_ler", {}, "Command_ler"},
    {"Command_testar", {}, "Command_testar"},
    {"Command_imprimir", {}, "Command_imprimir"},
    {"Command_sair", {}, "Command_sair"},
    fieldAccessible(FieldId::KeyTest, "Label5"),
    {"Command_teste_disp", "Label5", "Command_teste_disp"},
    fieldAccessible(FieldId::Impulses, "Label5"),
    {"Command_enviar", "Label5", "Command_enviar"},
    {"Shape_memoria", "Label5", {}},
    {"Shape_incremento", "Label5", {}},
    {"Shape_cursor", "Label5", {}},
    {"Shape_bola0", "Label5", {}},
    {"Shape_bola1", "Label5", {}},
    {"Shape_bola2", "Label5", {}},
    {"Shape_bola3", "Label5", {}},
    {"Image1", {}, {}},
    {"Shape_gaveta", "Label5", {}},
}};

// The words of their own that some controls' names end with, keyed by
// control.
// A word of a field's own, keyed by the field.
constexpr Text fieldWord(FieldId id, std::string_view pt, std::string_view en)
{
    return {fieldRow(id).name, pt, en};
}

inline constexpr std::array<Text, 13> kAccessibleWords{{
    fieldWord(FieldId::MakerCode, "código", "code"),
    fieldWord(FieldId::MakerNumber, "número", "number"),
    fieldWord(FieldId::KeySerial, "número", "number"),
    fieldWord(FieldId::Counter, "contagem", "count"),
    {"Shape_memoria", "Memória", "Memory"},
    {"Shape_incremento", "Incremento", "Increment"},
    {"Shape_cursor", "Cursor", "Cursor"},
    {"Shape_bola0", "Entrada 1", "Input 1"},
    {"Shape_bola1", "Entrada 2", "Input 2"},
    {"Shape_bola2", "Entrada 3", "Input 3"},
    {"Shape_bola3", "Entrada 4", "Input 4"},
    {"Image1", "Imagem do VX308", "VX308 picture"},
    {"Shape_gaveta", "Gaveta", "Drawer"},
}};

// The window's title, titulo_base before a read adds the timer's version.
inline constexpr std::array<Text, 1> kTitleTexts{{
    {"titulo_base", "Manutenção VX308 v3.5", "VX308 Maintnance v3.5"},
}};

// Controls with a caption that nothing ever shows: the font rule skips them.
inline constexpr std::array<std::string_view, 2> kHiddenCaptioned{{"Label_acumulado", "Label3"}};

// Every table a caption or a window's text is looked up in, by key.
inline constexpr std::array<std::span<const Text>, 11> kTranslatedTables{
    {kCaptions, kFactoryCaptions, kReportCaptions, kPortCaptions, kStatusTexts,
     kConfigurationCaptions, kTrafficLogCaptions, kHistoryCaptions, kTakingsCaptions,
     kJournalCaptions, kFixedCaptions}};

// Every text table of the shell, for the completeness check.
inline constexpr std::array<TextTable, 21> kShellTextTables{{
    {"kJournalCaptions", kJournalCaptions},
    {"kCaptions", kCaptions},
    {"kFactoryCaptions", kFactoryCaptions},
    {"kReportCaptions", kReportCaptions},
    {"kPortCaptions", kPortCaptions},
    {"kConfigurationCaptions", kConfigurationCaptions},
    {"kFixedCaptions", kFixedCaptions},
    {"kAccessibleWords", kAccessibleWords},
    {"kTitleTexts", kTitleTexts},
    {"kStatusTexts", kStatusTexts},
    {"kTrafficLogCaptions", kTrafficLogCaptions},
    {"kTrafficLogKinds", kTrafficLogKinds},
    {"kTrafficLogPhrases", kTrafficLogPhrases},
    {"kHistoryCaptions", kHistoryCaptions},
    {"kTakingsCaptions", kTakingsCaptions},
    {"kConfigurationDialogTexts", kConfigurationDialogTexts},
    {"kClearDialogTexts", kClearDialogTexts},
    {"kSplashTexts", kSplashTexts},
    {"kLinkNoticeTexts", kLinkNoticeTexts},
    {"kRawValueTexts", kRawValueTexts},
    {"kUnitSwapTexts", kUnitSwapTexts},
}};

// Look-ups over the tables above. The language code is 0 (Portuguese) or 1
// (English); any other code is treated as Portuguese.
class Captions
{
public:
    static QString text(std::string_view s);
    // The caption of a control in a language; empty when it has none.
    static QString caption(const QString &control, int idioma);
    // True for the captioned controls whose font drops to 8 points.
    static bool eightPoints(const QString &control);
    // How many controls the font rule touches.
    static int countEightPoint();
    // The name a screen reader announces, e.g. "Semana 00-08h".
    static QString accessibleName(const QString &control, int idioma);
    // The same, with the caption of each control it names taken from
    // `caption` (the window passes what the control shows now).
    static QString accessibleName(const QString &control, int idioma,
                                  const std::function<QString(const QString &)> &caption);
    // Window title of a language.
    static QString title(int idioma);

    // Menu titles or items with an access key each ("&Comunicação"), for
    // Alt+letter: the first letter of a word not yet taken in the same menu,
    // else any other letter or digit. The captions themselves stay without
    // one: the report and documents print the same texts.
    static QStringList withMnemonics(const QStringList &captions);
    // A text as shown, without its access key's marker.
    static QString plain(const QString &text);
};

} // namespace vx
