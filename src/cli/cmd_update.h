#pragma once
// loomwright-cli update: the road of Update Device from a terminal. Each step
// that reaches outside (compiler, echo client, clock, runner limit) can be
// replaced, so that tests drive the command without a converter.

#include "base/program_state.h"
#include "cli/cli_io.h"
#include "platform/echo_client.h"
#include "platform/process_runner.h"
#include "update/ping_test.h"

#include <functional>
#include <memory>

namespace lw::cli {

struct Update_Road {
    QString Dir_App;  // where NetLoader.xml is written and NetLoader.exe is started
    std::function<QString(const ProgramState&, QString*)> Compile;
    std::function<std::unique_ptr<Echo_Client>()> Make_Echo_Client;
    Ping_Clock* Clock = nullptr;  // null: the system clock
    Runner_Settings Runner;
};

// The real road: the data folder in use (beside the tool, or the user's data
// folder), the image compiler, the system's echo client and clock, the
// runner's full limit.
Update_Road Default_Update_Road();

// Exit codes: 0 the updater ended with exit code 0; 1 a data check or the
// compile stopped; 2 a usage error or an address that Valid_IP refuses; 3 the
// ping test failed; 4 the updater was not started (or the job file could not
// be written), was still running at the limit, or ended in a way not known;
// 5 the updater ended with another exit code or was ended by a signal (the
// code or the signal is printed on stderr).
int Run_Update(const QStringList& args, CliIO& io, const Update_Road& road);

} // namespace lw::cli
