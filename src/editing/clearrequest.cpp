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
    for (const Text &z : kZeroedByClear)
        rows << QStringLiteral("    %1: %2 \u2192 %3")
                    .arg(textIn(z, idioma), edit.text(fromView(z.key)), shownAfterClear(z.key));
    const QString kept = edit.text(QStringLiteral("Text_acumulado"));
    const QString file = QDir::toNativeSeparators(snapshotFile);
    return textOf(kClearTexts, "clearQuestion", idioma)
        .arg(unit, rows.join(QLatin1Char('\n')), kept, file);
}

} // namespace vx
