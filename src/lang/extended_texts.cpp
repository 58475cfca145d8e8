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
    {2999, " "},
};

} // namespace

std::span<const Extended_Default> Extended_Defaults()
{
    return {std::begin(Defaults), std::end(Defaults)};
}

} // namespace lw
