#include "calendar.h"

#include <QDate>

namespace vx {

uint8_t dias_do_mes(int mes, int aa)
{
    switch (mes) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return aa % 4 == 0 ? 29 : 28;
    default:
        return 0;
    }
}

uint8_t semana_do_ano(int dia, int mes, int ano)
{
    if (mes < 1 || mes > 12 || dia < 1 || dia > dias_do_mes(mes, ano - 2000)) return 0;
    const QDate first(ano, 1, 1);
    if (!first.isValid()) return 0;

    int d = dia;
    for (int m = 1; m < mes; ++m)
        d += dias_do_mes(m, ano - 2000);

    // Sunday = 1 .. Saturday = 7 (QDate counts Monday = 1 .. Sunday = 7).
    int f = first.dayOfWeek() % 7 + 1;
    int week = f == 7 ? 0 : 1;
    // A new week starts on the day after every Saturday.
    for (int j = 1; j < d; ++j) {
        if (f == 7) {
            ++week;
            f = 0;
        }
        ++f;
    }
    return static_cast<uint8_t>(week);
}

} // namespace vx
