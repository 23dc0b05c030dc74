#include "programend.h"

#include <cstdio>
#include <unistd.h>

namespace vx {

void ProcessExit::doEnd()
{
    // The program ends where it stands, with waits still on the stack; running
    // destructors under a nested event loop would be unsafe and is not wanted.
    if (m_beforeExit) m_beforeExit();
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(0);
}

} // namespace vx
