#pragma once
// The settings file Loomwright.xml beside the executable: the last
// configuration, the last converter address, the language and the two
// internet permissions.

#include "base/program_state.h"

namespace lw {

QString Settings_Path(const ProgramState& state);

// Reads the five settings; each value has its own default, also when the file
// is missing or not well-formed XML.
void Read_Setting(ProgramState& state);

// Writes the file whole from the program state. Returns an empty text on
// success, else the reason (the old file is then left untouched).
QString Save_Setting(const ProgramState& state);

} // namespace lw
