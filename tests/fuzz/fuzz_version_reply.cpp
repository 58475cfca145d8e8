// The version check's handling of a reply: any body, no crash; a reply that
// announces a newer version reads as a version above ours.
#include "options/version_check.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString reply = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const int version = lw::Conv_Version(reply);
    if (version < -1)
        std::abort();
    if (lw::Is_Newer_Version_Reply(reply) && lw::Conv_Version(reply.trimmed()) <= 1002 && version <= 1002)
        std::abort();
    return 0;
}
