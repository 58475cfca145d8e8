// Group-address exports as XML, and any bytes at all (the format is told from
// the content, so the raw input reaches every reader).
#include "fuzz_ga_export.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0 && data[0] == 'R')
        return lw::fuzz::Read_And_Import("", data + 1, size - 1);
    return lw::fuzz::Read_And_Import("<GroupAddress-Export xmlns=\"http://knx.org/xml/ga-export/01\">", data, size);
}
