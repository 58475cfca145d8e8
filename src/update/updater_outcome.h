#pragma once
// What the update dialog tells about the updater: why it could not be
// started, that it is running, and how it ended.

#include "platform/process_runner.h"
#include "base/program_state.h"

namespace lw {

// The updater at path was not started: entry 2000 with the path and the
// reason, which is entry 2001 (missing), 2003 (a folder) or 2002 (not
// executable) as the file is now, else systemReason, else entry 2004.
QString Updater_Not_Started_Text(const ProgramState& state, const QString& path, const QString& systemReason);

// Entry 2005 with the whole seconds elapsed.
QString Updater_Running_Text(const ProgramState& state, quint32 elapsedMs);

struct Updater_Outcome {
    QString Text;
    bool Success = false;  // ended with exit code 0
};

// How a started updater ended: exit code 0 (2006), another code (2007), a
// signal (2008), an unknown way (2009), or still running when the wait ended
// (2010 with the seconds waited). Meaningless for a run that did not start.
Updater_Outcome Updater_Outcome_Of(const ProgramState& state, const Run_Result& run);

} // namespace lw
