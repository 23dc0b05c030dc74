#pragma once

#include "serialport.h"

#include <QMap>

class QSerialPort;

namespace vx {

// Port number N -> device path. Defaults to the PC's own serial ports
// (COM<N> on Windows, /dev/ttyS<N-1> elsewhere); "--com N=PATH" overrides one.
class PortMap
{
public:
    QString pathFor(int n) const;
    void set(int n, const QString &path) { m_paths[n] = path; }
    // Parses "N=PATH"; false when the text is not of that shape.
    bool parse(const QString &assignment);

private:
    QMap<int, QString> m_paths;
};

// 19200 bit/s, 8 data bits, no parity, 1 stop bit, no flow control, raw bytes.
class QtSerialPort : public SerialPort
{
    Q_OBJECT
public:
    explicit QtSerialPort(PortMap map = {}, QObject *parent = nullptr);
    ~QtSerialPort() override;

    bool setPortNumber(int n) override;
    int portNumber() const override { return m_number; }
    bool setDevicePath(const QString &path) override;
    QString devicePath() const override;
    bool open() override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray &data) override;
    qint64 bytesWaiting() const override;
    QByteArray readAll() override;
    void discardInput() override;
    QString errorText() const override { return m_error; }
    OpenFailure openFailure() const override { return m_failure; }
    QString deviceName() const override { return m_map.pathFor(m_number); }

    // QSerialPort reports "no permission" and "held by another program" with
    // the same code; whether the user may read and write the device tells
    // them apart. `serialPortError` is a QSerialPort::SerialPortError.
    static OpenFailure classify(int serialPortError, bool exists, bool mayReadWrite);

private:
    PortMap m_map;
    QSerialPort *m_port;
    int m_number = 1;
    // Set by setDevicePath; wins over the number until setPortNumber.
    QString m_devicePath;
    QString m_error;
    OpenFailure m_failure = OpenFailure::None;
};

} // namespace vx
