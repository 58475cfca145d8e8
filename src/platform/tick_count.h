#pragma once
// A millisecond tick counter that wraps at 2^32, like the home platform's.
// Callers measure spans with an unsigned difference, which stays right across
// a wrap.

#include "platform/os/process.h"

#include <QtGlobal>

namespace lw {

// Milliseconds of a monotonic clock, truncated to 32 bits.
inline quint32 Tick_Count_Ms()
{
    return os::Tick_Count_Ms();
}

} // namespace lw
