#pragma once
// What Update Device runs before the update dialog opens: the compile of the
// active configuration and the write of its bin/bank.bin.

#include "shell/program_state.h"

namespace lw {

// Compiles File_ParGen and File_KNX_Access of the active configuration and
// writes Dir_Project/bin/bank.bin. Returns an empty text on success, else the
// message to show (the old bank.bin is then left as it was). On success,
// summary (when given) receives a one-line description of the image.
QString Compile_And_Save_Image(const ProgramState& state, QString* summary = nullptr);

} // namespace lw
