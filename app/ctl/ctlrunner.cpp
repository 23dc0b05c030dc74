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
const char *const kDisplayOnly[] = {"Text_master_ibut", "Text_rtc_data", "Text_rtc_hora",
                                    "Text_ibutsn"};

QString toQString(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<int>(s.size()));
}

} // namespace

CtlRunner::CtlRunner(Job request)
    : m_job(std::move(request)), m_messages(std::make_unique<StderrMessages>()),
      m_clock(std::make_unique<SystemClock>()), m_end(std::make_unique<RecordingEnd>()),
      m_edit(std::make_unique<EditSet>(*m_messages)),
      m_link(std::make_unique<Link>(*m_job.port, *m_messages, m_end.get())),
      m_engine(std::make_unique<Engine>(*m_edit, *m_link, *m_clock, *m_messages, *m_end))
{
    m_link->setObserver(m_job.observer);
    m_engine->setBaseTitle(QStringLiteral("Manutenção VX308 v3.5"));
    connect(m_engine.get(), &Engine::readFinished, this, &CtlRunner::onReadFinished);
    connect(m_engine.get(), &Engine::tickFinished, this, &CtlRunner::onWriteFinished);
    connect(m_engine.get(), &Engine::readProgress, this, [this](int done, int steps) {
        m_progress.show(QStringLiteral("reading"), done, steps);
    });
    connect(m_engine.get(), &Engine::readFinished, this, [this] { m_progress.finish(); });
    connect(m_edit.get(), &EditSet::valueRefused, this, [this](const QString &c, const QString &t) {
        m_progress.finish();
        std::fprintf(stderr, "vx308ctl: %s: \"%s\" cannot be stored in the device; not written\n",
                     qPrintable(c), qPrintable(t));
        m_unwritten.remove(c);
        m_status = 1;
    });
    connect(m_edit.get(), &EditSet::valueWritten, this,
            [this](const QString &c) { m_unwritten.remove(c); });
    connect(m_edit.get(), &EditSet::valueWritten, this, [this] {
        if (m_toWrite > 0)
            m_progress.show(QStringLiteral("writing"),
                            m_toWrite - static_cast<int>(m_unwritten.size()), m_toWrite);
    });
    connect(m_engine.get(), &Engine::engineStopped, this, [this] { finish(m_status); });
}

CtlRunner::~CtlRunner() = default;

bool CtlRunner::isKnownField(const QString &name)
{
    return fieldIndex(name.toStdString()) >= 0;
}

void CtlRunner::start()
{
    if (!m_job.port->open()) {
        std::fprintf(stderr, "vx308ctl: cannot open %s: %s\n", qPrintable(m_job.portDescription),
                     qPrintable(m_job.port->errorText()));
        finish(2);
    }
    m_job.port->close();
    // The whole job must be done within the time limit; a device that stays
    // silent keeps the engine retrying, so the limit is what ends it.
    QTimer::singleShot(std::chrono::seconds(m_job.timeoutSeconds), this, [this] {
        std::fprintf(stderr, "vx308ctl: %s\n", qPrintable(timeoutReason()));
        finish(2);
    });
    m_engine->Command_ler_Click();
}

void CtlRunner::onReadFinished()
{
    ++m_reads;
    switch (m_job.action) {
    case Action::Read:
        print();
        m_engine->Command_testar_Click();
        break;
    case Action::Set:
        if (m_reads > 1) return;
        for (const auto &[field, text] : m_job.values) {
            if (field.startsWith(QLatin1String("Check_"))) {
                m_edit->setChecked(field, text != QLatin1String("0"));
                continue;
            }
            m_edit->gotFocus(field);
            m_edit->setText(field, text);
            m_edit->keyPress(field, 13);
            if (!m_edit->pending(field)) {
                std::fprintf(stderr, "vx308ctl: %s: \"%s\" refused\n", qPrintable(field),
                             qPrintable(text));
                m_status = 1;
                continue;
            }
            m_unwritten.insert(field);
        }
        m_writing = true;
        m_toWrite = static_cast<int>(m_unwritten.size());
        break;
    case Action::Clear:
        if (m_reads == 1) {
            m_engine->Command_clear_Click();
        } else {
            print();
            m_engine->Command_testar_Click();
        }
        break;
    }
}

void CtlRunner::onWriteFinished()
{
    // The tick after the values were confirmed has taken them all. Each is
    // done only once the timer accepted its write; one that was taken but
    // not accepted is said, never passed over as written.
    if (!m_writing || m_edit->anyPending()) return;
    m_writing = false;
    m_progress.finish();
    for (const QString &field : std::as_const(m_unwritten)) {
        std::fprintf(stderr, "vx308ctl: %s: the timer did not confirm the write\n",
                     qPrintable(field));
        m_status = 2;
    }
    m_engine->Command_testar_Click();
}

void CtlRunner::print()
{
    QStringList names;
    for (const Field &c : kFields)
        names << toQString(c.name);
    for (const char *n : kDisplayOnly)
        names << QLatin1String(n);
    if (m_job.json) {
        QJsonObject o;
        for (const QString &n : names) {
            if (n.startsWith(QLatin1String("Check_")))
                o.insert(n, m_edit->checked(n) ? 1 : 0);
            else
                o.insert(n, m_edit->text(n));
        }
        o.insert(QStringLiteral("title"), m_edit->title());
        std::printf("%s", QJsonDocument(o).toJson(QJsonDocument::Indented).constData());
    } else {
        std::printf("%-18s %s\n", "title", qPrintable(m_edit->title()));
        for (const QString &n : names) {
            const QString v = n.startsWith(QLatin1String("Check_"))
                                  ? QString::number(m_edit->checked(n) ? 1 : 0)
                                  : m_edit->text(n);
            std::printf("%-18s %s\n", qPrintable(n), qPrintable(v));
        }
    }
    std::fflush(stdout);
}

QString CtlRunner::timeoutReason() const
{
    const LinkStats &s = m_link->stats;
    const QString port = m_job.portDescription;
    const int limit = m_job.timeoutSeconds;
    if (s.acceptedTotal == 0 && s.rejectedTotal == 0)
        return QStringLiteral("the device on %1 did not answer within %2 s (%3 time-outs, no "
                              "reply). Check the cable, that the timer is switched on "
                              "and that %1 is the port it is connected to.")
            .arg(port)
            .arg(limit)
            .arg(s.timeoutsTotal);
    if (s.acceptedTotal == 0)
        return QStringLiteral("the device on %1 answered within %2 s, but every reply was "
                              "rejected (%3 bad replies, %4 time-outs). Check that it is a VX308 "
                              "and that nothing else uses the line.")
            .arg(port)
            .arg(limit)
            .arg(s.rejectedTotal)
            .arg(s.timeoutsTotal);
    return QStringLiteral("the work on %1 was not finished within %2 s: %3 replies accepted, %4 "
                          "rejected, %5 late, %6 time-outs. The timer answers slowly or the line "
                          "is bad; try again with a longer --timeout.")
        .arg(port)
        .arg(limit)
        .arg(s.acceptedTotal)
        .arg(s.rejectedTotal)
        .arg(s.lateReplies)
        .arg(s.timeoutsTotal);
}

void CtlRunner::finish(int status)
{
    // The engine may be deep inside nested waits: leave from here.
    m_progress.finish();
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(status);
}
