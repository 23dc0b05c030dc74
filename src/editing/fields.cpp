#include "fields.h"

namespace vx {

int fieldIndex(std::string_view name)
{
    for (size_t i = 0; i < kFields.size(); ++i)
        if (kFields[i].name == name) return static_cast<int>(i);
    return -1;
}

} // namespace vx
