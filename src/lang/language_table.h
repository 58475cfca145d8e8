#pragma once
// The table of every translatable text: 1200 entries addressed by index.

#include "shell/program_state.h"

namespace lw {

inline constexpr int Lang_Table_Size = 1200;

// The 1200 English default texts in index order.
const QStringList& Default_Texts();

// Empties the table, appends the 1200 defaults and sets Lang_Count to 1200.
void Set_Default_Texts(ProgramState& state);

} // namespace lw
