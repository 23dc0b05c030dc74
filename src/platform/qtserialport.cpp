#include "qtserialport.h"

#include <QFileInfo>
#include <QSerialPort>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace vx {

QString PortMap::pathFor(int n) const
{
    if (m_paths.contains(n)) return m_paths.value(n);
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

bool PortMap::parse(const QString &assignment)
{
    const int eq = assignment.indexOf(QLatin1Char('='));
    if (eq <= 0 || eq == assignment.size() - 1) return false;
    bool ok = false;
    const int n = assignment.left(eq).toInt(&ok);
    if (!ok || n < 1 || n > 255) return false;
    m_paths[n] = assignment.mid(eq + 1);
    return true;
}

namespace {

// Whether this user may read and write the device (always true where the
// system has no such check).
bool mayReadWrite(const QString &path)
{
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
#else
    Q_UNUSED(path);
    return true;
#endif
}

// The device a path names, by the one name every path to it shares: a
// relative path is taken from the current folder (QSerialPort would look
// for it under /dev), and links are followed, so that the port's lock file
// is the same whether it is reached through /dev/serial/by-id, a link made
// for it or its own name.
QString resolvedDevice(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

SerialPort::OpenFailure QtSerialPort::classify(int serialPortError, bool exists, bool mayReadWrite)
{
    switch (static_cast<QSerialPort::SerialPortError>(serialPortError)) {
    case QSerialPort::NoError:
        return OpenFailure::None;
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::Missing;
    case QSerialPort::PermissionError:
        if (!exists) return OpenFailure::Missing;
        return mayReadWrite ? OpenFailure::Busy : OpenFailure::PermissionDenied;
    default:
        return exists ? OpenFailure::Other : OpenFailure::Missing;
    }
}

QtSerialPort::QtSerialPort(PortMap map, QObject *parent)
    : SerialPort(parent), m_map(std::move(map)), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, [this] { bytesArrived(); });
    // An adapter pulled out of the PC: close, so the next open finds it again
    // when it is plugged back in.
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError && m_port->isOpen()) {
            m_error = m_port->errorString();
            m_port->close();
        }
    });
}

QtSerialPort::~QtSerialPort() = default;

bool QtSerialPort::setPortNumber(int n)
{
    if (n < 1 || n > 255) return false;
    if (m_port->isOpen()) m_port->close();
    m_number = n;
    m_devicePath.clear();
    m_port->setPortName(resolvedDevice(m_map.pathFor(n)));
    return true;
}

bool QtSerialPort::setDevicePath(const QString &path)
{
    if (path.isEmpty()) return false;
    if (m_port->isOpen()) m_port->close();
    m_devicePath = path;
    m_port->setPortName(resolvedDevice(path));
    return true;
}

QString QtSerialPort::devicePath() const
{
    return m_devicePath.isEmpty() ? m_map.pathFor(m_number) : m_devicePath;
}

bool QtSerialPort::open()
{
    if (m_port->isOpen()) return true;
    m_port->setPortName(resolvedDevice(devicePath()));
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_error = m_port->errorString();
        const QString path = resolvedDevice(devicePath());
        m_failure = classify(m_port->error(), QFileInfo::exists(path), mayReadWrite(path));
        return false;
    }
    // On a pseudo-terminal the modem-line ioctls fail with "unsupported
    // operation"; that says nothing about whether the line works, so the
    // results of these setters are not treated as failures.
    m_port->setBaudRate(QSerialPort::Baud19200);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    m_port->clearError();
    m_error.clear();
    m_failure = OpenFailure::None;
    return true;
}

void QtSerialPort::close()
{
    if (m_port->isOpen()) m_port->close();
}

bool QtSerialPort::isOpen() const
{
    return m_port->isOpen();
}

bool QtSerialPort::write(const QByteArray &data)
{
    if (!m_port->isOpen()) return false;
    return m_port->write(data) == data.size();
}

qint64 QtSerialPort::bytesWaiting() const
{
    return m_port->isOpen() ? m_port->bytesAvailable() : 0;
}

QByteArray QtSerialPort::readAll()
{
    return m_port->isOpen() ? m_port->readAll() : QByteArray();
}

void QtSerialPort::discardInput()
{
    if (!m_port->isOpen()) return;
    m_port->readAll();
    m_port->clear(QSerialPort::Input);
}

} // namespace vx
