// Valid_IP: any text; an accepted address has four octets 0 to 255 that join
// back to an address Valid_IP accepts again.
#include "base/text_rules.h"
#include "update/valid_ip.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString a, b, c, d;
    if (!lw::Valid_IP(text, a, b, c, d))
        return 0;
    for (const QString& octet : {a, b, c, d}) {
        const int v = lw::Read_Integer_Or(octet, -1);
        if (v < 0 || v > 255)
            std::abort();
    }
    QString a2, b2, c2, d2;
    if (!lw::Valid_IP(a + u'.' + b + u'.' + c + u'.' + d, a2, b2, c2, d2) || a2 != a || d2 != d)
        std::abort();
    return 0;
}
