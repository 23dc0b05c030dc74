#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace vx {

// The serial line to the timer, as the link sees it. The link never touches
// QSerialPort; the window, the command-line tool and the tests each hand it
// one of these.
class SerialPort : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override = default;

    // Port numbers are the technician's "Com N"; false when the number cannot
    // be mapped to a device at all.
    virtual bool setPortNumber(int n) = 0;
    virtual int portNumber() const = 0;
    // A device by its path instead of a number (a USB adapter the system
    // lists); a later setPortNumber goes back to numbers. False when this
    // kind of port cannot be reached by path.
    virtual bool setDevicePath(const QString &path)
    {
        Q_UNUSED(path);
        return false;
    }
    // What open() opens now, for the status line and messages.
    virtual QString devicePath() const { return QStringLiteral("Com %1").arg(portNumber()); }
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool write(const QByteArray &data) = 0;
    virtual qint64 bytesWaiting() const = 0;
    virtual QByteArray readAll() = 0;
    virtual void discardInput() = 0;
    // Why the last open failed, for logs and the command-line tool.
    virtual QString errorText() const { return {}; }

    // What kind of failure the last open was, so that the technician is told
    // what to do about it, not only the system's words.
    enum class OpenFailure
    {
        None,             // the last open worked, or none was tried
        Missing,          // no such device: wrong port, adapter not plugged in
        PermissionDenied, // the device is there, this user may not open it
        Busy,             // another program holds it
        Other
    };
    virtual OpenFailure openFailure() const { return OpenFailure::None; }
    // The device the port number stands for, as the technician would name it.
    virtual QString deviceName() const { return QStringLiteral("Com %1").arg(portNumber()); }

    // The receive notification fires once at least this many characters wait.
    void setReceiveThreshold(int n) { m_threshold = n; }
    int receiveThreshold() const { return m_threshold; }

signals:
    void receiveNotification();

protected:
    // Implementations call this whenever bytes arrive.
    void bytesArrived()
    {
        if (bytesWaiting() >= m_threshold) emit receiveNotification();
    }

private:
    int m_threshold = 1;
};

} // namespace vx
