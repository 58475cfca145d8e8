// The version check's handling of a reply: any body, no crash; a reply that
// announces a newer version is never the sentinel and reads as a version
// above ours.
#include "base/program_state.h"
#include "base/text_rules.h"
#include "options/version_check.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString reply = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    lw::Conv_Version(reply);
    if (lw::Is_Newer_Version_Reply(reply)) {
        const QString stripped = lw::Strip(reply);
        if (stripped.toUpper() == lw::No_Update_Sentinel
            || lw::Conv_Version(stripped) <= lw::Conv_Version(QLatin1String(lw::SW_Version)))
            std::abort();
    }
    return 0;
}
