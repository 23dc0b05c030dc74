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
    connect(m_engine.get(), &Engine::valorRecusado, this,
            [this](const QString &c, const QString &t) {
                std::fprintf(stderr,
                             "vx308ctl: %s: \"%s\" cannot be stored in the device; not written\n",
                             qPrintable(c), qPrintable(t));
                m_status = 1;
            });
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
    QTimer::singleShot(m_pedido.timeoutS * 1000, this, [this] {
        std::fprintf(stderr,
                     "vx308ctl: the device on %s did not answer within %d s "
                     "(%.0f frames sent, %d time-outs, %d bad replies)\n",
                     qPrintable(m_pedido.descricaoPorta), m_pedido.timeoutS, m_link->stats.n_tramas,
                     m_link->stats.to_erros, m_link->stats.bf_erros);
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
            }
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
    // The tick after the values were confirmed has written them all.
    if (m_aEscrever && !m_edit->algumPendente()) {
        m_aEscrever = false;
        m_engine->Command_testar_Click();
    }
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

void CtlRunner::terminar(int status)
{
    // The engine may be deep inside nested waits: leave from here.
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(status);
}
