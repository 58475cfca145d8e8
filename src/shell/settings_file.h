#pragma once
// The settings file Loomwright.xml beside the executable: the last
// configuration, the last converter address, the language and the two
// internet permissions.

#include "base/program_state.h"

namespace lw {

QString Settings_Path(const ProgramState& state);

// Largest settings file read; a larger one gives the defaults. A real file is
// below 1 KB; the limit keeps the peak memory of the reader below 256 MB for
// a file of the worst shape (elements of four bytes).
inline constexpr qint64 Settings_File_Limit = qint64(4) << 20;

// Reads the five settings; each value has its own default, also when the file
// is missing or not well-formed XML.
void Read_Setting(ProgramState& state);

// Writes the file whole from the program state. Returns an empty text on
// success, else the reason (the old file is then left untouched).
QString Save_Setting(const ProgramState& state);

} // namespace lw
