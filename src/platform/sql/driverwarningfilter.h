#pragma once

#include <QtGlobal>

namespace vx {

// While one is alive, what Qt's SQL drivers say on their own ("Unable to
// free statement: ...", "QSqlQuery::exec: database not open") goes nowhere:
// each failure reaches the technician once, as the records' own sentence,
// and the driver's words for it come from its error, inside that sentence.
// Only the thread that made it and only Qt's untagged warnings and debug
// lines are held back; any other message goes to the handler that was there
// before. Nests: the outermost one puts that handler back.
class DriverWarningFilter
{
public:
    DriverWarningFilter();
    ~DriverWarningFilter();
    DriverWarningFilter(const DriverWarningFilter &) = delete;
    DriverWarningFilter &operator=(const DriverWarningFilter &) = delete;

private:
    bool m_active = false; // false on a thread other than the filtered one
};

} // namespace vx
