#pragma once

#include <QObject>
#include <initializer_list>
#include <vector>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and the like into a Qt signal on the main thread.
//
// The handler only writes the signal number into a pipe (write() is safe in a
// signal handler); the event loop reads it and does the real work, such as
// saving the device, outside the handler.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(std::initializer_list<int> signals_, QObject *parent = nullptr);
    ~SignalWatcher() override;
    bool isValid() const { return m_notifier != nullptr; }

signals:
    void caught(int signalNumber);

private:
    void drain();
    QSocketNotifier *m_notifier = nullptr;
    std::vector<int> m_signals;
};
