#include "leituraautomatica.h"

#include "barraestado.h"
#include "editset.h"
#include "engine.h"
#include "formmain.h"
#include "frmsplash.h"
#include "shutdown.h"

#include <QAbstractButton>
#include <QAction>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <cstdio>

namespace vx {

LeituraAutomatica::LeituraAutomatica(FrmSplash &splash, FormMain &janela, EditSet &edit,
                                     Engine &engine, Shutdown &saida, int prazoMs, QObject *parent)
    : QObject(parent), m_janela(janela), m_edit(edit), m_saida(saida)
{
    connect(&splash, &FrmSplash::concluido, this, &LeituraAutomatica::premirLer);
    connect(&engine, &Engine::leituraTerminada, this, [this] {
        // Let the window take the last changes before the fields are taken.
        QTimer::singleShot(0, this, [this] { terminar(camposJson(m_edit)); });
    });
    m_prazo.setSingleShot(true);
    m_prazo.setInterval(prazoMs);
    connect(&m_prazo, &QTimer::timeout, this, [this] {
        terminar(QByteArrayLiteral("{\"erro\":\"a leitura não terminou a tempo\"}"));
    });
}

void LeituraAutomatica::premirLer()
{
    m_prazo.start();
    if (auto *b = qobject_cast<QAbstractButton *>(m_janela.controlo(QStringLiteral("Command_ler"))))
        b->click();
}

QByteArray LeituraAutomatica::camposJson(const EditSet &edit)
{
    QJsonObject o;
    const QStringList nomes = edit.names();
    for (const QString &n : nomes) {
        const ControlState &s = edit.control(n);
        if (n.startsWith(QLatin1String("Text_")) || n.startsWith(QLatin1String("text_")))
            o.insert(n, s.text);
        else if (n.startsWith(QLatin1String("Check_")))
            o.insert(n, s.checked);
        else if (n.startsWith(QLatin1String("Command_")) || n.startsWith(QLatin1String("command_")))
            o.insert(n, s.enabled);
    }
    o.insert(QStringLiteral("Form_main"), edit.title());
    o.insert(QStringLiteral("Label_percentagem"), edit.text(QStringLiteral("Label_percentagem")));
    o.insert(QStringLiteral("ProgressBar_baterias"),
             edit.control(QStringLiteral("ProgressBar_baterias")).value);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

void LeituraAutomatica::terminar(const QByteArray &linha)
{
    if (m_feito) return;
    m_feito = true;
    m_prazo.stop();
    QString erro;
    if (!m_captura.isEmpty() && !capturar(&erro)) {
        std::fprintf(stderr, "vx308-maint: %s\n", erro.toLocal8Bit().constData());
        std::fflush(stderr);
    }
    std::fprintf(stdout, "%s\n", linha.constData());
    std::fflush(stdout);
    m_saida.sairAplicacao();
}

bool LeituraAutomatica::capturar(QString *erro)
{
    const int antes = m_janela.idioma();
    bool ok = true;
    for (const auto &[idioma, sufixo] : {std::pair{0, "pt"}, std::pair{1, "en"}}) {
        m_janela.accao(idioma == 0 ? QStringLiteral("mnu_pt") : QStringLiteral("mnu_EN"))
            ->trigger();
        // The status line as Timer_horas will show it next.
        m_janela.barraEstado()->actualizar();
        const QString ficheiro = QStringLiteral("%1-%2.png").arg(m_captura, QLatin1String(sufixo));
        if (!m_janela.grab().save(ficheiro)) {
            *erro = QStringLiteral("cannot write %1").arg(ficheiro);
            ok = false;
        }
    }
    m_janela.accao(antes == 0 ? QStringLiteral("mnu_pt") : QStringLiteral("mnu_EN"))->trigger();
    return ok;
}

} // namespace vx
