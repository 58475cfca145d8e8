#include "platform/tick_count.h"

#include <chrono>

namespace lw {

quint32 Tick_Count_Ms()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return quint32(quint64(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

} // namespace lw
