// vx308-maint: the VX308 maintenance tool. See --help.

#include "application.h"
#include "autotestread.h"
#include "clock.h"
#include "dialogmessages.h"
#include "emulatorprocess.h"
#include "messages.h"
#include "options.h"
#include "programend.h"
#include "qtfiledialogs.h"
#include "qtportinfosource.h"
#include "qtrecordsdatabase.h"
#include "qtreportprinter.h"
#include "qtserialport.h"
#include "recordschoice.h"
#include "recordslocation.h"
#include "sharedfiles.h"
#include "tables.h"
#include "tracefile.h"
#include "traffictrace.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QStyleFactory>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

constexpr int kExitUsage = 64;

void say(const QString &text)
{
    std::fprintf(stderr, "vx308-maint: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// --demo: the emulator program on a pseudo-terminal, reached on every port as
// a timer on a USB adapter would be. False with the reason in *error.
bool startDemoDevice(vx::EmulatorProcess &emulator, vx::PortMap &map, QString *error)
{
    const QStringList searchPath =
        qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    // The in-window demo has always answered at once: no line pacing.
    if (!emulator.start(QApplication::applicationDirPath(), searchPath,
                        {QStringLiteral("--no-pace")})) {
        *error = emulator.errorText();
        return false;
    }
    for (int n = 1; n <= 4; ++n)
        map.set(n, emulator.terminalPath());
    say(QStringLiteral("demo device on %1: %2, process %3")
            .arg(emulator.terminalPath(), emulator.program())
            .arg(emulator.processId()));
    QObject::connect(&emulator, &vx::EmulatorProcess::endedUnexpectedly, &say);
    return true;
}

// --shared-folder: where a first start copies the report layout from, so an
// installation can be checked without a display.
int printSharedFolder(int argc, char **argv)
{
    const QCoreApplication core(argc, argv);
    QString error;
    const QString layout = vx::SharedFiles::find(vx::toQString(vx::kTemplateFile), &error);
    if (layout.isEmpty()) {
        say(error);
        return 1;
    }
    std::printf("%s\n", QFileInfo(layout).absolutePath().toLocal8Bit().constData());
    return 0;
}

// The folder of the database files: --data, the user's data folder with
// --user-data (made when missing), or else the current folder (empty).
bool chooseDataFolder(const vx::Options &options, QString *folder, QString *error)
{
    *folder = options.dataFolder;
    if (!options.userData) return true;
    *folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!folder->isEmpty() && QDir().mkpath(*folder)) return true;
    *error = QStringLiteral("vx308-maint: cannot make the data folder %1; check that your home "
                            "folder is writable, or choose a folder with --data")
                 .arg(QDir::toNativeSeparators(*folder));
    return false;
}

// The unit records: --records, else the choice kept from an earlier start,
// else the data folder's own Registo.db. The demo's emulated timer never
// takes numbers from the shared records unless told to with --records.
bool chooseRecords(const vx::Options &options, const QString &dataFolder,
                   vx::RecordsLocation *location, QString *error)
{
    const bool demo = options.demo && options.records.isEmpty();
    QString note;
    if (!vx::RecordsChoice().choose(demo ? vx::RecordsChoice::localWord() : options.records,
                                    dataFolder, !options.demo, location, error, &note))
        return false;
    if (!note.isEmpty()) say(note);
    if (location->kind == vx::RecordsLocation::Kind::Postgres)
        say(QStringLiteral("records: %1").arg(location->display()));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // The command line is read before the application object exists, so
    // --help and a wrong option need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString error;
    const auto options = vx::Options::parse(arguments, &error);
    if (!options) {
        say(error);
        say(QStringLiteral("try --help"));
        return kExitUsage;
    }
    if (options->help) {
        std::fputs(vx::Options::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (options->version) {
        std::printf("vx308-maint %s\n", VX_VERSION);
        return 0;
    }
    if (options->sharedFolder) return printSharedFolder(argc, argv);
    // Opened before anything touches a port, so that a wrong path costs the
    // timer nothing.
    vx::TraceFile traceFile;
    if (!options->traceFile.isEmpty() &&
        !traceFile.open(options->traceFile, &error,
                        QLocale::system().language() == QLocale::Portuguese ? 0 : 1)) {
        say(error);
        return kExitUsage;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vx308-maint"));
    QApplication::setApplicationVersion(QStringLiteral(VX_VERSION));
    // Names the installed desktop entry, whose icon the window then shows.
    QApplication::setDesktopFileName(QStringLiteral("pt.vx308.maint"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    vx::DialogMessages messages;
    vx::StderrMessages consoleMessages;
    // Unattended, a message box would wait for a click that never comes.
    vx::MessageSink &sink =
        options->autotestRead ? static_cast<vx::MessageSink &>(consoleMessages) : messages;

    vx::PortMap portMap;
    for (const QString &c : options->portPaths)
        portMap.parse(c);
    vx::EmulatorProcess demo;
    if (options->demo && !startDemoDevice(demo, portMap, &error)) {
        say(error);
        if (!options->autotestRead) sink.show(error, {}, vx::MessageSink::Icon::Critical);
        return 1;
    }

    vx::QtSerialPort port(portMap);
    vx::ProcessExit end;
    // Leaving through the window ends the process where it stands, past every
    // destructor: the demo device is stopped on the way out instead.
    end.setBeforeExit([&demo] { demo.stop(); });
    vx::SystemClock clock(options->timeScale);
    vx::QtReportPrinter printer;

    QString dataFolder;
    if (!chooseDataFolder(*options, &dataFolder, &error)) {
        say(error);
        sink.show(error, {}, vx::MessageSink::Icon::Critical);
        return 1;
    }
    vx::RecordsLocation recordsLocation;
    if (!chooseRecords(*options, dataFolder, &recordsLocation, &error)) {
        say(error);
        return kExitUsage;
    }
    // Opened on first use: a server that is away at start-up refuses only
    // what needs it (a new unit), not the rest of the window.
    vx::QtRecordsDatabase records(recordsLocation, vx::QtRecordsDatabase::Mode::CreateIfMissing);
    const vx::Application::Setup setup{dataFolder,
                                       options->factory,
                                       options->screenSize,
                                       {},
                                       options->demo || !options->portPaths.isEmpty()};
    vx::QtPortInfoSource portInfos;
    vx::QtFileDialogs fileDialogs;
    vx::Application application(
        setup, {port, records, sink, end, clock, printer, &portInfos, &fileDialogs});
    // A trace that can no longer be written (a full disk) ends the program
    // as one that cannot be opened does: a problem report must not miss
    // frames without a word.
    if (traceFile.isOpen())
        QObject::connect(&application.trafficTrace(), &vx::TrafficTrace::lineAdded,
                         [&traceFile, &port, &demo](const QString &line) {
                             if (traceFile.write(line)) return;
                             say(traceFile.errorText());
                             port.close();
                             demo.stop();
                             std::fflush(stdout);
                             ::_exit(kExitUsage);
                         });
    std::unique_ptr<vx::AutotestRead> auto_;
    if (options->autotestRead)
        auto_ = std::make_unique<vx::AutotestRead>(application.splash(), application.window(),
                                                   application.edit(), application.engine(),
                                                   application.shutdown());
    if (auto_ && !options->screenshot.isEmpty()) auto_->setScreenshot(options->screenshot);
    if (!application.start()) return 1;
    return app.exec();
}
