#include "ctlrunner.h"

#include "clock.h"
#include "editset.h"
#include "engine.h"
#include "fields.h"
#include "link.h"
#include "messages.h"
#include "programend.h"
#include "serialport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <unistd.h>

using namespace vx;

namespace {

// The fields a read fills that are shown but never written.
const char *const kSoVisor[] = {"Text_master_ibut", "Text_rtc_data", "Text_rtc_hora",
                                "Text_ibutsn"};

QString nomeDe(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<int>(s.size()));
}

} // namespace

CtlRunner::CtlRunner(Pedido pedido)
    : m_pedido(std::move(pedido)), m_messages(std::make_unique<StderrMessages>()),
      m_clock(std::make_unique<SystemClock>()), m_end(std::make_unique<RecordingEnd>()),
      m_edit(std::make_unique<EditSet>(*m_messages)),
      m_link(std::make_unique<Link>(*m_pedido.porta, *m_messages, m_end.get())),
      m_engine(std::make_unique<Engine>(*m_edit, *m_link, *m_clock, *m_messages, *m_end))
{
    m_engine->setTituloBase(QStringLiteral("Manutenção VX308 v3.5"));
    connect(m_engine.get(), &Engine::leituraTerminada, this, &CtlRunner::aoLer);
    connect(m_engine.get(), &Engine::tickTerminado, this, &CtlRunner::aoEscrever);
    connect(m_edit.get(), &EditSet::valueRefused, this, [this](const QString &c, const QString &t) {
        std::fprintf(stderr, "vx308ctl: %s: \"%s\" cannot be stored in the device; not written\n",
                     qPrintable(c), qPrintable(t));
        m_porEscrever.remove(c);
        m_status = 1;
    });
    connect(m_edit.get(), &EditSet::valueWritten, this,
            [this](const QString &c) { m_porEscrever.remove(c); });
    connect(m_engine.get(), &Engine::motorParado, this, [this] { terminar(m_status); });
}

CtlRunner::~CtlRunner() = default;

bool CtlRunner::campoConhecido(const QString &nome)
{
    return indiceCampo(nome.toStdString()) >= 0;
}

void CtlRunner::start()
{
    if (!m_pedido.porta->open()) {
        std::fprintf(stderr, "vx308ctl: cannot open %s: %s\n", qPrintable(m_pedido.descricaoPorta),
                     qPrintable(m_pedido.porta->errorText()));
        terminar(2);
    }
    m_pedido.porta->close();
    // The whole job must be done within the time limit; a device that stays
    // silent keeps the engine retrying, so the limit is what ends it.
    QTimer::singleShot(std::chrono::seconds(m_pedido.timeoutS), this, [this] {
        std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(motivoDoLimite()));
        terminar(2);
    });
    m_engine->Command_ler_Click();
}

void CtlRunner::aoLer()
{
    ++m_leituras;
    switch (m_pedido.accao) {
    case Accao::Ler:
        imprimir();
        m_engine->Command_testar_Click();
        break;
    case Accao::Definir:
        if (m_leituras > 1) return;
        for (const auto &[campo, texto] : m_pedido.valores) {
            if (campo.startsWith(QLatin1String("Check_"))) {
                m_edit->setChecked(campo, texto != QLatin1String("0"));
                continue;
            }
            m_edit->gotFocus(campo);
            m_edit->setText(campo, texto);
            m_edit->keyPress(campo, 13);
            if (!m_edit->pendente(campo)) {
                std::fprintf(stderr, "vx308ctl: %s: \"%s\" refused\n", qPrintable(campo),
                             qPrintable(texto));
                m_status = 1;
                continue;
            }
            m_porEscrever.insert(campo);
        }
        m_aEscrever = true;
        break;
    case Accao::Limpar:
        if (m_leituras == 1) {
            m_engine->Command_clear_Click();
        } else {
            imprimir();
            m_engine->Command_testar_Click();
        }
        break;
    }
}

void CtlRunner::aoEscrever()
{
    // The tick after the values were confirmed has taken them all. Each is
    // done only once the timer accepted its write; one that was taken but
    // not accepted is said, never passed over as written.
    if (!m_aEscrever || m_edit->algumPendente()) return;
    m_aEscrever = false;
    for (const QString &campo : std::as_const(m_porEscrever)) {
        std::fprintf(stderr, "vx308ctl: %s: the timer did not confirm the write\n",
                     qPrintable(campo));
        m_status = 2;
    }
    m_engine->Command_testar_Click();
}

void CtlRunner::imprimir()
{
    QStringList nomes;
    for (const Campo &c : kCampos)
        nomes << nomeDe(c.nome);
    for (const char *n : kSoVisor)
        nomes << QLatin1String(n);
    if (m_pedido.json) {
        QJsonObject o;
        for (const QString &n : nomes) {
            if (n.startsWith(QLatin1String("Check_")))
                o.insert(n, m_edit->checked(n) ? 1 : 0);
            else
                o.insert(n, m_edit->text(n));
        }
        o.insert(QStringLiteral("title"), m_edit->title());
        std::printf("%s", QJsonDocument(o).toJson(QJsonDocument::Indented).constData());
    } else {
        std::printf("%-18s %s\n", "title", qPrintable(m_edit->title()));
        for (const QString &n : nomes) {
            const QString v = n.startsWith(QLatin1String("Check_"))
                                  ? QString::number(m_edit->checked(n) ? 1 : 0)
                                  : m_edit->text(n);
            std::printf("%-18s %s\n", qPrintable(n), qPrintable(v));
        }
    }
    std::fflush(stdout);
}

QString CtlRunner::motivoDoLimite() const
{
    const LinkStats &s = m_link->stats;
    const QString porta = m_pedido.descricaoPorta;
    const int limite = m_pedido.timeoutS;
    if (s.acceptedTotal == 0 && s.rejectedTotal == 0)
        return QStringLiteral("the device on %1 did not answer within %2 s (%3 time-outs, no "
                              "reply). Check the cable, that the timer is switched on "
                              "and that %1 is the port it is connected to.")
            .arg(porta)
            .arg(limite)
            .arg(s.timeoutsTotal);
    if (s.acceptedTotal == 0)
        return QStringLiteral("the device on %1 answered within %2 s, but every reply was "
                              "rejected (%3 bad replies, %4 time-outs). Check that it is a VX308 "
                              "and that nothing else uses the line.")
            .arg(porta)
            .arg(limite)
            .arg(s.rejectedTotal)
            .arg(s.timeoutsTotal);
    return QStringLiteral("the work on %1 was not finished within %2 s: %3 replies accepted, %4 "
                          "rejected, %5 late, %6 time-outs. The timer answers slowly or the line "
                          "is bad; try again with a longer --timeout.")
        .arg(porta)
        .arg(limite)
        .arg(s.acceptedTotal)
        .arg(s.rejectedTotal)
        .arg(s.lateReplies)
        .arg(s.timeoutsTotal);
}

void CtlRunner::terminar(int status)
{
    // The engine may be deep inside nested waits: leave from here.
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(status);
}
