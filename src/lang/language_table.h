#pragma once
// The table of every translatable text: 1200 entries addressed by index.

#include "base/program_state.h"

#include <span>

namespace lw {

inline constexpr int Lang_Table_Size = 1200;

// This program's own texts: entries 2000 to 2999, set by the same language
// files. Lines for 1200 to 1999 and from 3000 up stay skipped.
inline constexpr int Lang_Extended_First = 2000;
inline constexpr int Lang_Extended_Size = 1000;

// True for an index of the extended range.
constexpr bool Is_Extended_Index(int index)
{
    return index >= Lang_Extended_First && index < Lang_Extended_First + Lang_Extended_Size;
}

// One English default of the extended range.
struct Extended_Default {
    int index;
    const char* text; // UTF-8
};

// The English defaults of the extended range as written in the code, in the
// order they are listed; entries without a default hold a single blank.
std::span<const Extended_Default> Extended_Defaults();

// The 1000 English defaults of entries 2000 to 2999 in index order.
const QStringList& Default_Extended_Texts();

// The 1200 English default texts in index order.
const QStringList& Default_Texts();

// Empties the table, appends the 1200 defaults and sets Lang_Count to 1200;
// the extended range gets its English defaults.
void Set_Default_Texts(ProgramState& state);

} // namespace lw
