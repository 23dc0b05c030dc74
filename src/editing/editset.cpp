#include "editset.h"

#include "messages.h"
#include "textforms.h"

namespace vx {

namespace {

ControlState comTexto(const QString &t)
{
    ControlState s;
    s.text = t;
    return s;
}

const QString kTitulo = QStringLiteral("Manutenção");

QString nomeDe(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<int>(s.size()));
}

} // namespace

QString EditSet::msgInvalido()
{
    return QStringLiteral("O valor inserido não é válido!");
}

EditSet::EditSet(MessageSink &messages, QObject *parent) : QObject(parent), m_messages(messages)
{
    for (const Campo &c : kCampos) {
        ControlState s;
        if (c.forma != Forma::Flag) s.text = QStringLiteral("-");
        m_controls.insert(nomeDe(c.nome), s);
    }
    for (const CampoVisor &c : kCamposVisor)
        m_controls.insert(nomeDe(c.nome), comTexto(QStringLiteral("-")));

    // Values only the program writes stay disabled for the whole run.
    for (const char *n : {"text_numfab_ano", "Text_numfab_num", "Text_sn_apl", "Text_fracao",
                          "Text_rtc_data", "Text_rtc_hora", "Text_ibut", "Text_act_data",
                          "Text_act_hora", "Text_ibutsn", "Check_ibut"})
        m_controls[QLatin1String(n)].enabled = false;
    m_controls[QStringLiteral("Text_acumulado")].visible = false;
    m_controls[QStringLiteral("Check_ibut")].text = QStringLiteral("iButton");

    for (const char *n : {"Command_ler", "Command_sair"})
        m_controls.insert(QLatin1String(n), ControlState{});
    for (const char *n : {"Command_testar", "Command_imprimir", "Command_clear",
                          "Command_teste_disp", "Command_enviar"}) {
        ControlState s;
        s.enabled = false;
        m_controls.insert(QLatin1String(n), s);
    }
    // The factory functions exist but are not shown in the delivered window.
    ControlState novo;
    novo.text = QStringLiteral("Novo");
    novo.visible = false;
    m_controls.insert(QStringLiteral("Command_novo"), novo);
    for (const char *n : {"command_copy1", "command_paste1"}) {
        ControlState s;
        s.enabled = false;
        s.visible = false;
        m_controls.insert(QLatin1String(n), s);
    }
    m_controls[QStringLiteral("command_copy1")].text = QStringLiteral("Pic -> PC");
    m_controls[QStringLiteral("command_paste1")].text = QStringLiteral("PC -> Pic");

    for (const char *n : {"Shape_bola0", "Shape_bola1", "Shape_bola2", "Shape_bola3",
                          "Shape_memoria", "Shape_incremento", "Shape_cursor"}) {
        ControlState s;
        s.indicator = IndicatorState::Off;
        m_controls.insert(QLatin1String(n), s);
    }
    m_controls.insert(QStringLiteral("ProgressBar_baterias"), ControlState{});
    m_controls.insert(QStringLiteral("Label_percentagem"), comTexto(QStringLiteral("0%")));
    m_controls.insert(QStringLiteral("Form_main"), ControlState{});
    m_controls.insert(QStringLiteral("mnu_comunicação"), ControlState{});
    for (int n = 1; n <= 4; ++n) {
        ControlState s = comTexto(QStringLiteral("Com %1").arg(n));
        s.checked = n == 1;
        m_controls.insert(QStringLiteral("mnu_porta%1").arg(n), s);
    }
    ControlState pt = comTexto(QStringLiteral("Português"));
    pt.checked = true;
    m_controls.insert(QStringLiteral("mnu_pt"), pt);
    m_controls.insert(QStringLiteral("mnu_EN"), comTexto(QStringLiteral("English")));
}

const ControlState &EditSet::control(const QString &name) const
{
    static const ControlState vazio;
    const auto it = m_controls.constFind(name);
    return it == m_controls.constEnd() ? vazio : *it;
}

ControlState &EditSet::mut(const QString &name)
{
    return m_controls[name];
}

void EditSet::setText(const QString &name, const QString &text)
{
    ControlState &s = mut(name);
    if (s.text == text) return;
    s.text = text;
    Q_EMIT controlChanged(name);
    if (temVerificacaoNumerica(name)) verificarNumerico(name);
}

void EditSet::setChecked(const QString &name, bool on)
{
    ControlState &s = mut(name);
    if (s.checked == on) return;
    s.checked = on;
    Q_EMIT controlChanged(name);
    // A tick box changed by the program counts as a click on it.
    const int i = indiceCampo(name.toStdString());
    if (i >= 0) marcar(i);
}

void EditSet::setEnabled(const QString &name, bool on)
{
    ControlState &s = mut(name);
    if (s.enabled != on) {
        s.enabled = on;
        Q_EMIT controlChanged(name);
    }
}

void EditSet::setVisible(const QString &name, bool on)
{
    ControlState &s = mut(name);
    if (s.visible != on) {
        s.visible = on;
        Q_EMIT controlChanged(name);
    }
}

void EditSet::setIndicator(const QString &name, IndicatorState state)
{
    ControlState &s = mut(name);
    if (s.indicator != state) {
        s.indicator = state;
        Q_EMIT controlChanged(name);
    }
}

void EditSet::setValue(const QString &name, double v)
{
    ControlState &s = mut(name);
    if (s.value != v) {
        s.value = v;
        Q_EMIT controlChanged(name);
    }
}

void EditSet::gotFocus(const QString &name, bool fromOtherControl)
{
    if (fromOtherControl) texto_foco = text(name);
}

void EditSet::keyPress(const QString &name, int key)
{
    if (key == 13)
        confirmar(name);
    else if (key == 27)
        setText(name, texto_foco);
}

bool EditSet::userEdit(const QString &name, const QString &text)
{
    const int limite = limiteDe(name);
    const QString &antes = control(name).text;
    if (limite > 0 && text.size() > limite && text.size() > antes.size()) return false;
    setText(name, text);
    return true;
}

void EditSet::userToggle(const QString &name)
{
    setChecked(name, !checked(name));
}

void EditSet::confirmar(const QString &name)
{
    const int i = indiceCampo(name.toStdString());
    if (i < 0 || kCampos[i].forma == Forma::Flag) return;
    const Campo &c = kCampos[i];
    const QString t = text(name);
    if (c.enter != VerificacaoEnter::Nenhuma && ehNumero(t)) {
        const bool tarifa = c.enter == VerificacaoEnter::Tarifa;
        if (!dentroDoLimite(t, tarifa ? 65535 : 25500)) {
            m_messages.show(tarifa ? QStringLiteral("O valor da tarifa deve estar entre 0 e 655,35")
                                   : QStringLiteral("O valor da fracao deve estar entre 0 e 255"),
                            kTitulo, MessageSink::Icon::None);
            return;
        }
    }
    if (!valido(c.forma, t)) {
        if (sessao.modo != 0) m_messages.show(msgInvalido(), kTitulo, MessageSink::Icon::None);
        return;
    }
    marcar(i);
}

void EditSet::verificarNumerico(const QString &name)
{
    if (sessao.modo != 0 && !ehNumero(text(name)))
        m_messages.show(msgInvalido(), kTitulo, MessageSink::Icon::None);
}

int EditSet::limiteDe(const QString &name) const
{
    const std::string n = name.toStdString();
    for (const Campo &c : kCampos)
        if (c.nome == n) return c.limite;
    for (const CampoVisor &c : kCamposVisor)
        if (c.nome == n) return c.limite;
    return 0;
}

bool EditSet::temVerificacaoNumerica(const QString &name) const
{
    const std::string n = name.toStdString();
    for (const Campo &c : kCampos)
        if (c.nome == n) return c.numerico;
    for (const CampoVisor &c : kCamposVisor)
        if (c.nome == n) return c.numerico;
    return false;
}

bool EditSet::pendente(const QString &name) const
{
    const int i = indiceCampo(name.toStdString());
    return i >= 0 && m_pendente[i];
}

void EditSet::marcar(int i)
{
    m_pendente[i] = true;
    alteracao_pendente = true;
}

void EditSet::marcar(const QStringList &nomes)
{
    for (const QString &n : nomes) {
        const int i = indiceCampo(n.toStdString());
        if (i >= 0) marcar(i);
    }
}

bool EditSet::tomar(int i)
{
    const bool era = m_pendente[i];
    m_pendente[i] = false;
    return era;
}

void EditSet::baixarTodos()
{
    m_pendente.fill(false);
}

void EditSet::reportWritten(int i)
{
    Q_EMIT valueWritten(nomeDe(kCampos[i].nome));
}

void EditSet::reportRefused(int i, const QString &text)
{
    Q_EMIT valueRefused(nomeDe(kCampos[i].nome), text);
}

bool EditSet::algumPendente() const
{
    return std::any_of(m_pendente.begin(), m_pendente.end(), [](bool b) { return b; });
}

const QStringList &EditSet::camposLimpos()
{
    static const QStringList lista{
        QStringLiteral("Text_S00"),        QStringLiteral("Text_S08"),
        QStringLiteral("Text_S12"),        QStringLiteral("Text_S15"),
        QStringLiteral("Text_S20"),        QStringLiteral("Text_F00"),
        QStringLiteral("Text_F08"),        QStringLiteral("Text_F12"),
        QStringLiteral("Text_F15"),        QStringLiteral("Text_F20"),
        QStringLiteral("Text_total00"),    QStringLiteral("Text_total08"),
        QStringLiteral("Text_total12"),    QStringLiteral("Text_total15"),
        QStringLiteral("Text_total20"),    QStringLiteral("Text_acumulado"),
        QStringLiteral("Text_parcial"),    QStringLiteral("Text_a_pagar"),
        QStringLiteral("Text_ibutsn"),     QStringLiteral("Text_numfab_num"),
        QStringLiteral("text_numfab_ano"), QStringLiteral("Check_ibut"),
        QStringLiteral("Text_ibut"),       QStringLiteral("Text_master_ibut"),
        QStringLiteral("Text_pwdrelogio"), QStringLiteral("Text_pwdtarifas"),
        QStringLiteral("Text_act_data"),   QStringLiteral("Text_act_hora"),
        QStringLiteral("Text_impulsos"),   QStringLiteral("Text_sn_apl"),
        QStringLiteral("Check_contador"),  QStringLiteral("Text_contador"),
        QStringLiteral("Text_fracao"),     QStringLiteral("Text_aberturas"),
        QStringLiteral("Text_prog"),       QStringLiteral("Text_power")};
    return lista;
}

void EditSet::limpar()
{
    for (const QString &n : camposLimpos()) {
        if (n.startsWith(QLatin1String("Check_")))
            setChecked(n, false);
        else
            setText(n, QStringLiteral("-"));
    }
}

} // namespace vx
