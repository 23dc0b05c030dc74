#pragma once

// The whole maintenance tool on the bench, window included: the wiring of
// vx308-maint with an emulated timer inside the process, the database files
// in a temporary folder (shared between "runs" so a restart finds what the
// last run stored), recorded messages, a program end that only records, and a clock
// that stands still. Its intervals run at 2 %.

#include "application.h"
#include "clock.h"
#include "databases.h"
#include "editset.h"
#include "emulatedport.h"
#include "engine.h"
#include "eventwait.h"
#include "fixedclock.h"
#include "fixedportinfosource.h"
#include "formmain.h"
#include "frame.h"
#include "frmsplash.h"
#include "link.h"
#include "messages.h"
#include "portinfo.h"
#include "programend.h"
#include "qtrecordsdatabase.h"
#include "recordingend.h"
#include "recordingmessages.h"
#include "recordingreportprinter.h"
#include "recordslocation.h"
#include "reportprinter.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

// Runs the event loop until cond() holds; false after `ms` of real time.
inline bool waitFor(const std::function<bool()> &cond, int ms = 20000)
{
    QElapsedTimer t;
    t.start();
    QTimer beat;
    beat.start(10);
    while (!cond()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Saves a picture of `w` as `name` in $VX_SCREENSHOT_DIR, when it is set.
inline void saveScreenshot(QWidget *w, const char *name)
{
    const QByteArray dir = qgetenv("VX_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    w->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QLatin1String(name)));
}

// What stays between two runs: the data folder with its settings file and
// the unit records (real SQLite files in the folder, or records elsewhere).
struct PersistentData
{
    PersistentData() = default;
    explicit PersistentData(const vx::RecordsLocation &location)
        : records(location, vx::QtRecordsDatabase::Mode::CreateIfMissing)
    {
    }

    QTemporaryDir dir;
    vx::QtRecordsDatabase records{
        vx::RecordsLocation::sqliteFile(dir.filePath(QStringLiteral("Registo.db"))),
        vx::QtRecordsDatabase::Mode::CreateIfMissing};
};

struct AppBench
{
    explicit AppBench(PersistentData &persistent, vx::Application::Setup setup = {},
                      vx::MessageSink *sink = nullptr)
    {
        port.device().loadDefaultMemory();
        if (setup.dataFolder.isEmpty()) setup.dataFolder = persistent.dir.path();
        if (!setup.screen.isValid()) setup.screen = QSize(1024, 768);
        if (setup.portMemoryFile.isEmpty())
            setup.portMemoryFile = persistent.dir.filePath(QStringLiteral("vx308-maint.ini"));
        app = std::make_unique<vx::Application>(
            setup, vx::Application::Platform{port, persistent.records, sink ? *sink : messages, end,
                                             clock, printer, &portInfos});
    }

    vx::FixedClock clock{0.02};
    vx::emu::EmulatedPort port{clock};
    vx::RecordingMessages messages;
    vx::RecordingEnd end;
    vx::RecordingReportPrinter printer;
    vx::FixedPortInfoSource portInfos;
    std::unique_ptr<vx::Application> app;

    vx::FormMain &window() { return app->window(); }
    vx::EditSet &edit() { return app->edit(); }
    vx::Engine &engine() { return app->engine(); }

    // Start-up through the splash until the main window is shown.
    bool startUp()
    {
        bool ready = false;
        QObject::connect(&app->splash(), &vx::FrmSplash::handedOver, [&ready] { ready = true; });
        return app->start() && waitFor([&] { return ready; });
    }

    void click(const char *button)
    {
        auto *b = qobject_cast<QAbstractButton *>(window().control(QLatin1String(button)));
        Q_ASSERT(b);
        b->click();
    }

    // "Clear" on the window, then its confirmation's "Pôr a zero".
    bool clearAndConfirm()
    {
        click("Command_clear");
        auto *confirm =
            window().findChild<QAbstractButton *>(QStringLiteral("Command_clear_confirm"));
        if (!confirm) return false;
        confirm->click();
        return true;
    }

    // "Lêr" on the window and wait for the read to end.
    bool read()
    {
        bool readDone = false;
        auto c = QObject::connect(&engine(), &vx::Engine::readFinished, [&] { readDone = true; });
        click("Command_ler");
        const bool ok = waitFor([&] { return readDone; });
        QObject::disconnect(c);
        return ok;
    }
};

// Every request frame the link writes, by command byte.
struct SentCommands
{
    explicit SentCommands(vx::Link &link)
    {
        QObject::connect(&link, &vx::Link::requestSent,
                         [this](const QByteArray &f) { commands << vx::requestHeader(f).comando; });
    }
    int count(vx::Command comando) const { return static_cast<int>(commands.count(comando)); }
    QList<vx::Command> commands;
};
