#pragma once
// What the main window and its dialogs reach outside the program: the version
// query, the browser, the image compiler, the update timer's intervals, and the
// update dialog's echo client, clock and program runner. The configurator uses
// the defaults; tests replace them.

#include "platform/echo_client.h"
#include "platform/ping_test.h"
#include "platform/process_runner.h"
#include "shell/program_state.h"

#include <QUrl>
#include <functional>
#include <memory>

namespace lw {

struct Shell_Seams {
    // True when a newer configurator is available. Default: the query to the maker.
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
    // The echo client of the update dialog's connection test, made once per
    // dialog. Default: the system's ICMP echo client.
    std::function<std::unique_ptr<Echo_Client>()> Make_Echo_Client;
    // The clock of the connection test. Default: the system clock.
    std::shared_ptr<Ping_Clock> Clock;
    // Starts a program and waits for its end (NomeSW, Parameter, tipo),
    // calling the last argument, when not empty, after every pause of the wait.
    // Default: Start_Program with the runner's full limit.
    std::function<Run_Result(const QString&, const QString&, bool, const Run_Waiting&)> Start_Program;
};

// Fills every seam left empty with its default.
Shell_Seams With_Defaults(Shell_Seams seams);

} // namespace lw
