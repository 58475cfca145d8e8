#pragma once
// What the main window and the options dialog reach outside the program: the
// version query, the browser, the image compiler and the update timer's
// intervals. The configurator uses the defaults; tests replace them.

#include "shell/program_state.h"

#include <QUrl>
#include <functional>

namespace lw {

struct Shell_Seams {
    // True when a newer configurator is available. Default: never.
    std::function<bool()> Check_Version;
    // Target of the update links.
    QString Download_Link;
    // Opens an address in the desktop's browser. Default: the desktop's service.
    std::function<void(const QUrl&)> Open_Url;
    // Compiles the active configuration and writes bin/bank.bin; empty text on
    // success, else the message to show. Default: Compile_And_Save_Image.
    std::function<QString(const ProgramState&)> Compile_Image;
    // Rebuilds the language table for Language_Name. Default: Load_Language.
    std::function<void(ProgramState&)> Load_Language;
    // Update timer: first event after First_Interval_Ms, then every Later_Interval_Ms.
    int First_Interval_Ms = 60000;
    int Later_Interval_Ms = 7200000;
};

// Fills every seam left empty with its default.
Shell_Seams With_Defaults(Shell_Seams seams);

} // namespace lw
