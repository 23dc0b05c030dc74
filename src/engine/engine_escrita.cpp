// The write pass: the device clock, every confirmed value, and the erase that
// Clear asks for.
#include "clock.h"
#include "editset.h"
#include "engine.h"
#include "link.h"
#include "textforms.h"

namespace vx {

namespace {

QString nomeDe(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<int>(s.size()));
}

void porData(DadosTx &d, const QDate &data)
{
    porByte(d, 0, static_cast<uint8_t>(data.day()));
    porByte(d, 1, static_cast<uint8_t>(data.month()));
    porByte(d, 2, static_cast<uint8_t>(data.year() - 2000));
}

} // namespace

bool Engine::escrita()
{
    Sessao &s = m_edit.sessao;
    if (s.modo == 2) s.escrever_pedido = true;
    if (!s.escrever_pedido) return true;
    // Only an erase that was asked for before this pass began is served by it:
    // a Clear pressed halfway would otherwise erase first and then have the
    // next pass write the old values back over the zeros.
    const bool limparNestaPassagem = s.limpar_pedido;

    if (m_edit.alteracao_pendente && !writeClockAndMark()) return false;
    s.escrever_pedido = false;

    bool escreveu = false;
    if (!writeMarkedFields(escreveu)) return false;
    if (limparNestaPassagem && s.limpar_pedido) {
        if (!eraseCounters()) return false;
        escreveu = true;
    }
    m_edit.alteracao_pendente = false;
    if (escreveu) Q_EMIT escritaTerminada();
    return true;
}

// The device clock set to the PC's, then "ESC." on the display for a moment
// unless the new-unit banner is already there.
bool Engine::writeClockAndMark()
{
    Sessao &s = m_edit.sessao;
    const QDateTime agora = m_clock.now();
    const QDate d = agora.date();
    const QTime t = agora.time();
    DadosTx &dados = m_link.dados_tx;
    porByte(dados, 0, static_cast<uint8_t>(t.minute()));
    porByte(dados, 1, static_cast<uint8_t>(t.hour()));
    porByte(dados, 2, static_cast<uint8_t>(d.dayOfWeek() % 7 + 1)); // Sunday 1 .. Saturday 7
    porByte(dados, 3, static_cast<uint8_t>(d.day()));
    porByte(dados, 4, static_cast<uint8_t>(d.month()));
    porByte(dados, 5, static_cast<uint8_t>(d.year() - 2000));
    enviar(6, static_cast<uint8_t>(t.second()), 0);
    if (terminou()) return false;
    if (s.banner_esc) {
        s.banner_esc = false;
        return true;
    }
    const uint8_t marca[][2] = {{4, 'E'}, {3, 'S'}, {2, 'C'}, {1, '.'},
                                {4, 12},  {3, 12},  {2, 12},  {1, 12}};
    for (const auto &m : marca) {
        visor(m[0], m[1]);
        if (terminou()) return false;
    }
    return true;
}

// Every value confirmed since the last pass, in the field table's order.
bool Engine::writeMarkedFields(bool &wrote)
{
    for (size_t i = 0; i < kCampos.size(); ++i) {
        if (!m_edit.tomar(static_cast<int>(i))) continue;
        const Campo &c = kCampos[i];
        const QString nome = nomeDe(c.nome);
        const QString texto = m_edit.text(nome);
        // A value the device cannot hold is not sent at all; the pass goes on.
        if (!codificar(c, texto, m_edit.checked(nome), m_link.dados_tx)) {
            m_edit.reportRefused(static_cast<int>(i), texto);
            continue;
        }
        if (c.forma == Forma::Serie) m_edit.setText(nome, QStringLiteral("-"));
        if (c.forma == Forma::Potencia && inteiro(texto).value_or(0) < 0)
            m_edit.setText(nome, QStringLiteral("0"));
        bool aceite = enviar(2, c.endereco, c.bytes);
        wrote = true;
        if (terminou()) return false;
        if (nome == QLatin1String("Check_ibut")) {
            m_link.dados_tx[0] = '0';
            m_link.dados_tx[1] = '0';
            aceite = enviar(2, 187, 1) && aceite;
            if (terminou()) return false;
        }
        // Only a reply the link accepted makes the value written.
        if (aceite) m_edit.reportWritten(static_cast<int>(i));
    }
    return true;
}

// Clear's erase: sub-totals, counters and memory zeroed, the erase's date and
// time stored, and a read asked for to show the result.
bool Engine::eraseCounters()
{
    Sessao &s = m_edit.sessao;
    DadosTx &dados = m_link.dados_tx;
    dados[0] = '0';
    dados[1] = '0';
    auto zerar = [this](int de, int ate) {
        for (int a = de; a <= ate; ++a) {
            enviar(2, static_cast<uint8_t>(a), 1);
            if (terminou()) return false;
        }
        return true;
    };
    if (!zerar(100, 179) || !zerar(53, 74) || !zerar(40, 42)) return false;
    const QDateTime agora = m_clock.now();
    porData(dados, agora.date());
    enviar(2, 26, 3);
    if (terminou()) return false;
    porByte(dados, 0, static_cast<uint8_t>(agora.time().hour()));
    porByte(dados, 1, static_cast<uint8_t>(agora.time().minute()));
    enviar(2, 29, 2);
    if (terminou()) return false;
    s.ler_pedido = true;
    s.limpar_pedido = false;
    // Clear took "Sair da Aplicação" away while the erase was pending;
    // give it back with Clear itself.
    m_edit.setEnabled(QStringLiteral("Command_clear"), true);
    m_edit.setEnabled(QStringLiteral("Command_sair"), true);
    return true;
}

} // namespace vx
