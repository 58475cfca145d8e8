// Group-address exports as CSV with three name columns (ranges and addresses).
#include "fuzz_ga_export.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return lw::fuzz::Read_And_Import("Main\tMiddle\tSub\tAddress\tCentral\tUnfiltered\tDescription\tDatapointType\tSecurity\n",
                                     data, size);
}
