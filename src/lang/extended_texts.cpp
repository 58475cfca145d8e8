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
    {2500, "Data folder :"},
    {2000, "The updater %1 cannot be started: %2"},
    {2001, "the file does not exist"},
    {2002, "the file is not executable"},
    {2003, "it is a folder, not a program"},
    {2004, "the reason is not known"},
    {2005, "Updater running: %1 s"},
    {2006, "Updater finished: exit code 0"},
    {2007, "Updater finished with exit code %1"},
    {2008, "Updater ended by signal %1"},
    {2009, "Updater ended; its exit code is not known"},
    {2010, "Updater still running after %1 s; no longer waiting"},
    {2300, "Tools"},
    {2301, "Import group addresses…"},
    {2302, "Import CSV…"},
    {2303, "Export CSV…"},
    {2304, "Import group addresses"},
    {2305, "Import"},
    {2306, "Cancel"},
    {2307, "Source address"},
    {2308, "Start position"},
    {2309, "Name"},
    {2310, "Address"},
    {2311, "Datapoint type"},
    {2312, "Position"},
    {2313, "Bit Mode"},
    {2314, "Length"},
    {2315, "Status"},
    {2316, "Line"},
    {2317, "new"},
    {2318, "duplicate: already in row %1 of the table"},
    {2319, "duplicate: already on line %1 of the file"},
    {2320, "skipped: not a group address"},
    {2321, "skipped: not a valid group address"},
    {2322, "skipped: no address"},
    {2323, "no datapoint type: check its length"},
    {2324, "variable length: check its length"},
    {2325, "datapoint types disagree: check its length"},
    {2326, "Line %1: a quote is left open"},
    {2327, "Line %1: the text holds a NUL character"},
    {2328, "Line %1: the file is not a group-address export (CSV with one or three name columns, or XML)"},
    {2329, "Line %1: not well-formed XML (%2)"},
    {2330, "Line %1: the column %2 is missing"},
    {2331, "Line %1: the table holds at most 512 rows; the file has %2"},
    {2332, "Line %1: %2 would end past byte %3; nothing is imported"},
    {2333, "%1 imported, %2 skipped"},
    {2334, "CSV files (*.csv);;All files (*)"},
    {2335, "Group-address exports (*.csv *.xml);;All files (*)"},
    {2336, "The imported rows do not fit: the table holds at most %1 rows"},
    {2337, "%1 addresses in the file: %2 to import, %3 duplicates or skipped"},
    {2338, "Import group addresses: %1 rows"},
    {2339, "The file cannot be read: %2"},
    {2340, "Import CSV: %1 rows"},
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
