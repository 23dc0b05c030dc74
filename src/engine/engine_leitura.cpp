// Reading the device: the clock poll of every tick and the full read.
#include "clock.h"
#include "editset.h"
#include "engine.h"
#include "link.h"
#include "textforms.h"

namespace vx {

enum class Decod : uint8_t
{
    Pin4,         // count shown with at least four digits
    Moeda,        // cents as money text
    Decimal,      // plain count
    MenosUm,      // power-downs: the device counts one more than it shows
    PrimeiroByte, // only byte 0 counts
    IButton,      // tick box, and where it is on the source of the key
    Contador,     // tick box
    Actualizacao, // date and time of the last iButton update
    Manutencao,   // last maintenance stamp
    NumFab,       // sequence number and manufacturing code
    Serie,        // registered iButton serial
    Versao,       // device version: the window title's suffix
};

// One step of the full read: what to ask the device, and where the answer goes.
struct ReadStep
{
    uint8_t endereco;
    uint8_t bytes;
    const char *campo;
    Decod decod;
};

namespace {

// The reads, in the order the device is asked.
constexpr ReadStep kLeituras[] = {
    {0, 2, "Text_pwdtarifas", Decod::Pin4},
    {2, 2, "Text_pwdrelogio", Decod::Pin4},
    {4, 2, "Text_S00", Decod::Moeda},
    {6, 2, "Text_S08", Decod::Moeda},
    {8, 2, "Text_S12", Decod::Moeda},
    {10, 2, "Text_S15", Decod::Moeda},
    {12, 2, "Text_S20", Decod::Moeda},
    {14, 2, "Text_F00", Decod::Moeda},
    {16, 2, "Text_F08", Decod::Moeda},
    {18, 2, "Text_F12", Decod::Moeda},
    {20, 2, "Text_F15", Decod::Moeda},
    {22, 2, "Text_F20", Decod::Moeda},
    {24, 1, "Check_ibut", Decod::IButton},
    {25, 1, "Check_contador", Decod::Contador},
    {26, 5, "Text_act_data", Decod::Actualizacao},
    {91, 5, "Text_master_ibut", Decod::Manutencao},
    {31, 1, "Text_fracao", Decod::Decimal},
    {32, 3, "Text_acumulado", Decod::Moeda},
    {37, 3, "Text_a_pagar", Decod::Moeda},
    {40, 3, "Text_parcial", Decod::Moeda},
    {43, 4, "Text_numfab_num", Decod::NumFab},
    {47, 6, "Text_ibut", Decod::Serie},
    {53, 2, "Text_contador", Decod::Decimal},
    {55, 3, "Text_total00", Decod::Moeda},
    {58, 3, "Text_total08", Decod::Moeda},
    {61, 3, "Text_total12", Decod::Moeda},
    {64, 3, "Text_total15", Decod::Moeda},
    {67, 3, "Text_total20", Decod::Moeda},
    {70, 2, "Text_power", Decod::MenosUm},
    {72, 2, "Text_aberturas", Decod::Decimal},
    {74, 2, "Text_prog", Decod::PrimeiroByte},
    {96, 3, "Text_sn_apl", Decod::Decimal},
    {198, 1, "Form_main", Decod::Versao},
};

// The version byte's two characters, high digit first, read as a decimal
// number up to the first character that is not a digit.
int numeroVersao(const QByteArray &r)
{
    int n = 0;
    for (int pos : {kDataOffset + 1, kDataOffset}) {
        const char c = r.at(pos);
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
    }
    return n;
}

QString sufixoVersao(int n)
{
    switch (n) {
    case 4:
        return QStringLiteral(".5");
    case 3:
        return QStringLiteral(".4");
    case 2:
        return QStringLiteral(".3");
    case 1:
        return QStringLiteral(".2");
    default:
        return QStringLiteral(".1");
    }
}

} // namespace

bool Engine::pollRelogio()
{
    if (enviar(9, 0, 6)) {
        const QByteArray &r = m_link.trama_rx();
        m_edit.setText(QStringLiteral("Text_rtc_data"),
                       textoData(byteDados(r, 3), byteDados(r, 4), byteDados(r, 5)));
        m_edit.setText(QStringLiteral("Text_rtc_hora"),
                       textoHora(byteDados(r, 1), byteDados(r, 0)));
    }
    return !terminou();
}

bool Engine::leitura()
{
    Sessao &s = m_edit.sessao;
    s.ler_pedido = false;
    for (const char *n : {"Command_ler", "Command_testar", "Command_novo"})
        m_edit.setEnabled(QLatin1String(n), false);

    if (!clearDisplay()) return false;
    const uint8_t aler[][2] = {{4, 'A'}, {3, ' '}, {2, 'L'}, {1, 'E'}, {0, 'r'},
                               {9, 13},  {8, 13},  {7, 13},  {6, 13},  {5, 13}};
    for (const auto &a : aler)
        if (!visor(a[0], a[1]) && terminou()) return false;

    for (const ReadStep &l : kLeituras) {
        if (!enviar(1, l.endereco, l.bytes)) {
            // Only an exit request makes a transaction return without a
            // reply; nothing is decoded from a reply that was not accepted.
            if (terminou()) return false;
            continue;
        }
        if (!showReply(l)) return false;
    }

    m_edit.baixarTodos();
    if (!writeMaintenanceStamp()) return false;

    for (const char *n : {"Command_ler", "Command_testar", "Command_imprimir", "Command_clear",
                          "Command_enviar", "Command_teste_disp", "command_copy1"})
        m_edit.setEnabled(QLatin1String(n), true);
    if (!clearDisplay()) return false;
    s.pos_cursor = 0;
    Q_EMIT leituraTerminada();
    return true;
}

bool Engine::clearDisplay()
{
    for (uint8_t p = 0; p < 10; ++p)
        if (!visor(p, 12) && terminou()) return false;
    return true;
}

bool Engine::showReply(const ReadStep &l)
{
    const QByteArray &r = m_link.trama_rx();
    const QString campo = QLatin1String(l.campo);
    const uint32_t n = numeroDados(r, l.bytes);
    switch (l.decod) {
    case Decod::Pin4:
        m_edit.setText(campo, pin4(n));
        break;
    case Decod::Moeda:
        m_edit.setText(campo, moeda_texto(n));
        break;
    case Decod::Decimal:
        m_edit.setText(campo, QString::number(n));
        break;
    case Decod::MenosUm:
        m_edit.setText(campo, QString::number(static_cast<qint64>(n) - 1));
        break;
    case Decod::PrimeiroByte:
        m_edit.setText(campo, QString::number(byteDados(r, 0)));
        break;
    case Decod::IButton:
        return showKeyReaderMode(campo, byteDados(r, 0) != 0);
    case Decod::Contador:
        m_edit.setChecked(campo, byteDados(r, 0) != 0);
        break;
    case Decod::Actualizacao:
        showLastKeyUpdate(r);
        break;
    case Decod::Manutencao:
        m_edit.setText(campo, textoData(byteDados(r, 0), byteDados(r, 1), byteDados(r, 2)) +
                                  QStringLiteral(" @ ") +
                                  textoHora(byteDados(r, 3), byteDados(r, 4)));
        break;
    case Decod::NumFab:
        m_edit.setText(QStringLiteral("Text_numfab_num"), pad2(byteDados(r, 0)));
        m_edit.setText(QStringLiteral("text_numfab_ano"), QString(QChar(byteDados(r, 3))) +
                                                              pad2(byteDados(r, 2)) +
                                                              pad2(byteDados(r, 1)));
        break;
    case Decod::Serie: {
        const QString sn = dadosInvertidos(r);
        m_edit.setText(campo, sn == QLatin1String("000000000000") ? QStringLiteral("-") : sn);
        break;
    }
    case Decod::Versao:
        m_edit.setTitle(titulo_base + sufixoVersao(numeroVersao(r)));
        break;
    }
    return true;
}

bool Engine::showKeyReaderMode(const QString &campo, bool enabled)
{
    if (!enabled) {
        m_edit.setChecked(campo, false);
        m_edit.setText(campo, QStringLiteral("iButton"));
        return true;
    }
    m_edit.setChecked(campo, true);
    // The kind of key the reader takes is a byte of its own.
    if (enviar(1, 187, 1))
        m_edit.setText(campo, byteDados(m_link.trama_rx(), 0) != 0
                                  ? QStringLiteral("iButton de Dados")
                                  : QStringLiteral("iButton de Apagar"));
    return !terminou();
}

void Engine::showLastKeyUpdate(const QByteArray &r)
{
    const QString d = textoData(byteDados(r, 0), byteDados(r, 1), byteDados(r, 2));
    const QString h = textoHora(byteDados(r, 3), byteDados(r, 4));
    m_edit.setText(QStringLiteral("Text_act_data"),
                   d == QLatin1String("00-00-2000") ? QStringLiteral("-") : d);
    m_edit.setText(QStringLiteral("Text_act_hora"),
                   h == QLatin1String("00:00") ? QStringLiteral("-") : h);
}

// The maintenance stamp: what the next read shows as the last maintenance.
bool Engine::writeMaintenanceStamp()
{
    const QDateTime agora = m_clock.now();
    porByte(m_link.dados_tx, 0, static_cast<uint8_t>(agora.date().day()));
    porByte(m_link.dados_tx, 1, static_cast<uint8_t>(agora.date().month()));
    porByte(m_link.dados_tx, 2, static_cast<uint8_t>(agora.date().year() - 2000));
    enviar(2, 91, 3);
    if (terminou()) return false;
    porByte(m_link.dados_tx, 0, static_cast<uint8_t>(agora.time().hour()));
    porByte(m_link.dados_tx, 1, static_cast<uint8_t>(agora.time().minute()));
    enviar(2, 94, 2);
    return !terminou();
}

} // namespace vx
