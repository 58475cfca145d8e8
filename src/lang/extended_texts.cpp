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
    {2200, "Row %1 has no Source Add: the table ends there and the filled rows below it would be lost. Fill in its Source Add or delete the row."},
    {2201, "Row 512 is not empty: inserting a row discards it. Insert the row?"},
    {2202, "The pasted block does not fit in the table: only %1 of its %2 rows and %3 of its %4 columns were pasted (the table ends at row 512 and column 16)."},
    {2203, "This destination is also used by the enabled rows "},
    {2204, "Find:"},
    {2205, "Matching rows only"},
    {2206, "Previous match (Shift+F3)"},
    {2207, "Next match (F3)"},
    {2208, "Close the find bar (Escape)"},
    {2209, "No match"},
    {2210, "This row lies after the end of the table (row %1 has no Source Add) and is not saved."},
    {2211, "%1 matching cells"},
    {2999, " "},
};

} // namespace

std::span<const Extended_Default> Extended_Defaults()
{
    return {std::begin(Defaults), std::end(Defaults)};
}

} // namespace lw
