#include "platform/os/process.h"

namespace lw::os {

std::uint32_t Tick_Count_Ms()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::uint32_t(std::uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

} // namespace lw::os
