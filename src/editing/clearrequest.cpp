#include "clearrequest.h"

#include "editset.h"

#include <QDir>
#include <QStringList>

namespace vx {

void requestClear(EditSet &edit)
{
    for (const char *n :
         {"Command_clear", "Command_ler", "Command_testar", "Command_imprimir", "Command_sair"})
        edit.setEnabled(QLatin1String(n), false);
    edit.session.limpar_pedido = true;
    edit.session.modo = 2;
    edit.session.escrever_pedido = true;
}

void zeroForClear(EditSet &edit, const QString &titulo_base)
{
    edit.setTitle(titulo_base);
    for (const char *n :
         {"Text_total00", "Text_total08", "Text_total12", "Text_total15", "Text_total20",
          "Text_a_pagar", "Text_parcial", "Text_aberturas", "Text_prog", "Text_power"})
        edit.setText(QLatin1String(n), QStringLiteral("0"));
    // Everything but the application serial goes back to the device as shown.
    for (const Field &c : kFields)
        if (c.name != "Text_sn_apl") edit.mark(fieldIndex(c.name));
}

namespace {

QString fromView(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

QString shownAfterClear(std::string_view field)
{
    // The timer counts one power-down more than the window shows: the
    // erased count reads back as -1.
    return field == "Text_power" ? QStringLiteral("-1") : QStringLiteral("0");
}

QString clearQuestion(const EditSet &edit, int idioma, const QString &snapshotFile)
{
    const QString unit =
        edit.text(QStringLiteral("text_numfab_ano")) + edit.text(QStringLiteral("Text_numfab_num"));
    QStringList rows;
    for (const ZeroedValue &z : kZeroedByClear)
        rows << QStringLiteral("    %1: %2 \u2192 %3")
                    .arg(fromView(idioma == 1 ? z.en : z.pt), edit.text(fromView(z.field)),
                         shownAfterClear(z.field));
    const QString kept = edit.text(QStringLiteral("Text_acumulado"));
    const QString file = QDir::toNativeSeparators(snapshotFile);
    if (idioma == 1)
        return QStringLiteral("Zero the takings and counters of unit %1?\n\nThese values go to "
                              "zero in the timer:\n%2\n\nThe accumulated takings (%3) stay. "
                              "Every value of the unit is stored first in %4.")
            .arg(unit, rows.join(QLatin1Char('\n')), kept, file);
    return QStringLiteral("Pôr a zero os totais e contadores da unidade %1?\n\nFicam a zero no "
                          "temporizador:\n%2\n\nO acumulado (%3) fica como está. Todos os "
                          "valores da unidade são guardados antes em %4.")
        .arg(unit, rows.join(QLatin1Char('\n')), kept, file);
}

} // namespace vx
