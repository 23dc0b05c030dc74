#pragma once

#include <QString>

namespace vx {

// The file in which a user's own choices are kept (the port, the records),
// ~/.config/vx308/vx308-maint.ini on Linux: one per user, whatever folder a
// program is started from, read by the window and vx308ctl alike.
QString userSettingsFile();

} // namespace vx
