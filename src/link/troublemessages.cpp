#include "troublemessages.h"

namespace vx {

Trouble troubleOf(SerialPort::OpenFailure failure)
{
    switch (failure) {
    case SerialPort::OpenFailure::Missing:
        return Trouble::PortMissing;
    case SerialPort::OpenFailure::PermissionDenied:
        return Trouble::PortPermissionDenied;
    case SerialPort::OpenFailure::Busy:
        return Trouble::PortBusy;
    case SerialPort::OpenFailure::None:
    case SerialPort::OpenFailure::Other:
        break;
    }
    return Trouble::PortUnusable;
}

Trouble troubleOf(LinkFault fault, SerialPort::OpenFailure failure)
{
    switch (fault) {
    case LinkFault::PortUnavailable:
        return troubleOf(failure);
    case LinkFault::RejectedReplies:
        return Trouble::RejectedReplies;
    case LinkFault::None:
    case LinkFault::NoReply:
        break;
    }
    return Trouble::NoReply;
}

QString troubleMessage(Trouble trouble, int idioma, const QString &device,
                       const QString &systemText)
{
    QString out = textIn(textAt(kTroubleTexts, trouble), idioma);
    // Without the system's words the sentence ends at the device.
    if (systemText.isEmpty()) out.replace(QLatin1String(": %2"), QLatin1String("."));
    out.replace(QLatin1String("%1"), device);
    out.replace(QLatin1String("%2"), systemText);
    return out;
}

} // namespace vx
