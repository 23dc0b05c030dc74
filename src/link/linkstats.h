#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <cstdint>

namespace vx {

// Counters shown on the status line. bf_erros stops at its 16-bit ceiling
// instead of turning negative after hours of a bad line.
struct LinkStats
{
    double n_tramas = 0;
    int16_t bf_erros = 0;
    int16_t to_erros = 0;

    // Totals for the whole run, never reset: what went wrong, for the
    // command-line tool's messages, logs and benches. The status line keeps
    // showing the three counters above.
    quint64 timeoutsTotal = 0;
    quint64 rejectedTotal = 0;
    // Replies taken off the line as the late answer to an earlier request.
    quint64 lateReplies = 0;
    // Replies accepted as the answer to the request that was waiting.
    quint64 acceptedTotal = 0;
    // Requests written to the port.
    quint64 sentTotal = 0;
    // Since the last accepted reply (or the start): what the link has been
    // getting instead, to tell a silent line from a wrong device.
    quint64 timeoutsSinceAccepted = 0;
    quint64 rejectedSinceAccepted = 0;
    // The last attempt could not even be written: no port, or an adapter gone.
    bool lastAttemptUnsent = false;

    void countBadFrame()
    {
        if (bf_erros < INT16_MAX) ++bf_erros;
    }
};

// The three panels of the status line.
QString countersPanel(const LinkStats &s);
QString makerPanel(const QDate &today);
QString clockPanel(const QTime &now);

} // namespace vx
