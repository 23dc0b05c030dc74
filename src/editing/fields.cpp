#include "fields.h"

namespace vx {

int indiceCampo(std::string_view nome)
{
    for (size_t i = 0; i < kCampos.size(); ++i)
        if (kCampos[i].nome == nome) return static_cast<int>(i);
    return -1;
}

} // namespace vx
