#pragma once
// What the update dialog reaches outside the program: the echo client and the
// clock of its connection test, and the program runner that starts the
// updater. The configurator uses the defaults; tests replace them.

#include "platform/echo_client.h"
#include "platform/process_runner.h"
#include "update/ping_test.h"

#include <QString>
#include <functional>
#include <memory>

namespace lw {

struct Update_Seams {
    // The echo client of the connection test, made once per dialog. Default:
    // the system's ICMP echo client.
    std::function<std::unique_ptr<Echo_Client>()> Make_Echo_Client;
    // The clock of the connection test. Default: the system clock.
    std::shared_ptr<Ping_Clock> Clock;
    // Starts a program and waits for its end (NomeSW, Parameter, tipo),
    // calling the last argument, when not empty, after every pause of the wait.
    // Default: Start_Program with the runner's full limit.
    std::function<Run_Result(const QString&, const QString&, bool, const Run_Waiting&)> Start_Program;
};

// Fills every seam left empty with its default.
Update_Seams With_Defaults(Update_Seams seams);

} // namespace lw
