#include "autotestread.h"

#include "fieldtable.h"

#include "editset.h"
#include "engine.h"
#include "formmain.h"
#include "frmsplash.h"
#include "shutdown.h"
#include "statusline.h"

#include <QAbstractButton>
#include <QAction>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <cstdio>

namespace vx {

AutotestRead::AutotestRead(FrmSplash &splash, FormMain &window, EditSet &edit, Engine &engine,
                           Shutdown &shutdown, int deadlineMs, QObject *parent)
    : QObject(parent), m_window(window), m_edit(edit), m_shutdown(shutdown)
{
    connect(&splash, &FrmSplash::handedOver, this, &AutotestRead::pressRead);
    connect(&engine, &Engine::readFinished, this, [this] {
        // Let the window take the last changes before the fields are taken.
        QTimer::singleShot(0, this, [this] { finish(fieldsJson(m_edit)); });
    });
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(deadlineMs);
    connect(&m_deadline, &QTimer::timeout, this,
            [this] { finish(QByteArrayLiteral("{\"erro\":\"a leitura não terminou a tempo\"}")); });
}

void AutotestRead::pressRead()
{
    m_deadline.start();
    if (auto *b = qobject_cast<QAbstractButton *>(m_window.control(QStringLiteral("Command_ler"))))
        b->click();
}

QByteArray AutotestRead::fieldsJson(const EditSet &edit)
{
    QJsonObject o;
    const QStringList names = edit.names();
    for (const QString &n : names) {
        const ControlState &s = edit.control(n);
        if (n.startsWith(QLatin1String("Text_")) || n.startsWith(QLatin1String("text_")))
            o.insert(n, s.text);
        else if (n.startsWith(QLatin1String("Check_")))
            o.insert(n, s.checked);
        else if (n.startsWith(QLatin1String("Command_")) || n.startsWith(QLatin1String("command_")))
            o.insert(n, s.enabled);
    }
    o.insert(QStringLiteral("Form_main"), edit.title());
    o.insert(fieldName(FieldId::Battery), edit.text(fieldName(FieldId::Battery)));
    o.insert(QStringLiteral("ProgressBar_baterias"),
             edit.control(QStringLiteral("ProgressBar_baterias")).value);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

void AutotestRead::finish(const QByteArray &row)
{
    if (m_done) return;
    m_done = true;
    m_deadline.stop();
    QString error;
    if (!m_screenshot.isEmpty() && !capture(&error)) {
        std::fprintf(stderr, "vx308-maint: %s\n", error.toLocal8Bit().constData());
        std::fflush(stderr);
    }
    std::fprintf(stdout, "%s\n", row.constData());
    std::fflush(stdout);
    m_shutdown.exitApplication();
}

bool AutotestRead::capture(QString *error)
{
    const int before = m_window.idioma();
    bool ok = true;
    for (const auto &[idioma, suffix] : {std::pair{0, "pt"}, std::pair{1, "en"}}) {
        m_window.action(idioma == 0 ? QStringLiteral("mnu_pt") : QStringLiteral("mnu_EN"))
            ->trigger();
        // The status line as Timer_horas will show it next.
        m_window.statusLine()->refresh();
        const QString file = QStringLiteral("%1-%2.png").arg(m_screenshot, QLatin1String(suffix));
        if (!m_window.grab().save(file)) {
            *error = QStringLiteral("cannot write %1").arg(file);
            ok = false;
        }
    }
    m_window.action(before == 0 ? QStringLiteral("mnu_pt") : QStringLiteral("mnu_EN"))->trigger();
    return ok;
}

} // namespace vx
