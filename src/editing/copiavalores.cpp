#include "copiavalores.h"

#include "editset.h"

namespace vx {

namespace {

// The copied texts, in their order; the two tick boxes follow them.
const QStringList &camposCopiados()
{
    static const QStringList lista{
        QStringLiteral("Text_S00"),        QStringLiteral("Text_S08"),
        QStringLiteral("Text_S12"),        QStringLiteral("Text_S15"),
        QStringLiteral("Text_S20"),        QStringLiteral("Text_F00"),
        QStringLiteral("Text_F08"),        QStringLiteral("Text_F12"),
        QStringLiteral("Text_F15"),        QStringLiteral("Text_F20"),
        QStringLiteral("Text_total00"),    QStringLiteral("Text_total08"),
        QStringLiteral("Text_total12"),    QStringLiteral("Text_total15"),
        QStringLiteral("Text_total20"),    QStringLiteral("Text_a_pagar"),
        QStringLiteral("Text_parcial"),    QStringLiteral("Text_acumulado"),
        QStringLiteral("text_numfab_ano"), QStringLiteral("Text_numfab_num"),
        QStringLiteral("Text_sn_apl"),     QStringLiteral("Text_power"),
        QStringLiteral("Text_fracao"),     QStringLiteral("Text_ibut"),
        QStringLiteral("Text_contador"),   QStringLiteral("Text_aberturas"),
        QStringLiteral("Text_prog"),       QStringLiteral("Text_pwdrelogio"),
        QStringLiteral("Text_pwdtarifas")};
    return lista;
}

const QString kIbut = QStringLiteral("Check_ibut");
const QString kContador = QStringLiteral("Check_contador");

} // namespace

void CopiaValores::copiar(EditSet &edit)
{
    m_copia.clear();
    for (const QString &n : camposCopiados())
        m_copia << edit.text(n);
    m_copia << QString::number(edit.checked(kIbut) ? 1 : 0)
            << QString::number(edit.checked(kContador) ? 1 : 0);
    edit.setEnabled(QStringLiteral("command_paste1"), true);
}

void CopiaValores::colar(EditSet &edit)
{
    if (m_copia.isEmpty()) return;
    const QStringList &campos = camposCopiados();
    for (int i = 0; i < campos.size(); ++i)
        edit.setText(campos.at(i), m_copia.at(i));
    edit.setChecked(kIbut, m_copia.at(campos.size()).toInt() != 0);
    edit.setChecked(kContador, m_copia.at(campos.size() + 1).toInt() != 0);
    edit.marcar(campos);
    edit.marcar(QStringList{kIbut, kContador});
}

void CopiaValores::limpar(EditSet &edit, const QString &titulo_base)
{
    edit.setTitle(titulo_base);
    for (const char *n :
         {"Command_clear", "Command_ler", "Command_testar", "Command_imprimir", "Command_sair"})
        edit.setEnabled(QLatin1String(n), false);
    edit.sessao.limpar_pedido = true;
    for (const char *n :
         {"Text_total00", "Text_total08", "Text_total12", "Text_total15", "Text_total20",
          "Text_a_pagar", "Text_parcial", "Text_aberturas", "Text_prog", "Text_power"})
        edit.setText(QLatin1String(n), QStringLiteral("0"));
    // Everything but the application serial goes back to the device as shown.
    for (const Campo &c : kCampos)
        if (c.nome != "Text_sn_apl") edit.marcar(indiceCampo(c.nome));
    edit.sessao.modo = 2;
    edit.sessao.escrever_pedido = true;
}

} // namespace vx
