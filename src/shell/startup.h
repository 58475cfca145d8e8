#pragma once
// The start-up of the configurator without its window: the tests run the same
// sequence the main window runs when it is created.

#include "base/program_state.h"

#include <functional>

namespace lw {

// Dir_Project from Name_Project when its folder exists (and the name stays
// inside PROJECTS); else no configuration is active. Sets the file paths.
// Returns true when a configuration is active afterwards.
bool Restore_Configuration(ProgramState& state);

// The start-up steps that need no window, in their order: folders, settings,
// product texts, language, configuration, file paths, copied-row buffer.
// dirApp replaces the executable's folder (tests run against a temporary one);
// loadLanguage replaces Load_Language when given.
void Run_Startup(ProgramState& state, const QString& dirApp,
                 const std::function<void(ProgramState&)>& loadLanguage = {});

} // namespace lw
