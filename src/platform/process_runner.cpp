#include "platform/process_runner.h"

#include "platform/native_text.h"

#include <QProcess>

namespace lw {

Run_Result Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo, const Runner_Settings& settings)
{
    os::Run_Settings native;
    native.Limit_Ms = settings.Limit_Ms;
    if (settings.Tick)
        native.Tick = settings.Tick;
    native.Event_Name = To_Native(settings.Event_Name);
    native.Waiting = settings.Waiting;
    std::vector<std::string> arguments;
    for (const QString& a : QProcess::splitCommand(Parameter))
        arguments.push_back(Native_Argument(a));

    const os::Run_Result r = os::Run_Program(Native_Path(NomeSW), arguments, tipo, native);
    Run_Result result;
    result.Outcome = r.Outcome;
    result.Exit = r.Exit;
    result.Error = From_Native(r.Error);
    result.Pid = r.Pid;
    result.Elapsed_Ms = r.Elapsed_Ms;
    result.Pauses = r.Pauses;
    result.Signalled_Pauses = r.Signalled_Pauses;
    result.Event_Error = From_Native(r.Event_Error);
    return result;
}

} // namespace lw
