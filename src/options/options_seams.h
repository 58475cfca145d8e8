#pragma once
// What the options dialog reaches outside the program: the version query, the
// browser and the language loader. The configurator uses the defaults; tests
// replace them.

#include "base/program_state.h"

#include <QUrl>
#include <functional>

namespace lw {

struct Options_Seams {
    // True when a newer configurator is available. Default: the query to the maker.
    std::function<bool()> Check_Version;
    // Target of the update links.
    QString Download_Link;
    // Opens an address in the desktop's browser. Default: the desktop's service.
    std::function<void(const QUrl&)> Open_Url;
    // Rebuilds the language table for Language_Name. Default: Load_Language.
    std::function<void(ProgramState&)> Load_Language;
};

// Fills every seam left empty with its default.
Options_Seams With_Defaults(Options_Seams seams);

} // namespace lw
