#include "valueclipboard.h"

#include "editset.h"

namespace vx {

namespace {

// The copied texts, in their order; the two tick boxes follow them.
const QStringList &copiedFields()
{
    static const QStringList list{
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
    return list;
}

const QString kIbut = QStringLiteral("Check_ibut");
const QString kContador = QStringLiteral("Check_contador");

} // namespace

void ValueClipboard::copy(EditSet &edit)
{
    m_copy.clear();
    for (const QString &n : copiedFields())
        m_copy << edit.text(n);
    m_copy << QString::number(edit.checked(kIbut) ? 1 : 0)
           << QString::number(edit.checked(kContador) ? 1 : 0);
    edit.setEnabled(QStringLiteral("command_paste1"), true);
}

void ValueClipboard::paste(EditSet &edit)
{
    if (m_copy.isEmpty()) return;
    const QStringList &fields = copiedFields();
    for (int i = 0; i < fields.size(); ++i)
        edit.setText(fields.at(i), m_copy.at(i));
    edit.setChecked(kIbut, m_copy.at(fields.size()).toInt() != 0);
    edit.setChecked(kContador, m_copy.at(fields.size() + 1).toInt() != 0);
    edit.mark(fields);
    edit.mark(QStringList{kIbut, kContador});
}

void ValueClipboard::clear(EditSet &edit, const QString &titulo_base)
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
