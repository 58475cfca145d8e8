// Windows: the system's own tick count, milliseconds since the start, which
// wraps after 49.7 days.

#include "platform/os/process.h"

#include <windows.h>

namespace lw::os {

std::uint32_t Tick_Count_Ms()
{
    return std::uint32_t(GetTickCount());
}

} // namespace lw::os
