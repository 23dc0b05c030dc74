#pragma once

#include <QByteArray>
#include <QList>

namespace vx::emu {

// Cuts the byte stream from the PC into request frames.
//
// The "$" that precedes every request, line noise and the remains of a
// request cut short are skipped: a frame is the 29 characters from a '#'.
// When those 29 do not make a valid request, only the '#' is dropped and the
// search goes on, so a real request hidden behind a false start is still
// found.
class RequestAssembler
{
public:
    // Valid frames completed by these bytes, in order.
    QList<QByteArray> feed(const QByteArray &bytes);
    void clear() { m_buffer.clear(); }
    int rejected() const { return m_rejected; }
    qsizetype pending() const { return m_buffer.size(); }

private:
    QByteArray m_buffer;
    int m_rejected = 0;
};

} // namespace vx::emu
