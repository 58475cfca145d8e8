// KNX address texts: the check never crashes and agrees with the kind test.
#include "knx_access/knx_address.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool group = lw::Is_Group_Address(text);
    const int asGroup = lw::Check_KNX_Address(text, true, true);
    const int asIndividual = lw::Check_KNX_Address(text, false, false);
    // A text with a point is never a valid group address.
    if (!group && asGroup == 0)
        std::abort();
    // Refusing the all-zero address can only make the individual check stricter.
    if (asIndividual == 0 && lw::Check_KNX_Address(text, false, true) != 0)
        std::abort();
    return 0;
}
