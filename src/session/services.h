#pragma once

namespace vx {

class Databases;
class Clock;
class ConnectionWatcher;
class EditSet;
class Engine;
class Link;
class MessageSink;
class NewUnit;
class PortChooser;
class Defaults;
class Report;
class Shutdown;
class ClearSnapshots;
class ServiceHistory;
class VisitRecorder;

// What the main window forwards the technician's actions to. The window owns
// none of it: the application (or a test) builds these and hands them over.
struct Services
{
    EditSet &edit;
    Engine &engine;
    Link &link;
    Databases &databases;
    MessageSink &messages;
    const Clock &clock;
    PortChooser &ports;
    Shutdown &shutdown;
    NewUnit &newUnit;
    Report &report;
    Defaults &defaults;
    ClearSnapshots &clearSnapshots;
    ConnectionWatcher &connection;
    ServiceHistory &history;
    VisitRecorder &visits;
};

} // namespace vx
