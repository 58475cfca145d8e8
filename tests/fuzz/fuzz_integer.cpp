// The integer reading and stripping: no crash, and an accepted text's value
// reads back from its own decimal form.
#include "base/text_rules.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const std::optional<int> v = lw::Read_Integer(text)) {
        if (lw::Read_Integer(QString::number(*v)) != v)
            std::abort();
    }
    const QString stripped = lw::Strip(text);
    if (!stripped.isEmpty() && (stripped.front().unicode() <= 32 || stripped.back().unicode() <= 32))
        std::abort();
    return 0;
}
