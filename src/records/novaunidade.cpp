#include "novaunidade.h"

#include "avisoficheiro.h"
#include "bases.h"
#include "calendario.h"
#include "clock.h"
#include "editset.h"
#include "messages.h"
#include "tabelas.h"
#include "textforms.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vx {

namespace {

// What the proposal puts into each window field, in the order it fills them:
// a stored default of TbValoresPre1, the PC's date or time, or the
// placeholder.
enum class Fonte
{
    Predefinido,
    Data,
    Hora,
    Tracinho
};
struct Preenchimento
{
    std::string_view janela;
    Fonte fonte;
    std::string_view campo;
};
inline constexpr std::array<Preenchimento, 28> kPreenchimento{{
    {"Text_S00", Fonte::Predefinido, "TarS00"},
    {"Text_S08", Fonte::Predefinido, "TarS08"},
    {"Text_S12", Fonte::Predefinido, "TarS12"},
    {"Text_S15", Fonte::Predefinido, "TarS15"},
    {"Text_S20", Fonte::Predefinido, "TarS20"},
    {"Text_F00", Fonte::Predefinido, "TarF00"},
    {"Text_F08", Fonte::Predefinido, "TarF08"},
    {"Text_F12", Fonte::Predefinido, "TarF12"},
    {"Text_F15", Fonte::Predefinido, "TarF15"},
    {"Text_F20", Fonte::Predefinido, "TarF20"},
    {"Text_total00", Fonte::Predefinido, "Total00"},
    {"Text_total08", Fonte::Predefinido, "Total08"},
    {"Text_total12", Fonte::Predefinido, "Total12"},
    {"Text_total15", Fonte::Predefinido, "Total15"},
    {"Text_total20", Fonte::Predefinido, "Total20"},
    {"Text_acumulado", Fonte::Predefinido, "Acumulado"},
    {"Text_a_pagar", Fonte::Predefinido, "Pagar"},
    {"Text_parcial", Fonte::Predefinido, "Parcial"},
    {"Text_act_data", Fonte::Data, {}},
    {"Text_act_hora", Fonte::Hora, {}},
    {"Text_master_ibut", Fonte::Tracinho, {}},
    {"Text_pwdrelogio", Fonte::Predefinido, "PwdRelogio"},
    {"Text_pwdtarifas", Fonte::Predefinido, "PwdTarifas"},
    {"Text_contador", Fonte::Predefinido, "Contador"},
    {"Text_aberturas", Fonte::Predefinido, "Aberturas"},
    {"Text_power", Fonte::Predefinido, "Power"},
    {"Text_fracao", Fonte::Predefinido, "FRACAO"},
    {"Text_prog", Fonte::Predefinido, "prog"},
}};

const QString kNumfabAno = QStringLiteral("text_numfab_ano");
const QString kNumfabNum = QStringLiteral("Text_numfab_num");

QString doisDigitos(int n)
{
    return (n < 10 ? QStringLiteral("0") : QString()) + QString::number(n);
}

// "A", the year as two digits, the week as two digits: A0705.
QString codigoAnoSemana(int ano, int semana)
{
    return QStringLiteral("A") + doisDigitos(ano - 2000) + doisDigitos(semana);
}

} // namespace

NovaUnidade::NovaUnidade(EditSet &edit, Bases &bases, MessageSink &messages, const Clock &clock,
                         QObject *parent)
    : QObject(parent), m_edit(edit), m_bases(bases), m_messages(messages), m_clock(clock)
{
    connect(&m_edit, &EditSet::valueWritten, this, &NovaUnidade::onValueWritten);
}

QString NovaUnidade::msgReadPending()
{
    return QStringLiteral("A leitura do temporizador ainda não terminou. Aguarde o fim da "
                          "leitura e carregue outra vez em Novo.");
}

void NovaUnidade::onValueWritten(const QString &campo)
{
    if (!m_unitRow || !m_unwritten.remove(campo) || !m_unwritten.isEmpty()) return;
    const LinhaRegisto linha = *m_unitRow;
    m_unitRow.reset();
    QString erro;
    if (!m_bases.acrescentarRegisto(linha, &erro)) {
        avisarErroFicheiro(m_messages, m_bases.ficheiroRegisto(),
                           erro + QStringLiteral("\nA unidade %1 foi escrita no temporizador mas "
                                                 "não ficou registada.")
                                      .arg(linha.NFab));
    } else {
        emit unitLogged();
    }
    if (m_readAfterUnit) {
        m_readAfterUnit = false;
        m_edit.sessao.ler_pedido = true;
    }
}

void NovaUnidade::iniciarMotorSeParado()
{
    Sessao &s = m_edit.sessao;
    if (s.iniciarMotor && !(s.motorActivo && s.motorActivo())) s.iniciarMotor();
}

bool NovaUnidade::preparar()
{
    Sessao &s = m_edit.sessao;
    if (s.modo == 1) return false;
    // The read asked for would run on the engine's next tick and replace the
    // proposal; "Novo" waits for it (the read gives the button back).
    if (s.ler_pedido) {
        m_messages.show(msgReadPending(), QStringLiteral("Manutenção"), MessageSink::Icon::None);
        return false;
    }

    // Everything the proposal needs is read first: a file that cannot be
    // read leaves the window, the flags and the engine as they were.
    QString erro;
    UltimoRegisto ultimo;
    if (!m_bases.lerUltimoRegisto(&ultimo, &erro)) {
        avisarErroFicheiro(m_messages, m_bases.ficheiroRegisto(), erro);
        return false;
    }
    QStringList campos;
    for (const auto &p : kPreenchimento)
        if (p.fonte == Fonte::Predefinido) campos << nome(p.campo);
    QVariantMap pre;
    if (!m_bases.lerDefinicoes(campos, &pre, &erro)) {
        avisarErroFicheiro(m_messages, m_bases.ficheiroValores(), erro);
        return false;
    }

    // A unit accepted earlier whose values never all reached the timer is
    // not logged: this one takes its place.
    m_unitRow.reset();
    m_unwritten.clear();
    m_readAfterUnit = false;

    if (s.pararMotor) s.pararMotor();
    s.escrever_pedido = false;
    s.modo = 1;

    m_seq_semana = static_cast<uint8_t>(std::clamp(ultimo.NAct, 0, 255));
    m_n_unidades = ultimo.NMec;
    m_semana_reg = static_cast<uint8_t>(std::clamp(ultimo.SAct, 0, 53));

    const QDateTime agora = m_clock.now();
    const QDate hoje = agora.date();
    const int semana = semana_do_ano(hoje.day(), hoje.month(), hoje.year());
    // Week numbers start again every year, so the year of the last row must
    // match too; an old row without a date can only be judged by its week.
    const bool mesmaSemana =
        semana == m_semana_reg && (!ultimo.Data.isValid() || ultimo.Data.year() == hoje.year());
    if (!mesmaSemana) m_seq_semana = 0;

    const bool alteracao = m_edit.alteracao_pendente;
    m_edit.setText(kNumfabNum, QString::number(m_seq_semana + 1));
    m_edit.setText(kNumfabAno, codigoAnoSemana(hoje.year(), semana));

    for (const auto &p : kPreenchimento) {
        QString texto;
        switch (p.fonte) {
        case Fonte::Predefinido:
            texto = pre.value(nome(p.campo)).toString();
            break;
        case Fonte::Data: // the device's form, whatever the regional settings say
            texto = hoje.toString(QStringLiteral("dd-MM-yyyy"));
            break;
        case Fonte::Hora:
            texto = agora.time().toString(QStringLiteral("HH:mm"));
            break;
        case Fonte::Tracinho:
            texto = QStringLiteral("-");
            break;
        }
        m_edit.setText(nome(p.janela), texto);
    }

    m_edit.setChecked(QStringLiteral("Check_contador"), false);
    m_edit.setChecked(QStringLiteral("Check_ibut"), false);
    m_edit.setText(QStringLiteral("Text_ibut"), QStringLiteral("-"));
    m_edit.setText(QStringLiteral("Text_sn_apl"), QStringLiteral("-"));
    // Unticking the boxes counts as clicks; nothing of the proposal is to be
    // written before "Aceitar", which marks everything itself. A clock set or
    // an erase that was already pending stays pending.
    m_edit.baixarTodos();
    m_edit.alteracao_pendente = alteracao;

    m_edit.setEnabled(QStringLiteral("Command_ler"), false);
    m_edit.setText(QStringLiteral("Command_novo"), QStringLiteral("Aceitar"));
    m_edit.setText(QStringLiteral("Command_sair"), QStringLiteral("Cancelar"));
    m_edit.setEnabled(QStringLiteral("Command_testar"), false);
    m_edit.setEnabled(QStringLiteral("Command_imprimir"), false);
    m_edit.setEnabled(kNumfabAno, true);
    m_edit.setEnabled(kNumfabNum, true);

    s.sessao_activa = true;
    m_edit.gotFocus(kNumfabAno);
    emit focoPedido(kNumfabAno);
    return true;
}

bool NovaUnidade::aceitar()
{
    Sessao &s = m_edit.sessao;
    if (s.modo != 1) return false;

    // The running number is one byte in the device and in the log, and the
    // code must be one the write pass can send.
    const QString ano = m_edit.text(kNumfabAno);
    const QString num = m_edit.text(kNumfabNum);
    const auto n = inteiro(num);
    if (!n || *n < 0 || *n > 255 || !valido(Forma::Codigo, ano)) {
        m_messages.show(EditSet::msgInvalido(), QStringLiteral("Manutenção"),
                        MessageSink::Icon::None);
        return false;
    }

    // The log must be usable before anything is written to the timer: a unit
    // in the timer that the log cannot take is the worse outcome.
    QString erro;
    UltimoRegisto ultimo;
    if (!m_bases.lerUltimoRegisto(&ultimo, &erro)) {
        avisarErroFicheiro(m_messages, m_bases.ficheiroRegisto(), erro);
        return false;
    }

    const QDateTime agora = m_clock.now();
    const QDate hoje = agora.date();
    LinhaRegisto linha;
    linha.NMec = m_n_unidades + 1;
    linha.NFab = ano + num;
    linha.NAct = *n >= m_seq_semana + 1 ? static_cast<int>(*n) : m_seq_semana;
    linha.SAct = semana_do_ano(hoje.day(), hoje.month(), hoje.year());
    linha.Data = hoje;
    linha.hora = agora.time();

    s.modo = 2;
    m_edit.setEnabled(QStringLiteral("Command_ler"), false);
    m_edit.setEnabled(QStringLiteral("Command_testar"), false);
    m_edit.setEnabled(QStringLiteral("Command_novo"), false);

    QStringList todos;
    for (const Campo &c : kCampos)
        if (c.nome != "Text_sn_apl") todos << nome(c.nome);
    m_edit.marcar(todos);
    // The row waits for the timer to take every one of these values.
    m_unitRow = linha;
    m_unwritten = QSet<QString>(todos.begin(), todos.end());
    // A read requested meanwhile (the end of an erase that was under way at
    // "Novo") would run before the write pass and replace the unit's values;
    // it runs once they are in the timer.
    m_readAfterUnit = s.ler_pedido;
    s.ler_pedido = false;

    m_edit.setText(QStringLiteral("Command_sair"), QStringLiteral("Fechar"));
    m_edit.setText(QStringLiteral("Command_novo"), QStringLiteral("&Novo"));
    m_edit.setEnabled(QStringLiteral("command_copy1"), true);
    m_edit.setEnabled(kNumfabAno, false);
    m_edit.setEnabled(kNumfabNum, false);

    iniciarMotorSeParado();
    s.escrever_pedido = true;
    s.banner_esc = true;
    return true;
}

bool NovaUnidade::cancelar()
{
    Sessao &s = m_edit.sessao;
    if (s.modo != 1) return false;
    s.modo = 2;
    m_edit.setText(QStringLiteral("Command_sair"), QStringLiteral("Fechar"));
    m_edit.setText(QStringLiteral("Command_novo"), QStringLiteral("Novo"));
    m_edit.setEnabled(QStringLiteral("Command_ler"), true);
    m_edit.setEnabled(QStringLiteral("Command_testar"), true);
    m_edit.setEnabled(kNumfabAno, false);
    m_edit.setEnabled(kNumfabNum, false);
    s.ler_pedido = true;
    iniciarMotorSeParado();
    return true;
}

} // namespace vx
