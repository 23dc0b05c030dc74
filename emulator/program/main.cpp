// vx308-emulator: a VX308 behind a pseudo-terminal, for trying the
// maintenance tool without a unit. See --help.

#include "clock.h"
#include "deviceimage.h"
#include "emulatoroptions.h"
#include "ptyserver.h"
#include "requestlog.h"
#include "signalwatcher.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "vx308-emulator: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// The save file is written at the very end; a directory that is not there
// must show now, not after an hour of training.
bool saveTargetUsable(const QString &path, QString *why)
{
    const QFileInfo dir(QFileInfo(path).absolutePath());
    if (!dir.isDir() || !dir.isWritable()) {
        *why = QStringLiteral("cannot write in %1 (for --save)").arg(dir.filePath());
        return false;
    }
    const QFileInfo file(path);
    if (file.exists() && (!file.isFile() || !file.isWritable())) {
        *why = QStringLiteral("%1 cannot be overwritten (for --save)").arg(path);
        return false;
    }
    return true;
}

} // namespace

// A command line the emulator cannot use (BSD's EX_USAGE, as the other programs).
constexpr int kExitUsage = 64;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString error;
    const auto options = EmulatorOptions::parse(app.arguments(), &error);
    if (!options) {
        say(error);
        say(QStringLiteral("try --help"));
        return kExitUsage;
    }
    if (options->help) {
        std::fputs(EmulatorOptions::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (options->version) {
        std::printf("vx308-emulator %s\n", VX_VERSION);
        return 0;
    }

    // The device's own pace: the program has no option to hurry it.
    const vx::SystemClock clock;
    vx::emu::PtyServer server(clock);
    vx::emu::Device &device = server.device();
    if (options->memoryFill) {
        std::array<uint8_t, vx::emu::Device::kMemorySize> memory{};
        memory.fill(*options->memoryFill);
        device.setMemory(memory);
    }
    if (!options->memoryFile.isEmpty()) {
        const auto image = vx::emu::DeviceImage::load(options->memoryFile, &error);
        if (!image) {
            say(error);
            return 2;
        }
        image->applyTo(device);
    }
    if (options->inputs) device.setInputs(*options->inputs);
    if (options->battery) device.setBattery(static_cast<uint8_t>(*options->battery));
    if (options->ibutton) device.setIbutton(*options->ibutton);
    server.faults() = options->faults;

    if (!options->saveFile.isEmpty() && !saveTargetUsable(options->saveFile, &error)) {
        say(error);
        return 2;
    }
    vx::emu::RequestLog log;
    if (!options->logFile.isEmpty() && !log.open(options->logFile, &error)) {
        say(error);
        return 2;
    }
    QObject::connect(
        &server, &vx::emu::PtyServer::requestReceived, &app,
        [&log](const QByteArray &frame, unsigned faults) { log.write(frame, faults); });
    QObject::connect(&server, &vx::emu::PtyServer::goneChanged, &app, [](bool gone) {
        say(gone ? QStringLiteral("adapter pulled out") : QStringLiteral("adapter back"));
    });

    SignalWatcher signalWatcher({SIGINT, SIGTERM, SIGHUP});
    if (!signalWatcher.isValid()) {
        say(QStringLiteral("cannot watch for signals"));
        return 1;
    }
    QObject::connect(&signalWatcher, &SignalWatcher::caught, &app,
                     [] { QCoreApplication::exit(0); });

    if (!server.start(options->link)) {
        say(server.errorText());
        return 1;
    }
    if (options->goneAtWrite > 0) server.setGoneAtWrite(options->goneAtWrite, options->goneForMs);
    if (options->goneAfterMs >= 0) {
        QTimer::singleShot(options->goneAfterMs, &server,
                           [&server, ms = options->goneForMs] { server.setGone(ms); });
    }

    // First line of standard output: the terminal, for scripts and people.
    std::printf("%s\n", server.slavePath().toLocal8Bit().constData());
    std::fflush(stdout);
    say(options->link.isEmpty()
            ? QStringLiteral("ready on %1; Ctrl+C to stop").arg(server.slavePath())
            : QStringLiteral("ready on %1 -> %2; Ctrl+C to stop")
                  .arg(options->link, server.slavePath()));

    int status = app.exec();
    server.stop();
    if (!options->saveFile.isEmpty()) {
        if (vx::emu::DeviceImage::of(device).save(options->saveFile, &error))
            say(QStringLiteral("unit saved to %1").arg(options->saveFile));
        else {
            say(error);
            status = 1;
        }
    }
    return status;
}
