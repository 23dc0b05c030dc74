#pragma once

#include <cstdint>

namespace vx {

// Days of month `mes` (1..12) of the year 2000 + `aa`. February has 29 days
// whenever `aa` is a multiple of 4: the device counts years 2000..2255 and
// knows no century rule, and the tool keeps to the device's calendar.
// Returns 0 for a month outside 1..12.
uint8_t dias_do_mes(int mes, int aa);

// Week of the year of a date, weeks running Sunday to Saturday. The week
// holding 1 January is week 1, except that a Saturday 1 January is week 0 on
// its own and week 1 starts on the 2nd. Day-of-year counting uses
// dias_do_mes, so it follows the device's calendar too; the weekday of
// 1 January is the real one. Range 0..53; 0 for a day or month out of range.
uint8_t semana_do_ano(int dia, int mes, int ano);

} // namespace vx
