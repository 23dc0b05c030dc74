#include "clearrequest.h"

#include "editset.h"

namespace vx {

void requestClear(EditSet &edit, const QString &titulo_base)
{
    edit.setTitle(titulo_base);
    for (const char *n :
         {"Command_clear", "Command_ler", "Command_testar", "Command_imprimir", "Command_sair"})
        edit.setEnabled(QLatin1String(n), false);
    edit.session.limpar_pedido = true;
    for (const char *n :
         {"Text_total00", "Text_total08", "Text_total12", "Text_total15", "Text_total20",
          "Text_a_pagar", "Text_parcial", "Text_aberturas", "Text_prog", "Text_power"})
        edit.setText(QLatin1String(n), QStringLiteral("0"));
    // Everything but the application serial goes back to the device as shown.
    for (const Field &c : kFields)
        if (c.name != "Text_sn_apl") edit.mark(fieldIndex(c.name));
    edit.session.modo = 2;
    edit.session.escrever_pedido = true;
}

} // namespace vx
