#pragma once

namespace vx {

// Where the connection to the timer stands, for the window's status line and
// the command-line tool. A value only: the engine's watcher keeps it current,
// front ends draw it.
struct ConnectionState
{
    enum class Phase
    {
        NoPort,       // no port open: before "Lêr", after "Sair"
        PortOpen,     // the port is open, no read has finished yet
        Reading,      // the full read runs: `step` of `steps` memory reads
        Connected,    // the timer has been read and answers
        NotAnswering, // requests time out; the link keeps trying
    };

    Phase phase = Phase::NoPort;
    int step = 0;
    int steps = 0;

    bool operator==(const ConnectionState &) const = default;
};

} // namespace vx
