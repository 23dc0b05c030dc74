#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace vx {

// Counters shown on the status line. bf_erros stops at its 16-bit ceiling
// instead of turning negative after hours of a bad line.
struct LinkStats
{
    double n_tramas = 0;
    int16_t bf_erros = 0;
    int16_t to_erros = 0;

    void contarErroBf()
    {
        if (bf_erros < INT16_MAX) ++bf_erros;
    }
};

// The three panels of the status line.
QString painelContadores(const LinkStats &s);
QString painelFabricante(const QDate &hoje);
QString painelHora(const QTime &agora);

} // namespace vx
