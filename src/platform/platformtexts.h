#pragma once

#include "text.h"

#include <array>

namespace vx {

// Every text table of the platform adapters, for the completeness check.
inline constexpr std::array<TextTable, 0> kPlatformTextTables{};

} // namespace vx
