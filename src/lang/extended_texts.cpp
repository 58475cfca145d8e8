#include "lang/language_table.h"

#include <iterator>

namespace lw {

namespace {

// English defaults of this program's own texts (entries 2000 to 2999). One
// entry a line, so that features added side by side merge without touching
// each other's lines. Each block of a hundred belongs to one area:
//   2000-2099 windows and dialogs      2100-2199 files and hardening
//   2200-2299 the command grid          2300-2399 group-address and CSV exchange
//   2400-2499 memory map and report     2500-2599 installation and data folder
//   2600-2999 free
const Extended_Default Defaults[] = {
    {2400, "Memory Map"},
    {2401, "Report…"},
    {2402, "Bytes used: %1"},
    {2403, "Bytes free: %1"},
    {2404, "Largest free run: %1 bytes (%2-%3)"},
    {2405, "Overlaps: %1"},
    {2406, "Shared range (same bits, several destinations)"},
    {2407, "Overlap (rows read each other's bits)"},
    {2408, "Free byte"},
    {2409, "Bit mode: slices of a byte"},
    {2410, "Byte %1"},
    {2411, "Row %1  %2  %3"},
    {2412, "bits %1-%2"},
    {2413, "bytes %1-%2"},
    {2414, "No row uses this byte"},
    {2415, "Overlap: rows %1 and %2, %3"},
    {2416, "Shared: rows %1, %2"},
    {2417, "Not placed: row %1: %2"},
    {2418, "Click a byte to select its row in the grid."},
    {2419, "No overlaps."},
    {2420, "Commissioning report"},
    {2421, "Project"},
    {2422, "Date and time"},
    {2423, "Program version"},
    {2424, "Communication settings"},
    {2425, "KNX address"},
    {2426, "IP address"},
    {2427, "Subnet mask"},
    {2428, "Gateway"},
    {2429, "not used"},
    {2430, "Station name"},
    {2431, "Command table"},
    {2432, "KNX type"},
    {2433, "Data check"},
    {2434, "The data check passed."},
    {2435, "Device image"},
    {2436, "Size: %1 bytes"},
    {2437, "Commands: %1"},
    {2438, "Checksum: %1"},
    {2439, "Page %1 of %2"},
    {2440, "Warnings"},
    {2441, "Save report"},
    {2442, "PDF document (*.pdf)"},
    {2443, "HTML page (*.html)"},
    {2444, "The report was written to %1"},
    {2445, "The device image is not built while the data check fails."},
    {2446, "No command rows."},
    {2999, " "},
};

} // namespace

std::span<const Extended_Default> Extended_Defaults()
{
    return {std::begin(Defaults), std::end(Defaults)};
}

} // namespace lw
