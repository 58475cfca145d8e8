#pragma once
// What the main window and its dialogs reach outside the program: the seams of
// the options dialog (version query, browser, language loader) and of the
// update dialog (echo client, clock, program runner), plus the image compiler
// and the update timer's intervals. The configurator uses the defaults; tests
// replace them. The main window hands each dialog its own part.

#include "base/program_state.h"
#include "options/options_seams.h"
#include "update/update_seams.h"

#include <functional>

namespace lw {

struct Shell_Seams : Options_Seams, Update_Seams {
    // Compiles the active configuration and writes bin/bank.bin; empty text on
    // success, else the message to show. Default: Compile_And_Save_Image.
    std::function<QString(const ProgramState&)> Compile_Image;
    // Update timer: first event after First_Interval_Ms, then every Later_Interval_Ms.
    int First_Interval_Ms = 60000;
    int Later_Interval_Ms = 7200000;
};

// Fills every seam left empty with its default.
Shell_Seams With_Defaults(Shell_Seams seams);

} // namespace lw
