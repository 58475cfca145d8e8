// Group-address exports as CSV with one name column: any bytes after the
// header give entries or a fault of the file, never both; the entries are
// planned and applied to a table without harm.
#include "fuzz_ga_export.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return lw::fuzz::Read_And_Import(
        "\"Group name\";\"Address\";\"Central\";\"Unfiltered\";\"Description\";\"DatapointType\";\"Security\"\r\n",
        data, size);
}
