#pragma once
// The data checks a project passes before it is compiled: the checks the two
// editors run on OK, exactly as the check command runs them, and the same
// tests on every further row the compile takes.

#include "base/check_result.h"
#include "base/program_state.h"

#include <QString>

namespace lw::image {

enum class Check_Stop {
    None,   // the project passed
    File,   // a file exists but cannot be read
    Check,  // a data check failed
};

struct Project_Check {
    Check_Stop Stop = Check_Stop::None;
    Check_Result Result;     // the failing test when Stop is Check
    QString Message;         // the reason or the check's message; empty when the project passed
    bool ParGen_Not_Rooted = false;  // ParGen.xml read as defaults: its first node is not the root
    bool Ok() const { return Stop == Check_Stop::None; }
};

// Loads File_ParGen and runs Controllo_Dati, then reads File_KNX_Access into
// a fresh table and runs Controllo_dati; with compiledRows, then
// Check_Compiled_Rows on the file. Stops at the first failure; the message is
// built from the state's language table (Check_Message), from the built-in
// texts when the state has none.
Project_Check Check_Project(const ProgramState& state, bool compiledRows = true);

} // namespace lw::image
