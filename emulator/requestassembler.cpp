#include "requestassembler.h"

#include "device.h"
#include "frame.h"

namespace vx::emu {

QList<QByteArray> RequestAssembler::feed(const QByteArray &bytes)
{
    m_buffer += bytes;
    QList<QByteArray> frames;
    for (;;) {
        const qsizetype start = m_buffer.indexOf('#');
        if (start < 0) {
            m_buffer.clear();
            break;
        }
        m_buffer.remove(0, start);
        if (m_buffer.size() < kFrameLength) break;
        const QByteArray candidate = m_buffer.left(kFrameLength);
        if (Device::requestValid(candidate)) {
            frames << candidate;
            m_buffer.remove(0, kFrameLength);
        } else {
            ++m_rejected;
            m_buffer.remove(0, 1);
        }
    }
    return frames;
}

} // namespace vx::emu
