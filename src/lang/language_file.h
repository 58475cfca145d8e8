#pragma once
// Language files: LANGUAGE/<name>.lng, lines "STR<index> =<text>" that replace
// entries of the language table.

#include "shell/program_state.h"

namespace lw {

// Rebuilds the table from the defaults and applies the file of Language_Name,
// falling back to English.lng (Language_Name then becomes "English").
void Load_Language(ProgramState& state);

// Reads one file and replaces the entries it names (0 <= index < langCount).
// A file that cannot be read leaves the table unchanged.
void Read_Language_File(const QString& path, QStringList& table, int langCount);

} // namespace lw
