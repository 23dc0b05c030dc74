#pragma once

#include "faults.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The command line of vx308-emulator.
struct EmulatorOptions
{
    QString link;
    QString memoryFile;
    QString saveFile;
    QString logFile;
    // Every memory byte at start, for a timer never set up (0) or one whose
    // memory was erased (0xFF); a --memory file's own "memory" replaces it.
    std::optional<uint8_t> memoryFill;
    vx::emu::Faults faults;
    // Pull the adapter out once, goneAfterMs after start or as the
    // goneAtWrite-th memory write arrives, for goneForMs.
    int goneAfterMs = -1;
    int goneAtWrite = 0;
    int goneForMs = 5000;
    std::optional<QString> inputs;
    std::optional<int> battery;
    std::optional<QString> ibutton;
    bool help = false;
    bool version = false;

    // Empty optional and a message when the command line is wrong.
    static std::optional<EmulatorOptions> parse(const QStringList &arguments, QString *error);
    static QString helpText();
};
